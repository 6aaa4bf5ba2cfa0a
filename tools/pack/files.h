// The builder's file access, the same on Linux and Windows: paths are
// std::filesystem paths in the platform's own form (bytes on Linux, UTF-16
// on Windows, so any name the system shows can be opened), converted to and
// from UTF-8 only through base/text. Nothing here throws.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "payload/zip_format.h"

namespace pelmora::pack {

using NativePath = std::filesystem::path;

// False when the text cannot name a file here (not UTF-8).
bool pathFromUtf8(std::string_view utf8, NativePath* path);
// False when the system's name has no UTF-8 form (bytes that are not UTF-8 on
// Linux, an unpaired surrogate on Windows).
bool utf8FromPath(const NativePath& path, std::string* utf8);
// For messages: the UTF-8 form, or the name with what cannot be shown escaped;
// shortened as shownName does.
std::string displayPath(const NativePath& path);

// LinkLoop: links that lead, one through the other, back to themselves.
enum class FileKind { Missing, File, Folder, Link, LinkLoop, Other };
FileKind fileKind(const NativePath& path);  // a link is reported as a link, not followed
FileKind followedKind(const NativePath& path);
bool fileSize(const NativePath& path, std::uint64_t* size);

// The entries of a folder (names only), or false when it cannot be listed.
bool listFolder(const NativePath& folder, std::vector<NativePath>* names);

// Reads a whole small file; false when it cannot be read or is larger than maxSize.
bool readSmallFile(const NativePath& path, std::size_t maxSize, std::string* bytes);

// Whether `inner` is `outer` or lies below it, once both are made absolute
// and their links resolved (inner need not exist yet). Case is ignored on
// Windows.
bool isSameOrInside(const NativePath& inner, const NativePath& outer);

class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool open(const NativePath& path);
    // Up to n bytes; 0 at the end. False on a read error.
    bool read(void* out, std::size_t n, std::size_t* got);
    bool seek(std::uint64_t offset);
    void close();

private:
    std::FILE* file_ = nullptr;
};

// Random access to a file's bytes, for reading ZIP archives and program images.
class FileSource final : public zip::ByteSource {
public:
    bool open(const NativePath& path);
    std::uint64_t size() const override { return size_; }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) override;

private:
    InputFile file_;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = ~0ull;
};

// "what: reason", or `what` alone when the reason is not known.
std::string withReason(std::string what, const std::string& reason);

// A file written front to back, with earlier bytes patched in place; the
// file ends where the furthest write ended unless truncated. When a call
// fails, failure() says why in the system's words ("No space left on
// device"), for the message that reports it.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates a new file; fails if one of that name exists.
    bool create(const NativePath& path);
    bool write(const void* data, std::size_t n);
    bool write(std::string_view bytes) { return write(bytes.data(), bytes.size()); }
    std::uint64_t position() const { return position_; }
    bool seek(std::uint64_t offset);
    // Flushes and closes; the file is cut to `size` bytes.
    bool finish(std::uint64_t size);
    void abandon();                 // closes and deletes the file
    void keep() { path_.clear(); }  // after finish: the file is no longer this object's to delete
    const std::string& failure() const { return failure_; }

private:
    bool failed();  // notes the system's reason for the call that just failed
    std::FILE* file_ = nullptr;
    std::string failure_;
    NativePath path_;
    std::uint64_t position_ = 0;
};

// Replaces `to` with `from` (both in the same folder); on failure *reason,
// when given, receives the system's words.
bool replaceFile(const NativePath& from, const NativePath& to, std::string* reason = nullptr);
bool removeFile(const NativePath& path);

}  // namespace pelmora::pack
