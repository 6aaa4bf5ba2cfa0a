#include "payload/entry_path.h"

namespace pelmora::zip {
namespace {

bool isSeparator(wchar_t c) {
    return c == L'/' || c == L'\\';
}

wchar_t upper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool equalsUpper(std::wstring_view a, std::wstring_view upperB) {
    if (a.size() != upperB.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upperB[i]) return false;
    }
    return true;
}

bool onlyDotsAndSpaces(std::wstring_view s) {
    for (wchar_t c : s) {
        if (c != L'.' && c != L' ') return false;
    }
    return true;
}

PathVerdict checkComponent(std::wstring_view c) {
    // Windows drops trailing dots and spaces, so "..", ". ." and "..." all
    // end up naming the folder itself or its parent.
    if (onlyDotsAndSpaces(c)) return PathVerdict::ParentReference;
    for (wchar_t ch : c) {
        if (ch == L':') return PathVerdict::DriveOrStream;
        if (ch < 0x20 || ch == L'<' || ch == L'>' || ch == L'"' || ch == L'|' || ch == L'?' || ch == L'*') {
            return PathVerdict::BadCharacter;
        }
    }
    if (isReservedDeviceName(c)) return PathVerdict::DeviceName;
    if (c.size() > kMaxComponentLength) return PathVerdict::TooLong;
    return PathVerdict::Safe;
}

}  // namespace

const char* pathVerdictName(PathVerdict verdict) {
    switch (verdict) {
        case PathVerdict::Safe:
            return "safe";
        case PathVerdict::Empty:
            return "empty name";
        case PathVerdict::Absolute:
            return "absolute name";
        case PathVerdict::DriveOrStream:
            return "drive letter or stream name";
        case PathVerdict::ParentReference:
            return "parent-folder component";
        case PathVerdict::DeviceName:
            return "reserved device name";
        case PathVerdict::BadCharacter:
            return "character not allowed in file names";
        case PathVerdict::TooLong:
            return "path too long for Windows";
    }
    return "unknown";
}

bool isReservedDeviceName(std::wstring_view component) {
    // The device is named by what precedes the first dot, trailing spaces dropped.
    std::wstring_view base = component.substr(0, component.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
    static const wchar_t* const kPlain[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* name : kPlain) {
        if (equalsUpper(base, name)) return true;
    }
    if (base.size() == 4 && (equalsUpper(base.substr(0, 3), L"COM") || equalsUpper(base.substr(0, 3), L"LPT"))) {
        const wchar_t d = base[3];
        // Superscript digits count as well.
        return (d >= L'1' && d <= L'9') || d == L'\u00B9' || d == L'\u00B2' || d == L'\u00B3';
    }
    return false;
}

PathVerdict safeRelativePath(std::wstring_view name, EntryPath* path) {
    path->relative.clear();
    path->endsInSeparator = false;
    if (name.empty()) return PathVerdict::Empty;
    if (isSeparator(name.front())) return PathVerdict::Absolute;
    if (name.find(L':') != std::wstring_view::npos) return PathVerdict::DriveOrStream;
    if (isSeparator(name.back())) {
        path->endsInSeparator = true;
        name.remove_suffix(1);
    }
    std::wstring relative;
    relative.reserve(name.size());
    std::size_t start = 0;
    for (;;) {
        std::size_t end = start;
        while (end < name.size() && !isSeparator(name[end])) ++end;
        const std::wstring_view component = name.substr(start, end - start);
        // "a//b" and "./a" (archives made from ".") name the same place as
        // "a/b" and "a"; Windows collapses them the same way.
        if (!component.empty() && component != L".") {
            const PathVerdict verdict = checkComponent(component);
            if (verdict != PathVerdict::Safe) return verdict;
            if (!relative.empty()) relative += L'\\';
            relative.append(component);
        }
        if (end == name.size()) break;
        start = end + 1;
    }
    // Only a folder may name the destination itself ("./").
    if (relative.empty() && !path->endsInSeparator) return PathVerdict::Empty;
    path->relative = std::move(relative);
    return PathVerdict::Safe;
}

PathVerdict checkPathLength(std::size_t folderLength, const EntryPath& path, bool isFolder) {
    const std::wstring& relative = path.relative;
    if (relative.empty()) return PathVerdict::Safe;
    const std::size_t full = folderLength + 1 + relative.size();
    if (isFolder) return full > kMaxFolderPathLength ? PathVerdict::TooLong : PathVerdict::Safe;
    // The deepest folder a file needs is the longest one made for it.
    const std::size_t cut = relative.rfind(L'\\');
    const std::size_t parent = cut == std::wstring::npos ? folderLength : folderLength + 1 + cut;
    if (parent > kMaxFolderPathLength || full > kMaxFilePathLength) return PathVerdict::TooLong;
    return PathVerdict::Safe;
}

}  // namespace pelmora::zip
