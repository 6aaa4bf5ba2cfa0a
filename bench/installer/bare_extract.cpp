// Baseline for the installation benchmark: the bare work of an installation
// as a whole process. It carries the installer's payload and extracts it into
// the folder named on its command line with the plainest loop: walk the local
// headers, create each file, inflate with zlib, WriteFile. No checks, no
// CRC-32, no times or attributes, no window.
//
//   bare_extract DESTINATION      exit code 0 when every entry was written
#include <windows.h>
// after windows.h
#include <zlib.h>

#include <algorithm>
#include <string>

#include "base/text.h"
#include "base/unique_resource.h"
#include "payload/embedded_data.h"

namespace {

unsigned readU16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}

DWORD readU32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24);
}

bool writeEntry(HANDLE out, z_stream& zs, unsigned method, const std::uint8_t* data, DWORD size) {
    static unsigned char output[65536];
    DWORD written = 0;
    if (method == 0) return ::WriteFile(out, data, size, &written, nullptr) != 0;
    inflateReset(&zs);
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = size;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        zs.next_out = output;
        zs.avail_out = sizeof output;
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) return false;
        ::WriteFile(out, output, static_cast<DWORD>(sizeof output - zs.avail_out), &written, nullptr);
    }
    return true;
}

bool bareExtract(const pelmora::ByteView archive, const std::wstring& dest) {
    ::CreateDirectoryW(dest.c_str(), nullptr);
    z_stream zs{};
    inflateInit2(&zs, -MAX_WBITS);
    const std::uint8_t* p = archive.data;
    const std::uint8_t* end = archive.data + archive.size;
    bool ok = true;
    while (ok && end - p >= 30 && readU32(p) == 0x04034B50) {
        const unsigned method = readU16(p + 8);
        const DWORD csize = readU32(p + 18);
        const unsigned nameLength = readU16(p + 26), extraLength = readU16(p + 28);
        const std::string name(reinterpret_cast<const char*>(p + 30), nameLength);
        const std::uint8_t* data = p + 30 + nameLength + extraLength;
        p = data + csize;
        std::wstring path = dest + L"\\" + pelmora::wideFromGbk(name);
        std::replace(path.begin(), path.end(), L'/', L'\\');
        if (!name.empty() && name.back() == '/') {
            ::CreateDirectoryW(path.c_str(), nullptr);
            continue;
        }
        pelmora::UniqueFile out(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ok = out && writeEntry(out.get(), zs, method, data, csize);
    }
    inflateEnd(&zs);
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    return bareExtract(pelmora::payloadArchive(), argv[1]) ? 0 : 1;
}
