// The first decode of the window background in a fresh process, through
// GDI+ (which loads and starts the system's imaging components) against the
// engine's own PNG decoder. GDI+ and the display driver are started before
// the clock runs in both, as the installer has them when it decodes its
// first picture (the driver's start alone takes longer than either decode). Each decode runs in a
// process of its own, the two kinds alternating; medians and their ratio.
//
//   first_decode [RUNS]          (a child run is: first_decode gdiplus|own)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/support/bench_support.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_object.h"
#include "gfx/picture_decode.h"
#include "payload/embedded_data.h"

namespace {

// In the child: microseconds of one decode as the exit code; 0 on failure.
int decodeOnce(bool ownDecoder) {
    pelmora::gdipStartup();
    ::ReleaseDC(nullptr, ::GetDC(nullptr));
    const pelmora::ByteView png = pelmora::backgroundPng();
    pelmora::GdipBitmap bitmap;
    const double start = pelmora::bench::nowMs();
    const bool ok =
        ownDecoder ? pelmora::decodePicture(bitmap, png.data, png.size) : bitmap.loadFromMemory(png.data, png.size);
    const double ms = pelmora::bench::nowMs() - start;
    return ok && bitmap.width() == 500 ? static_cast<int>(ms * 1000.0) : 0;
}

// Runs this program as a child with `mode` and returns its decode time in ms.
double childRun(const char* mode) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = std::string("\"") + self + "\" " + mode;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    ::WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return code == 0 ? -1 : code / 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "gdiplus") == 0) return decodeOnce(false);
    if (argc > 1 && std::strcmp(argv[1], "own") == 0) return decodeOnce(true);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    std::vector<double> gdiplus, own;
    for (int i = 0; i < runs; ++i) {
        // Alternating which goes first, so neither always follows the other.
        for (int k = 0; k < 2; ++k) {
            const bool ownFirst = (i + k) % 2 == 0;
            const double ms = childRun(ownFirst ? "own" : "gdiplus");
            if (ms < 0) {
                std::printf("a decode failed\n");
                return 1;
            }
            (ownFirst ? own : gdiplus).push_back(ms);
        }
    }
    std::printf("first decode of the 500 x 300 background in a fresh process, median of %d:\n", runs);
    std::printf("  engine's decoder %.2f ms, GDI+ %.2f ms, ratio %.3f\n", pelmora::bench::median(own),
                pelmora::bench::median(gdiplus), pelmora::bench::median(own) / pelmora::bench::median(gdiplus));
    return 0;
}
