// Installer benchmark, run under the same Wine as the tests:
//   1. start-up to window shown, the installer beside a bare window program,
//      interleaved, medians of several runs, as a ratio;
//   2. Install click to "退出并启动" (the whole write + extract + progress);
//   3. the installer's peak private memory against the archive size: the
//      payload is read in place from the image, never copied to the heap.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "payload/embedded_data.h"
#include "tests/e2e/driver.h"
#include "tests/support/temp_folder.h"

using namespace pelmora::e2e;

namespace {

double nowMs() {
    LARGE_INTEGER f, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double peakPrivateMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters.PeakPagefileUsage / 1048576.0;
}

// The image size the loader maps for an executable (SizeOfImage).
double imageMb(const std::wstring& program) {
    std::string bytes;
    pelmora::testing::readFileBytes(program, &bytes);
    if (bytes.size() < 0x40) return 0;
    const DWORD pe = *reinterpret_cast<const DWORD*>(bytes.data() + 0x3C);
    return *reinterpret_cast<const DWORD*>(bytes.data() + pe + 24 + 56) / 1048576.0;
}

double barePrivateMb = 0;

// Milliseconds from CreateProcess to the window with `title` being visible.
double startUp(const std::wstring& program, const std::wstring& title) {
    const double start = nowMs();
    Installer run(L"", program, title);
    const double shown = nowMs();
    if (!run.window()) return -1;
    if (program.find(L"bare_window") != std::wstring::npos) barePrivateMb = peakPrivateMb(run.process());
    ::PostMessageW(run.window(), WM_CLOSE, 0, 0);
    run.waitExit();
    return shown - start;
}

}  // namespace

int main() {
    const std::wstring bare = buildDir() + L"\\bench\\installer\\bare_window.exe";
    const int runs = 7;
    std::vector<double> installer, baseline;
    for (int i = 0; i < runs; ++i) {
        baseline.push_back(startUp(bare, L"bare window"));
        installer.push_back(startUp(installerPath(), kWindowTitle));
    }
    const double mi = median(installer), mb = median(baseline);
    std::printf("start-up to window: installer %.1f ms, bare window %.1f ms, ratio %.2f (median of %d)\n", mi, mb,
                mi / mb, runs);

    pelmora::testing::TempFolder dir(L"pelmora bench");
    Installer run;
    if (!run.window()) return 1;
    ::SetWindowTextW(run.unit(16), dir.path().c_str());  // the folder, as if chosen in the dialog
    ::SendMessageW(run.unit(11), BM_CLICK, 0, 0);
    const double start = nowMs();
    ::PostMessageW(run.unit(15), BM_CLICK, 0, 0);
    const bool done = waitFor([&] { return textOf(run.unit(2)) == L"退出并启动"; }, 120000);
    const double installMs = nowMs() - start;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(run.process(), &counters, sizeof counters);
    ::PostMessageW(run.window(), WM_CLOSE, 0, 0);
    run.waitExit();
    if (!done) return 1;

    WIN32_FILE_ATTRIBUTE_DATA archive{};
    ::GetFileAttributesExW((buildDir() + L"\\resources\\payload.zip").c_str(), GetFileExInfoStandard, &archive);
    const double archiveMb = archive.nFileSizeLow / 1048576.0;
    std::printf("install click to finished: %.0f ms (installer start-up %.1f ms)\n", installMs, mi);
    // What the installer needs beyond a bare window program, against the
    // archive: a copy of the payload on the heap would push this past 1.
    const double privateMb = counters.PeakPagefileUsage / 1048576.0;
    std::printf("peak private memory %.1f MB (bare window %.1f MB; image %.1f MB mapped from the file), "
                "peak working set %.1f MB\n",
                privateMb, barePrivateMb, imageMb(installerPath()), counters.PeakWorkingSetSize / 1048576.0);
    std::printf("archive %.1f MB; private memory beyond the bare window: %.1f MB, %.2f of the archive\n", archiveMb,
                privateMb - barePrivateMb, (privateMb - barePrivateMb) / archiveMb);

    // The start-up integrity check, in this process over the same archive.
    std::vector<double> checks;
    bool intact = true;
    for (int i = 0; i < runs; ++i) {
        const double t = nowMs();
        intact = pelmora::payloadArchiveIntact() && intact;
        checks.push_back(nowMs() - t);
    }
    std::printf("archive checksum at start-up: %.1f ms (%s), %.2f of the installer's start-up\n", median(checks),
                intact ? "intact" : "DAMAGED", median(checks) / mi);
    return 0;
}
