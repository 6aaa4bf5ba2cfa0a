#include "payload/entry_file.h"

#include <atomic>
#include <vector>

namespace pelmora {
namespace {

const FILETIME* knownTime(const FILETIME& t) {
    return t.dwLowDateTime || t.dwHighDateTime ? &t : nullptr;
}

LONGLONG ticksOf(const FILETIME& t) {
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

HANDLE openForWriting(const std::wstring& path, DWORD attributes) {
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
}

// "~pm" and five hex digits, ".tmp": an 8.3 name, so a backup fits wherever
// the file it stands for fits (a folder leaves room for a separator and an
// 8.3 name below MAX_PATH). The counter is the process's, so replacing many
// files in one folder does not try the same names again and again.
std::wstring nextBackupName() {
    static std::atomic<unsigned> counter{0};
    const unsigned n = counter++ & 0xFFFFFu;
    wchar_t name[16];
    wsprintfW(name, L"~pm%05x.tmp", n);
    return name;
}

// Renames through the handle, so the file renamed is the one that was
// checked, whatever happens to its path meanwhile.
bool renameOpenFile(HANDLE file, const std::wstring& to) {
    const std::size_t bytes = to.size() * sizeof(wchar_t);
    std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFO) + bytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(bytes);
    std::copy(to.begin(), to.end(), info->FileName);
    return ::SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != FALSE;
}

}  // namespace

const wchar_t* entryFileFailureText(EntryFileFailure failure) {
    switch (failure) {
        case EntryFileFailure::None:
            return L"no failure";
        case EntryFileFailure::CannotCreate:
            return L"cannot create the file";
        case EntryFileFailure::FolderInTheWay:
            return L"a folder of that name is in the way";
        case EntryFileFailure::Link:
            return L"the file there is a link or is reached through one";
        case EntryFileFailure::CannotSetAside:
            return L"the file there cannot be replaced";
        case EntryFileFailure::Write:
            return L"cannot write the file";
    }
    return L"unknown failure";
}

bool dropSetAside(const SetAsideFile& file) {
    if (file.backup.empty()) return true;
    // Only now, with the replacement final, may the old file's read-only bit go.
    const DWORD attributes = ::GetFileAttributesW(file.backup.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetFileAttributesW(file.backup.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    }
    if (::DeleteFileW(file.backup.c_str())) return true;
    const DWORD error = ::GetLastError();
    if (attributes != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(file.backup.c_str(), attributes);
    ::SetLastError(error);
    return false;
}

bool restoreSetAside(const SetAsideFile& file) {
    if (file.backup.empty()) return true;
    // The entry's file is this call's own: a read-only bit it was given must
    // not keep the old file out.
    ::SetFileAttributesW(file.path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return ::MoveFileExW(file.backup.c_str(), file.path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool EntryFile::fail(EntryFileFailure failure, DWORD error) {
    setFailure(failure, error);
    return false;
}

// CREATE_NEW first: most targets do not exist yet, and this way a new file
// costs one call with no attribute look-up in front of it. It also keeps new
// files from being truncated on creation, which Wine does with CREATE_ALWAYS
// even when nothing is there, and which makes ext4 write the whole file out
// to disk when it is closed (its guard for files replaced by truncation).
// A file already there is moved aside and the new one created in its place:
// never truncated, so a failure can give it back.
bool EntryFile::create(const std::wstring& path, DWORD attributes, const Rules* rules) {
    path_ = path;
    aside_ = {};
    failure_ = EntryFileFailure::None;
    error_ = 0;
    file_.reset(openForWriting(path, attributes));
    isNew_ = static_cast<bool>(file_);
    if (file_) return true;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return fail(EntryFileFailure::CannotCreate, error);
    if (!setAside(path, rules)) return false;
    file_.reset(openForWriting(path, attributes));
    if (file_) return true;
    const DWORD again = ::GetLastError();
    restoreSetAside(aside_);
    aside_ = {};
    return fail(EntryFileFailure::CannotCreate, again);
}

// The old file is opened for nobody else (share mode 0) before anything
// changes: a file another program holds open fails here, as it would on any
// attempt to replace it, with its attributes untouched. Renaming keeps its
// read-only and hidden bits, so there is nothing to restore on the way back.
bool EntryFile::setAside(const std::wstring& path, const Rules* rules) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return fail(EntryFileFailure::CannotCreate, ::GetLastError());
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return fail(EntryFileFailure::Link, 0);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return fail(EntryFileFailure::FolderInTheWay, ERROR_ALREADY_EXISTS);
    UniqueFile old(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!old) return fail(EntryFileFailure::CannotSetAside, ::GetLastError());
    if (rules && rules->mayReplace && !rules->mayReplace(old.get())) return fail(EntryFileFailure::Link, 0);
    const std::size_t cut = path.find_last_of(L"\\/");
    const std::wstring folder = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
    for (int attempt = 0; attempt < 64; ++attempt) {
        const std::wstring name = nextBackupName();
        if (rules && rules->nameTaken && rules->nameTaken(name)) continue;
        if (renameOpenFile(old.get(), folder + name)) {
            aside_ = {path, folder + name};
            return true;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
            return fail(EntryFileFailure::CannotSetAside, error);
        }
    }
    return fail(EntryFileFailure::CannotSetAside, ERROR_FILE_EXISTS);
}

bool EntryFile::write(const std::uint8_t* data, std::size_t size) {
    DWORD written = 0;
    if (::WriteFile(file_.get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size) return true;
    // A short write without an error is a full disk as well.
    const DWORD error = ::GetLastError();
    return fail(EntryFileFailure::Write, error ? error : ERROR_DISK_FULL);
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

SetAsideFile EntryFile::takeSetAside() {
    SetAsideFile taken = std::move(aside_);
    aside_ = {};
    return taken;
}

void EntryFile::discard() {
    if (file_) {
        file_.reset();
        ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path_.c_str());
    }
    if (!aside_.backup.empty()) restoreSetAside(aside_);
    aside_ = {};
}

EntryFile::~EntryFile() {
    discard();
}

}  // namespace pelmora
