// The file an entry's data is written to: created new where nothing is yet.
// A file already there is never written over: it is moved aside under a free
// name in its own folder, and the entry's file is created new in its place,
// so that a failure can always put the old file back as it was (content,
// attributes and times).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "base/unique_resource.h"

namespace pelmora {

// A file an entry replaces, moved aside until the replacement is final.
struct SetAsideFile {
    std::wstring path;    // where it was, and where the entry's file now is
    std::wstring backup;  // where it is now
};

// Deletes the backup: the replacement is final. Its read-only bit is cleared
// only now, and set again when it still cannot be deleted. False then;
// GetLastError says why.
bool dropSetAside(const SetAsideFile& file);
// Puts the old file back in place of the entry's file (which goes). False
// when it cannot; GetLastError says why, and both files stay where they are.
bool restoreSetAside(const SetAsideFile& file);

enum class EntryFileFailure {
    None,
    CannotCreate,    // the new file cannot be created
    FolderInTheWay,  // a folder has the file's name
    Link,            // the file there is a link, or is reached through one
    CannotSetAside,  // the file there cannot be moved aside (in use, access denied)
    Write,           // the data cannot be written
};
const wchar_t* entryFileFailureText(EntryFileFailure failure);

class EntryFile {
public:
    struct Rules {
        // Called with the file found at the path, opened for nobody else,
        // before it is moved aside: false refuses the replacement (Link), and
        // the file stays exactly as it was.
        std::function<bool(HANDLE existing)> mayReplace;
        // A backup name, in the target's folder, that must not be used.
        std::function<bool(const std::wstring& name)> nameTaken;
    };

    EntryFile() = default;
    EntryFile(const EntryFile&) = delete;
    EntryFile& operator=(const EntryFile&) = delete;

    // Opens path for writing with the given creation attributes, moving a
    // file already there aside first. False when the file cannot be created
    // or the old one cannot be moved aside; failure() and error() say why,
    // and anything moved aside is back in place.
    bool create(const std::wstring& path, DWORD attributes, const Rules* rules = nullptr);
    // Whether nothing was at the path before create.
    bool isNew() const { return isNew_; }
    HANDLE handle() const { return file_.get(); }

    bool write(const std::uint8_t* data, std::size_t size);

    // Sets the times (zero leaves one as it is) and, with normalAttributes,
    // FILE_ATTRIBUTE_NORMAL in one call on the handle, then closes the file.
    void finish(const FILETIME& creation, const FILETIME& access, const FILETIME& write, bool normalAttributes);
    // After finish: the file moved aside for this one, if any, which the
    // caller now keeps, drops or restores. Empty paths when none was.
    SetAsideFile takeSetAside();
    // Closes and deletes the new file, and puts back the one it replaced:
    // data that failed must not pass for the file it claims to be.
    void discard();

    EntryFileFailure failure() const { return failure_; }
    DWORD error() const { return error_; }  // the system's error for failure()
    // Notes a failure found by the caller (a write the caller checked).
    void setFailure(EntryFileFailure failure, DWORD error) {
        failure_ = failure;
        error_ = error;
    }

    // Never finished: the new file goes, as with discard. Finished, with the
    // old file still aside and not taken: the old file comes back, since
    // nobody said the replacement is final.
    ~EntryFile();

private:
    bool setAside(const std::wstring& path, const Rules* rules);
    bool fail(EntryFileFailure failure, DWORD error);

    UniqueFile file_;
    std::wstring path_;
    SetAsideFile aside_;
    bool isNew_ = false;
    EntryFileFailure failure_ = EntryFileFailure::None;
    DWORD error_ = 0;
};

}  // namespace pelmora
