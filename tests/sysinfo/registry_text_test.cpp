#include "sysinfo/registry_text.h"

#include <gtest/gtest.h>

#include <string>

namespace pelmora {
namespace {

// A key of its own under HKCU, removed again after each test.
class RegistryTextTest : public testing::Test {
protected:
    void SetUp() override {
        subKey_ = L"Software\\PelmoraSysinfoTest" + std::to_wstring(::GetCurrentProcessId());
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                                    nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        if (key_) ::RegCloseKey(key_);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, subKey_.c_str());
    }

    void setBytes(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(::RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }
    void setText(const wchar_t* name, DWORD type, const std::wstring& text) {
        setBytes(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    std::wstring read(const wchar_t* name) { return readRegistryText(HKEY_CURRENT_USER, subKey_.c_str(), name); }

    std::wstring subKey_;
    HKEY key_ = nullptr;
};

TEST_F(RegistryTextTest, PlainTextIsTakenAsStored) {
    setText(L"ProductName", REG_SZ, L"Windows 7 旗舰版");
    setText(L"Literal", REG_SZ, L"%PELMORA_SYSINFO_DIR%\\bin");
    setText(L"Empty", REG_SZ, L"");
    ASSERT_TRUE(::SetEnvironmentVariableW(L"PELMORA_SYSINFO_DIR", L"C:\\系统"));
    EXPECT_EQ(read(L"ProductName"), L"Windows 7 旗舰版");
    EXPECT_EQ(read(L"Literal"), L"%PELMORA_SYSINFO_DIR%\\bin");
    EXPECT_EQ(read(L"Empty"), L"");
}

TEST_F(RegistryTextTest, ExpandableTextIsExpanded) {
    ASSERT_TRUE(::SetEnvironmentVariableW(L"PELMORA_SYSINFO_DIR", L"C:\\系统"));
    setText(L"Expandable", REG_EXPAND_SZ, L"%PELMORA_SYSINFO_DIR%\\bin");
    setText(L"Unknown", REG_EXPAND_SZ, L"%PELMORA_SYSINFO_UNSET%!");
    EXPECT_EQ(read(L"Expandable"), L"C:\\系统\\bin");
    EXPECT_EQ(read(L"Unknown"), L"%PELMORA_SYSINFO_UNSET%!");
}

TEST_F(RegistryTextTest, OtherTypesAndMissingValuesGiveEmptyText) {
    const DWORD number = 7601;
    setBytes(L"Number", REG_DWORD, &number, sizeof(number));
    const wchar_t multi[] = L"Service Pack 1\0second\0";
    setBytes(L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
    setBytes(L"Binary", REG_BINARY, L"abc", 6);
    EXPECT_EQ(read(L"Number"), L"");
    EXPECT_EQ(read(L"Multi"), L"");
    EXPECT_EQ(read(L"Binary"), L"");
    EXPECT_EQ(read(L"Missing"), L"");
    EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, L"Software\\PelmoraSysinfoNoSuchKey", L"ProductName"), L"");
}

TEST_F(RegistryTextTest, StoredTextNeedNotBeTerminated) {
    setBytes(L"Unterminated", REG_SZ, L"7601", 4 * sizeof(wchar_t));
    setBytes(L"OddLength", REG_SZ, L"SP3x", 7);  // the half character is dropped
    setBytes(L"ZeroInside", REG_SZ, L"SP1\0junk", 9 * sizeof(wchar_t));
    EXPECT_EQ(read(L"Unterminated"), L"7601");
    EXPECT_EQ(read(L"OddLength"), L"SP3");
    EXPECT_EQ(read(L"ZeroInside"), L"SP1");
}

TEST_F(RegistryTextTest, LongTextIsReadWhole) {
    std::wstring longText;
    for (int i = 0; i < 3000; ++i) longText += static_cast<wchar_t>(L'a' + i % 26);
    setText(L"Long", REG_SZ, longText);
    setText(L"LongExpandable", REG_EXPAND_SZ, longText + L"%PELMORA_SYSINFO_TAIL%");
    ASSERT_TRUE(::SetEnvironmentVariableW(L"PELMORA_SYSINFO_TAIL", L"尾"));
    EXPECT_EQ(read(L"Long"), longText);
    EXPECT_EQ(read(L"LongExpandable"), longText + L"尾");
}

}  // namespace
}  // namespace pelmora
