// Which icon resource becomes the application icon.
#include "gfx/app_icon.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

// Built twice: with only the main icon group, and with an icon 129 as well
// (PELMORA_HAS_ICON_129). Shared icons come back as the same handle for the
// same resource, which tells which resource was picked.
TEST(AppIcon, PicksIcon129FirstThenTheMainGroup) {
    HMODULE self = ::GetModuleHandleW(nullptr);
    HICON main = ::LoadIconW(self, L"DEFAULT_ICON");
    HICON icon129 = ::LoadIconW(self, MAKEINTRESOURCEW(129));
    ASSERT_NE(main, nullptr);
#ifdef PELMORA_HAS_ICON_129
    ASSERT_NE(icon129, nullptr);
    ASSERT_NE(icon129, main);
    EXPECT_EQ(loadAppIcon().get(), icon129);
#else
    ASSERT_EQ(icon129, nullptr);
    EXPECT_EQ(loadAppIcon().get(), main);
    EXPECT_EQ(loadAppIcon(self).get(), main);
#endif
    ICONINFO info{};
    UniqueIcon icon = loadAppIcon();
    ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
}

TEST(AppIcon, AModuleWithoutIconsGivesNone) {
    HMODULE gdiplus = ::GetModuleHandleW(L"gdiplus.dll");
    if (!gdiplus) gdiplus = ::LoadLibraryW(L"gdiplus.dll");
    ASSERT_NE(gdiplus, nullptr);
    ASSERT_EQ(::FindResourceW(gdiplus, L"DEFAULT_ICON", MAKEINTRESOURCEW(14)), nullptr);
    EXPECT_FALSE(loadAppIcon(gdiplus));
}

}  // namespace
}  // namespace pelmora
