#include "app/install_record_file.h"

#include <windows.h>
#include <zlib.h>

#include <vector>

#include "base/unique_resource.h"

namespace pelmora {
namespace {

// A record larger than this is no record of ours: millions of files.
constexpr DWORD kMaxRecordSize = 64u << 20;
constexpr DWORD kChunk = 1u << 20;

bool writeAll(HANDLE file, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD n = static_cast<DWORD>(size < kChunk ? size : kChunk);
        DWORD written = 0;
        if (!::WriteFile(file, data, n, &written, nullptr) || written != n) return false;
        data += n;
        size -= n;
    }
    return true;
}

// The temporary file is made by `fill`, then takes the real name.
template <typename Fill>
bool replaceFile(const std::wstring& path, Fill fill) {
    const std::wstring temporary = path + L".new";
    {
        UniqueFile file(
            ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        if (!fill(file.get()) || !::FlushFileBuffers(file.get())) {
            const DWORD error = ::GetLastError();
            file.reset();
            ::DeleteFileW(temporary.c_str());
            ::SetLastError(error);
            return false;
        }
    }
    if (::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = ::GetLastError();
    ::DeleteFileW(temporary.c_str());
    ::SetLastError(error);
    return false;
}

}  // namespace

std::wstring recordPath(const std::wstring& productFolder) {
    return productFolder + L"\\" + record::kRecordFileName;
}

std::wstring uninstallerPath(const std::wstring& productFolder) {
    return productFolder + L"\\" + record::kUninstallerFileName;
}

bool replaceFileWith(const std::wstring& path, const std::string& bytes) {
    return replaceFile(path, [&](HANDLE file) { return writeAll(file, bytes.data(), bytes.size()); });
}

bool replaceFileWithStart(const std::wstring& path, const std::wstring& source, std::uint64_t count) {
    UniqueFile in(::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in) return false;
    return replaceFile(path, [&](HANDLE out) {
        std::vector<char> buffer(kChunk);
        for (std::uint64_t left = count; left > 0;) {
            const DWORD n = static_cast<DWORD>(left < kChunk ? left : kChunk);
            DWORD read = 0;
            if (!::ReadFile(in.get(), buffer.data(), n, &read, nullptr)) return false;
            if (read != n) {
                ::SetLastError(ERROR_HANDLE_EOF);
                return false;
            }
            if (!writeAll(out, buffer.data(), n)) return false;
            left -= n;
        }
        return true;
    });
}

bool writeRecordFile(const std::wstring& productFolder, const record::InstallRecord& record) {
    return replaceFileWith(recordPath(productFolder), record::formatRecord(record));
}

RecordFileState readRecordFile(const std::wstring& productFolder, record::InstallRecord* out,
                               record::RecordResult* why) {
    *out = record::InstallRecord{};
    if (why) *why = record::RecordResult::Ok;
    UniqueFile file(::CreateFileW(recordPath(productFolder).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? RecordFileState::Missing
                                                                              : RecordFileState::Damaged;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxRecordSize) return RecordFileState::Damaged;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return RecordFileState::Damaged;
    const record::RecordResult result = record::parseRecord(bytes, out);
    if (why) *why = result;
    return result == record::RecordResult::Ok ? RecordFileState::Ok : RecordFileState::Damaged;
}

bool fileChecksum(const std::wstring& path, std::uint64_t* size, std::uint32_t* crc) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    std::vector<unsigned char> buffer(kChunk);
    uLong sum = ::crc32(0L, Z_NULL, 0);
    std::uint64_t total = 0;
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer.data(), kChunk, &read, nullptr)) return false;
        if (read == 0) break;
        sum = ::crc32(sum, buffer.data(), read);
        total += read;
    }
    *size = total;
    *crc = static_cast<std::uint32_t>(sum);
    return true;
}

}  // namespace pelmora
