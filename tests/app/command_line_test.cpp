// The command line: what each option means, where the folder ends, and the
// fault reported for each kind of bad line.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace pelmora {
namespace {

std::string shown(const std::wstring& text) {
    return ::testing::PrintToString(text);
}

TEST(CommandLineTest, OptionsInAnyCaseAndAnyOrder) {
    struct Case {
        const wchar_t* line;
        bool silent, noShortcut, launch, help;
        const wchar_t* installDir;
        const wchar_t* logFile;
    } cases[] = {
        {L"", false, false, false, false, L"", L""},
        {L"   ", false, false, false, false, L"", L""},
        {L"/S", true, false, false, false, L"", L""},
        {L"/s /noshortcut /Launch", true, true, true, false, L"", L""},
        {L"\t/NoShortCut\t", false, true, false, false, L"", L""},
        {L"/?", false, false, false, true, L"", L""},
        {L"/S /D=C:\\Program Files\\我的 程序", true, false, false, false, L"C:\\Program Files\\我的 程序", L""},
        // The folder is the rest of the line; a slash that starts none of
        // the options is part of it.
        {L"/S /d=D:\\apps /Sound /logs", true, false, false, false, L"D:\\apps /Sound /logs", L""},
        {L"/S /D=C:\\a b \t ", true, false, false, false, L"C:\\a b", L""},
        {L"/S /D=C:/apps", true, false, false, false, L"C:/apps", L""},
        // Quotes are not needed, but tools add them: they go.
        {L"/S /D=\"C:\\a b\"", true, false, false, false, L"C:\\a b", L""},
        {L"\"/D=C:\\a b\" /S", true, false, false, false, L"C:\\a b", L""},
        {L"/S /D=\\\\server\\share\\apps", true, false, false, false, L"\\\\server\\share\\apps", L""},
        {L"/D=E:\\", false, false, false, false, L"E:\\", L""},
        {L"/LOG=C:\\logs\\setup.log /S", true, false, false, false, L"", L"C:\\logs\\setup.log"},
        {L"/log=setup.log", false, false, false, false, L"", L"setup.log"},
        {L"\"/LOG=C:\\my logs\\安装.log\" /S", true, false, false, false, L"", L"C:\\my logs\\安装.log"},
        {L"/LOG=\"C:\\my logs\\a.log\" /NOSHORTCUT", false, true, false, false, L"", L"C:\\my logs\\a.log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(shown(c.line));
        const ParsedCommandLine parsed = parseCommandLine(c.line);
        EXPECT_TRUE(parsed.ok()) << shown(commandLineErrorName(parsed.error)) << " " << shown(parsed.offending);
        EXPECT_EQ(parsed.options.silent, c.silent);
        EXPECT_EQ(parsed.options.noShortcut, c.noShortcut);
        EXPECT_EQ(parsed.options.launch, c.launch);
        EXPECT_EQ(parsed.options.help, c.help);
        EXPECT_EQ(parsed.options.installDir, c.installDir);
        EXPECT_EQ(parsed.options.logFile, c.logFile);
    }
}

TEST(CommandLineTest, EachFaultNamesTheArgumentAsWritten) {
    struct Case {
        const wchar_t* line;
        CommandLineError error;
        const wchar_t* offending;
    } cases[] = {
        {L"/X", CommandLineError::UnknownOption, L"/X"},
        {L"/S /SILENT", CommandLineError::UnknownOption, L"/SILENT"},
        {L"S", CommandLineError::UnknownOption, L"S"},
        {L"-S", CommandLineError::UnknownOption, L"-S"},
        {L"/S \"/what ever\"", CommandLineError::UnknownOption, L"\"/what ever\""},
        {L"/S /LOG=", CommandLineError::MissingValue, L"/LOG="},
        {L"/S /D=", CommandLineError::MissingValue, L"/D="},
        {L"/S /D=   ", CommandLineError::MissingValue, L"/D="},
        {L"/S /D=apps", CommandLineError::RelativeFolder, L"/D=apps"},
        {L"/S /D=\\apps", CommandLineError::RelativeFolder, L"/D=\\apps"},
        {L"/S /D=C:apps", CommandLineError::RelativeFolder, L"/D=C:apps"},
        {L"/S \"/D=a b\"", CommandLineError::RelativeFolder, L"\"/D=a b\""},
        {L"/S /D=\"\"", CommandLineError::MissingValue, L"/D=\"\""},
        {L"/S /s", CommandLineError::RepeatedOption, L"/s"},
        {L"/LOG=a.log /S /log=b.log", CommandLineError::RepeatedOption, L"/log=b.log"},
        {L"\"/D=C:\\a\" /D=C:\\b", CommandLineError::RepeatedOption, L"/D=C:\\b"},
        {L"/LAUNCH", CommandLineError::LaunchWithoutSilent, L"/LAUNCH"},
        {L"/S /?", CommandLineError::HelpWhenSilent, L"/?"},
        // An option after the folder: /D= was not last.
        {L"/d=D:\\apps /S", CommandLineError::FolderNotLast, L"/d=D:\\apps /S"},
        {L"/S /D=C:\\a b /noshortcut", CommandLineError::FolderNotLast, L"/D=C:\\a b /noshortcut"},
        {L"/S /D=C:\\a\t/Launch  ", CommandLineError::FolderNotLast, L"/D=C:\\a\t/Launch"},
        {L"/S /D=\"C:\\a\" \"/LOG=C:\\l.log\"", CommandLineError::FolderNotLast, L"/D=\"C:\\a\" \"/LOG=C:\\l.log\""},
        {L"/S /D=C:\\a /d=C:\\b", CommandLineError::FolderNotLast, L"/D=C:\\a /d=C:\\b"},
        {L"/D=C:\\a /?", CommandLineError::FolderNotLast, L"/D=C:\\a /?"},
        // The first fault is the one reported.
        {L"/X /Y /LAUNCH", CommandLineError::UnknownOption, L"/X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(shown(c.line));
        const ParsedCommandLine parsed = parseCommandLine(c.line);
        EXPECT_EQ(parsed.error, c.error) << shown(commandLineErrorName(parsed.error));
        EXPECT_EQ(parsed.offending, c.offending);
    }
}

// A silent run with a fault still knows it is silent (it must show no box)
// and where its log goes (to record the fault), wherever they stand.
TEST(CommandLineTest, OptionsAroundAFaultAreStillRead) {
    const struct {
        const wchar_t* line;
        CommandLineError error;
    } cases[] = {
        {L"/BAD /LOG=C:\\l.log /S", CommandLineError::UnknownOption},
        // Options caught in a folder that is not last still count.
        {L"/D=C:\\apps /LOG=C:\\l.log /s", CommandLineError::FolderNotLast},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(shown(c.line));
        const ParsedCommandLine parsed = parseCommandLine(c.line);
        EXPECT_EQ(parsed.error, c.error);
        EXPECT_TRUE(parsed.options.silent);
        EXPECT_EQ(parsed.options.logFile, L"C:\\l.log");
    }
}

TEST(CommandLineTest, ArgumentsFollowTheProgramName) {
    struct Case {
        const wchar_t* line;
        const wchar_t* arguments;
    } cases[] = {
        {L"\"C:\\a b\\PelmoraSetup.exe\" /S /D=C:\\x y", L"/S /D=C:\\x y"},
        {L"PelmoraSetup.exe  \t/S", L"/S"},
        {L"PelmoraSetup.exe", L""},
        {L"\"C:\\a b\\PelmoraSetup.exe\"", L""},
        {L"\"C:\\a b\\PelmoraSetup.exe\"/S", L"/S"},
        {L"\"C:\\unclosed /S", L""},
        {L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(std::wstring(argumentsOf(c.line)), c.arguments) << shown(c.line);
}

}  // namespace
}  // namespace pelmora
