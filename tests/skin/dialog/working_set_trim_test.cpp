// Losing activation twice: two trimming threads run and finish, the system
// takes both requests, nothing is written in the Windows folder, the system
// folder, the temporary folder or the current folder (no trimming program
// appears anywhere), and the process goes on working afterwards.
#include "services/working_set_trim.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "base/unique_resource.h"

namespace pelmora {
namespace {

constexpr DWORD kWaitLimitMs = 10000;

template <typename Predicate>
bool waitFor(Predicate done) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > kWaitLimitMs) return false;
        ::Sleep(2);
    }
    return true;
}

// Name -> (size, last write) of every entry directly in a folder.
using Listing = std::map<std::wstring, std::pair<ULONGLONG, ULONGLONG>>;

Listing listFolder(const std::wstring& folder) {
    Listing listing;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) return listing;
    do {
        const ULONGLONG size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        const ULONGLONG written =
            (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
        listing[data.cFileName] = {size, written};
    } while (::FindNextFileW(find.get(), &data));
    return listing;
}

std::wstring environmentFolder(const wchar_t* name) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

std::vector<std::wstring> watchedFolders() {
    wchar_t system[MAX_PATH] = {}, temp[MAX_PATH] = {}, current[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const DWORD tempLength = ::GetTempPathW(MAX_PATH, temp);
    if (tempLength > 0 && temp[tempLength - 1] == L'\\') temp[tempLength - 1] = 0;
    ::GetCurrentDirectoryW(MAX_PATH, current);
    return {environmentFolder(L"windir"), system, temp, current};
}

bool fileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(WorkingSetTrim, TwoDeactivationsRunTwoThreadsAndWriteNothing) {
    const std::vector<std::wstring> folders = watchedFolders();
    ASSERT_FALSE(folders[0].empty()) << "no windir";
    std::vector<Listing> before;
    for (const std::wstring& folder : folders) before.push_back(listFolder(folder));
    const long finished = workingSetTrimsFinished(), accepted = workingSetTrimsAccepted();

    ASSERT_TRUE(startWorkingSetTrim());
    ASSERT_TRUE(startWorkingSetTrim());
    ASSERT_TRUE(waitFor([&] { return workingSetTrimsFinished() >= finished + 2; }));
    EXPECT_EQ(workingSetTrimsFinished(), finished + 2);
    EXPECT_EQ(workingSetTrimsAccepted(), accepted + 2);

    EXPECT_FALSE(fileExists(folders[0] + L"\\empty.exe"));
    for (size_t i = 0; i < folders.size(); ++i) {
        const Listing after = listFolder(folders[i]);
        for (const auto& [name, facts] : after) {
            const auto was = before[i].find(name);
            EXPECT_TRUE(was != before[i].end()) << "new entry " << std::string(name.begin(), name.end());
            if (was != before[i].end() && name != L"." && name != L"..") {
                EXPECT_EQ(was->second, facts) << "changed " << std::string(name.begin(), name.end());
            }
        }
    }
}

// Pages handed back fault in again on use: memory, windows and messages all
// behave as before.
TEST(WorkingSetTrim, TheProcessGoesOnWorkingAfterwards) {
    std::vector<unsigned> block(4 << 20);
    std::iota(block.begin(), block.end(), 1u);
    const unsigned long long sum = std::accumulate(block.begin(), block.end(), 0ull);
    UniqueWindow window(
        ::CreateWindowExW(0, L"STATIC", L"before", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);

    const long finished = workingSetTrimsFinished();
    EXPECT_EQ(trimWorkingSet(nullptr), 1u);  // the body itself, on this thread
    ASSERT_TRUE(startWorkingSetTrim());
    ASSERT_TRUE(startWorkingSetTrim());
    ASSERT_TRUE(waitFor([&] { return workingSetTrimsFinished() >= finished + 3; }));

    EXPECT_EQ(std::accumulate(block.begin(), block.end(), 0ull), sum);
    ASSERT_TRUE(::SendMessageW(window.get(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"之后")));
    wchar_t text[16] = {};
    ::SendMessageW(window.get(), WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"之后");
    std::vector<unsigned> fresh(1 << 20, 7u);
    EXPECT_EQ(std::accumulate(fresh.begin(), fresh.end(), 0ull), 7ull << 20);
}

}  // namespace
}  // namespace pelmora
