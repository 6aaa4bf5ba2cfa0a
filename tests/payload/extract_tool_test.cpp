// The command-line extractor: result on the last line, exit code from it.
#include <windows.h>
#include <gtest/gtest.h>

#include "base/unique_resource.h"
#include "tests/payload/tree_compare.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

struct ToolRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
    std::string lastLine() const {
        std::string s = output;
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        const std::size_t nl = s.rfind('\n');
        return nl == std::string::npos ? s : s.substr(nl + 1);
    }
};

ToolRun runExtract(const std::wstring& arguments, const testing::TempFolder& temp) {
    const std::wstring outPath = temp / L"stdout.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueFile out(::CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out.get();
    si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    std::wstring command = L"\"" + testing::buildDir() + L"\\tools\\extract\\extract.exe\" " + arguments;
    PROCESS_INFORMATION pi{};
    ToolRun run;
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return run;
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    ::WaitForSingleObject(process.get(), 60000);
    ::GetExitCodeProcess(process.get(), &run.exitCode);
    out.reset();
    testing::readFileBytes(outPath, &run.output);
    return run;
}

TEST(ExtractToolTest, ExitCodeAndLastLineFollowTheResult) {
    testing::TempFolder temp;
    const std::wstring fixture = L"\"" + testing::sourceDir() + L"\\tests\\data\\zip\\infozip.zip\"";
    ASSERT_TRUE(testing::writeFileBytes(temp / L"not.zip", "plain text, long enough to be read as a header"));

    ToolRun run = runExtract(L"--progress " + fixture + L" \"" + (temp / L"out") + L"\"", temp);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.lastLine(), "1");
    EXPECT_NE(run.output.find("100% "), std::string::npos) << run.output;
    EXPECT_TRUE(testing::compareTrees(testing::sourceDir() + L"\\tests\\data\\zip\\tree", temp / L"out").empty());

    run = runExtract(L"\"" + (temp / L"not.zip") + L"\" \"" + (temp / L"out2") + L"\"", temp);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.lastLine(), "0");
    EXPECT_FALSE(testing::folderExists(temp / L"out2")) << "no destination for an archive that cannot be used";

    run = runExtract(L"\"" + (temp / L"absent.zip") + L"\" \"" + (temp / L"out3") + L"\"", temp);
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_EQ(run.lastLine(), "-1");

    run = runExtract(fixture, temp);  // destination missing from the command line
    EXPECT_EQ(run.exitCode, 3u);
}

}  // namespace
}  // namespace pelmora
