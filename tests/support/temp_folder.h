// A fresh folder under the temporary folder, removed with everything in it
// when the test ends.
#pragma once

#include <windows.h>

#include <string>

namespace pelmora::testing {

bool removeTree(const std::wstring& path);
std::wstring readFileBytes(const std::wstring& path, std::string* bytes);  // returns path; bytes empty on failure
std::string fileText(const std::wstring& path);                            // the bytes; empty on failure
bool fileExists(const std::wstring& path);
bool folderExists(const std::wstring& path);

class TempFolder {
public:
    explicit TempFolder(const std::wstring& hint = L"pelmora");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

}  // namespace pelmora::testing
