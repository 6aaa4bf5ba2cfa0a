// Extraction speed against a bare loop, in one process, interleaved.
//
//   bench_extract ARCHIVE WORK_FOLDER [RUNS]
//       times extractArchive and a bare inflate-and-WriteFile loop over the
//       same archive, alternating, each into a fresh folder; prints the
//       medians and their ratio.
//   bench_extract --peak ARCHIVE WORK_FOLDER
//       extracts once with extractArchive and prints the peak working set.
//
// Only the extraction is timed: process start-up, folder clean-up and the
// first (cache-warming) run of each are left out.
#include <windows.h>
// after windows.h
#include <psapi.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/unique_resource.h"
#include "bench/support/bench_support.h"
#include "payload/extract_archive.h"

namespace {

using pelmora::UniqueFile;
using pelmora::bench::removeTree;

bool readExactly(HANDLE file, void* out, DWORD n) {
    DWORD got = 0;
    return ::ReadFile(file, out, n, &got, nullptr) && got == n;
}

// The least an extractor must do: walk the local headers in file order,
// create each file, inflate into a buffer and write it. No checks, no CRC,
// no times, no attributes.
bool bareExtract(const std::wstring& archive, const std::wstring& dest) {
    UniqueFile in(::CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in) return false;
    ::CreateDirectoryW(dest.c_str(), nullptr);
    static unsigned char input[65536];
    static unsigned char output[65536];
    z_stream zs{};
    inflateInit2(&zs, -MAX_WBITS);
    for (;;) {
        unsigned char h[30];
        if (!readExactly(in.get(), h, 30) || h[0] != 'P' || h[1] != 'K' || h[2] != 3 || h[3] != 4) break;
        const unsigned method = h[8] | (h[9] << 8);
        const DWORD csize = h[18] | (h[19] << 8) | (h[20] << 16) | (static_cast<DWORD>(h[21]) << 24);
        const unsigned nameLength = h[26] | (h[27] << 8), extraLength = h[28] | (h[29] << 8);
        std::string name(nameLength, '\0');
        if (!readExactly(in.get(), name.data(), nameLength)) return false;
        ::SetFilePointer(in.get(), static_cast<LONG>(extraLength), nullptr, FILE_CURRENT);
        std::wstring path = dest + L"\\" + pelmora::wideFromGbk(name);
        std::replace(path.begin(), path.end(), L'/', L'\\');
        if (!name.empty() && name.back() == '/') {
            ::CreateDirectoryW(path.c_str(), nullptr);
            ::SetFilePointer(in.get(), static_cast<LONG>(csize), nullptr, FILE_CURRENT);
            continue;
        }
        UniqueFile out(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) return false;
        inflateReset(&zs);
        DWORD left = csize, written = 0;
        int rc = Z_OK;
        while (left > 0 && rc != Z_STREAM_END) {
            const DWORD n = std::min<DWORD>(sizeof input, left);
            if (!readExactly(in.get(), input, n)) return false;
            left -= n;
            if (method == 0) {
                ::WriteFile(out.get(), input, n, &written, nullptr);
                continue;
            }
            zs.next_in = input;
            zs.avail_in = n;
            do {
                zs.next_out = output;
                zs.avail_out = sizeof output;
                rc = inflate(&zs, Z_NO_FLUSH);
                if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return false;
                ::WriteFile(out.get(), output, static_cast<DWORD>(sizeof output - zs.avail_out), &written, nullptr);
            } while (zs.avail_out == 0);
        }
    }
    inflateEnd(&zs);
    return true;
}

std::size_t peakWorkingSet() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

int usage() {
    std::fprintf(stderr,
                 "usage: bench_extract ARCHIVE WORK_FOLDER [RUNS]\n"
                 "       bench_extract --peak ARCHIVE WORK_FOLDER\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 4 && std::wstring(argv[1]) == L"--peak") {
        const std::wstring dest = std::wstring(argv[3]) + L"\\peak";
        removeTree(dest);
        const std::size_t before = peakWorkingSet();
        pelmora::ArchiveUnit unit;
        const int result = unit.extractArchive(argv[2], dest);
        std::printf("result %d, peak working set %.1f MiB (%.1f MiB before extracting)\n", result,
                    peakWorkingSet() / 1048576.0, before / 1048576.0);
        removeTree(dest);
        return result == 1 ? 0 : 1;
    }
    if (argc < 3) return usage();
    const std::wstring archive = argv[1], work = argv[2];
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 7;
    ::CreateDirectoryW(work.c_str(), nullptr);
    const std::wstring oursDest = work + L"\\ours", bareDest = work + L"\\bare";

    std::vector<double> ours, bare, pairs;
    for (int i = 0; i <= runs; ++i) {  // run 0 warms the caches and is not counted
        // Alternate which goes first so neither always meets a warmer system.
        for (int k = 0; k < 2; ++k) {
            const bool oursNow = (i + k) % 2 == 0;
            const std::wstring& dest = oursNow ? oursDest : bareDest;
            removeTree(dest);
            const double start = (pelmora::bench::nowMs() / 1000.0);
            bool ok;
            if (oursNow) {
                pelmora::ArchiveUnit unit;
                ok = unit.extractArchive(archive, dest) == 1;
            } else {
                ok = bareExtract(archive, dest);
            }
            const double seconds = (pelmora::bench::nowMs() / 1000.0) - start;
            if (!ok) {
                std::fprintf(stderr, "%s extraction failed\n", oursNow ? "extractArchive" : "bare loop");
                return 1;
            }
            if (i > 0) (oursNow ? ours : bare).push_back(seconds);
        }
        // Each round's two runs follow each other: their ratio is the least
        // touched by other work on the machine coming and going.
        if (i > 0) pairs.push_back(ours.back() / bare.back());
    }
    removeTree(oursDest);
    removeTree(bareDest);
    const double o = pelmora::bench::median(ours), b = pelmora::bench::median(bare);
    const double oMin = *std::min_element(ours.begin(), ours.end());
    const double bMin = *std::min_element(bare.begin(), bare.end());
    std::printf("extractArchive   median %7.1f ms, fastest %7.1f ms over %d runs\n", o * 1000, oMin * 1000, runs);
    std::printf("bare zlib loop   median %7.1f ms, fastest %7.1f ms over %d runs\n", b * 1000, bMin * 1000, runs);
    std::printf("ratio            %.3f paired median (goal <= 0.80); %.3f of medians, %.3f of the fastest runs\n",
                pelmora::bench::median(pairs), o / b, oMin / bMin);
    std::printf("peak working set %.1f MiB (whole benchmark process)\n", peakWorkingSet() / 1048576.0);
    return 0;
}
