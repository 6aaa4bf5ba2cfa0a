// Installer benchmark, run under the same Wine as the tests. Every figure is
// a ratio against a baseline measured in the same run:
//   1. start-up to a visible window, and the working set and private memory
//      once the window is idle, against a bare Win32 window (interleaved,
//      medians); for reference also a bare window that imports the
//      installer's DLLs and carries its payload, which no installer can beat;
//   2. click on "开始安装" to "退出并启动" (write, extract, progress steps),
//      against the bare work of it as a whole process (bare_extract.cpp);
//   3. the start-up payload check, read from the file, against a CRC-32 over
//      the same bytes where the image maps them.
//
//   installer_bench [RUNS]
//
// With PELMORA_BENCH_BASELINE set to another build of the installer (a Unix
// path), that build runs in the same rotation and every installer figure is
// also given as a ratio against it.
#include <windows.h>
// after windows.h
#include <psapi.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/bench_support.h"
#include "payload/embedded_data.h"

using namespace pelmora::bench;

namespace {

// After the window shows and the process waits for input, a little longer
// for anything the first paint set going.
constexpr DWORD kSettleMs = 500;

constexpr double kMiB = 1048576.0;

struct Launch {
    double visibleMs = -1;
    double workingSetMiB = 0;
    double privateMiB = 0;
};

// From CreateProcess to the window with `title` being visible; then the
// memory of the idle process.
Launch launch(const std::wstring& program, const std::wstring& title) {
    Launch result;
    const double start = nowMs();
    Launched run(program, title);
    const double shown = nowMs();
    if (!run.window()) return result;
    result.visibleMs = shown - start;
    ::WaitForInputIdle(run.process(), 5000);
    ::Sleep(kSettleMs);
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(run.process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    result.workingSetMiB = counters.WorkingSetSize / kMiB;
    // Wine reports PrivateUsage as 0; its PagefileUsage is the resident
    // anonymous memory, which is what private memory means here.
    result.privateMiB = counters.PagefileUsage / kMiB;
    ::PostMessageW(run.window(), WM_CLOSE, 0, 0);
    run.waitExit();
    return result;
}

struct Series {
    const wchar_t* title;
    std::wstring program;
    const char* label;
    std::vector<double> visible, workingSet, privateMemory;
    void add(const Launch& l) {
        visible.push_back(l.visibleMs);
        workingSet.push_back(l.workingSetMiB);
        privateMemory.push_back(l.privateMiB);
    }
};

// A Unix path as Wine's Z: drive shows it.
std::wstring wineZPath(const char* path) {
    std::wstring result = L"Z:";
    for (const char* p = path; *p; ++p) result += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return result;
}

// Milliseconds from the click on "开始安装" to "退出并启动".
double installOnce(const std::wstring& program, const std::wstring& folder) {
    Launched run(program, kInstallerTitle);
    if (!run.window()) return -1;
    ::SetWindowTextW(run.unit(16), folder.c_str());  // the folder, as if chosen in the dialog
    ::SendMessageW(run.unit(11), BM_CLICK, 0, 0);    // the agreement
    const double start = nowMs();
    ::PostMessageW(run.unit(15), BM_CLICK, 0, 0);
    const bool done = waitFor([&] { return windowText(run.unit(2)) == L"退出并启动"; }, 120000);
    const double ms = nowMs() - start;
    ::PostMessageW(run.window(), WM_CLOSE, 0, 0);
    run.waitExit();
    return done ? ms : -1;
}

// Milliseconds from starting the bare extractor (the payload inflated and
// written by a plain loop into `folder`\Pelmora, as the installer does) to its exit.
double bareExtractOnce(const std::wstring& program, const std::wstring& folder) {
    std::wstring command = L"\"" + program + L"\" \"" + folder + L"\\Pelmora\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = nowMs();
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    const pelmora::UniqueHandle thread(process.hThread), owned(process.hProcess);
    const bool ended = ::WaitForSingleObject(owned.get(), 120000) == WAIT_OBJECT_0;
    const double ms = nowMs() - start;
    DWORD code = 1;
    ::GetExitCodeProcess(owned.get(), &code);
    return ended && code == 0 ? ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const std::wstring benchDir = buildDir() + L"\\bench\\installer\\";
    Series bare{L"bare window", benchDir + L"bare_window.exe", "bare window", {}, {}, {}};
    Series loaded{L"bare window", benchDir + L"bare_window_loaded.exe", "bare window + DLLs + payload", {}, {}, {}};
    Series installer{kInstallerTitle, installerPath(), "installer", {}, {}, {}};
    const char* baselinePath = std::getenv("PELMORA_BENCH_BASELINE");
    Series baseline{
        kInstallerTitle, baselinePath ? wineZPath(baselinePath) : L"", "installer (baseline build)", {}, {}, {}};
    std::vector<Series*> all = {&bare, &loaded, &installer};
    if (baselinePath) all.push_back(&baseline);
    const size_t count = all.size();
    launch(bare.program, bare.title);  // warms the wine server and the file cache
    for (size_t k = 2; k < count; ++k) launch(all[k]->program, all[k]->title);
    for (int i = 0; i < runs; ++i) {
        // Rotate the order so no program always follows the same one.
        for (size_t k = 0; k < count; ++k) {
            Series& s = *all[(static_cast<size_t>(i) + k) % count];
            const Launch l = launch(s.program, s.title);
            if (l.visibleMs < 0) {
                std::printf("%s did not show its window\n", s.label);
                return 1;
            }
            s.add(l);
        }
    }
    std::printf("median of %d interleaved runs; memory %u ms after the window is idle\n", runs,
                static_cast<unsigned>(kSettleMs));
    for (const Series* s : all) {
        std::printf("  %-30s visible %6.1f ms, working set %5.1f MiB, private %5.1f MiB\n", s->label,
                    median(s->visible), median(s->workingSet), median(s->privateMemory));
    }
    printRatio("start-up to visible", "installer", median(installer.visible), "bare window", median(bare.visible),
               "ms ", 1.6);
    printRatio("idle working set", "installer", median(installer.workingSet), "bare window", median(bare.workingSet),
               "MiB", 1.9);
    printRatio("idle private memory", "installer", median(installer.privateMemory), "bare window",
               median(bare.privateMemory), "MiB", 1.6);
    std::printf("%-28s %.2f / %.2f / %.2f (start-up / working set / private)\n", "floor: DLLs + payload alone",
                median(loaded.visible) / median(bare.visible), median(loaded.workingSet) / median(bare.workingSet),
                median(loaded.privateMemory) / median(bare.privateMemory));
    if (baselinePath) {
        std::printf("%-28s %.2f / %.2f / %.2f (start-up / working set / private)\n", "this build / baseline build",
                    median(installer.visible) / median(baseline.visible),
                    median(installer.workingSet) / median(baseline.workingSet),
                    median(installer.privateMemory) / median(baseline.privateMemory));
    }

    // Installs alternate with the bare work of one (the same payload extracted by
    // the plainest loop, whole process), so both see the same load.
    std::vector<double> installs, baselineInstalls, bareExtractions;
    for (int i = 0; i < std::max(3, runs / 3); ++i) {
        {
            ScratchFolder dir(L"pelmora bench bare");
            const double ms = bareExtractOnce(benchDir + L"bare_extract.exe", dir.path());
            if (ms < 0) {
                std::printf("bare extraction did not finish\n");
                return 1;
            }
            bareExtractions.push_back(ms);
        }
        for (int which = 0; which < (baselinePath ? 2 : 1); ++which) {
            // Alternating, so both builds see the same load.
            const bool base = (which + i) % 2 == 1 && baselinePath;
            ScratchFolder dir(L"pelmora bench");
            const double ms = installOnce(base ? baseline.program : installer.program, dir.path());
            if (ms < 0) {
                std::printf("installation did not finish\n");
                return 1;
            }
            (base ? baselineInstalls : installs).push_back(ms);
        }
    }
    printRatio("click to \"退出并启动\"", "installer", median(installs), "bare extraction", median(bareExtractions),
               "ms ", 2.0);
    std::printf("%-28s %.0f ms installer, %.0f ms bare extraction (of %zu runs each)\n", "  fastest",
                *std::min_element(installs.begin(), installs.end()),
                *std::min_element(bareExtractions.begin(), bareExtractions.end()), installs.size());
    if (baselinePath) {
        std::printf("%-28s %.0f ms median of %zu, this build / baseline %.2f\n", "  baseline build",
                    median(baselineInstalls), baselineInstalls.size(), median(installs) / median(baselineInstalls));
    }

    // The start-up check in this process, which carries the same archive.
    // The mapped bytes are summed first, while their pages are not yet in.
    const pelmora::ByteView archive = pelmora::payloadArchive();
    double t = nowMs();
    const uLong mappedCrc = crc32(crc32(0, nullptr, 0), archive.data, static_cast<uInt>(archive.size));
    const double mappedFirst = nowMs() - t;
    std::vector<double> fromFile;
    bool intact = mappedCrc == pelmora::payloadArchiveExpectedCrc();
    for (int i = 0; i < runs; ++i) {
        t = nowMs();
        intact = pelmora::payloadArchiveIntact() && intact;
        fromFile.push_back(nowMs() - t);
    }
    std::printf("%-28s %.1f ms read from the file, %.1f ms over the mapped image (first touch), ratio %.2f (%s)\n",
                "start-up payload check", median(fromFile), mappedFirst, median(fromFile) / mappedFirst,
                intact ? "intact" : "DAMAGED");
    return 0;
}
