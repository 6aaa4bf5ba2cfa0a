#include "payload/entry_file.h"

namespace pelmora {
namespace {

const FILETIME* knownTime(const FILETIME& t) {
    return t.dwLowDateTime || t.dwHighDateTime ? &t : nullptr;
}

LONGLONG ticksOf(const FILETIME& t) {
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

HANDLE openForWriting(const std::wstring& path, DWORD disposition, DWORD attributes) {
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, attributes, nullptr);
}

}  // namespace

// CREATE_NEW first: most targets do not exist yet, and this way a new file
// costs one call with no attribute look-up in front of it. It also keeps new
// files from being truncated on creation, which Wine does with CREATE_ALWAYS
// even when nothing is there, and which makes ext4 write the whole file out
// to disk when it is closed (its guard for files replaced by truncation).
// Only a file that is already there is made writable and replaced: CREATE_ALWAYS
// refuses read-only files, and hidden or system ones when the new attributes
// lack those bits.
bool EntryFile::create(const std::wstring& path, DWORD attributes) {
    file_.reset(openForWriting(path, CREATE_NEW, attributes));
    path_ = path;
    isNew_ = static_cast<bool>(file_);
    if (file_) return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    file_.reset(openForWriting(path, CREATE_ALWAYS, attributes));
    return static_cast<bool>(file_);
}

bool EntryFile::write(const std::uint8_t* data, std::size_t size) {
    DWORD written = 0;
    return ::WriteFile(file_.get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

void EntryFile::finish(const FILETIME& creation, const FILETIME& access, const FILETIME& write, bool normalAttributes) {
    if (normalAttributes) {
        // Times and attributes in one call on the open handle: two path
        // look-ups a file fewer than SetFileTime and SetFileAttributes.
        FILE_BASIC_INFO basic{};
        basic.CreationTime.QuadPart = ticksOf(creation);
        basic.LastAccessTime.QuadPart = ticksOf(access);
        basic.LastWriteTime.QuadPart = ticksOf(write);
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        ::SetFileInformationByHandle(file_.get(), FileBasicInfo, &basic, sizeof basic);
    } else {
        ::SetFileTime(file_.get(), knownTime(creation), knownTime(access), knownTime(write));
    }
    file_.reset();
}

void EntryFile::discard() {
    if (!file_) return;
    file_.reset();
    ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path_.c_str());
}

}  // namespace pelmora
