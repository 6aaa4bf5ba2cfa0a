#include "app/form_table.h"

namespace pelmora {
namespace {

constexpr FontChoice kDefaultFont{nullptr, 0, 0, 0};
constexpr FontChoice kKaiTi20{L"楷体", -20, 400, GB2312_CHARSET};
constexpr FontChoice kSongTi12{L"宋体", -12, 400, GB2312_CHARSET};
constexpr COLORREF kWhite = 0x00FFFFFF;

// clang-format off
constexpr std::array<UnitEntry, kUnitCount> kUnits = {{
    {UnitRole::InstallerWindow, L"", 0x06010000, UnitKind::Window, 50, 50, 500, 300, kVisible,
     L"软件安装向导", 0, kButtonFaceColour, HAlign::Left, VAlign::Top, false, kDefaultFont, false},
    {UnitRole::FinishButton, L"完成钮", 0x16013427, UnitKind::Button, 190, 240, 120, 40, kTabStop,
     L"完成钮", 0, 0, HAlign::Centre, VAlign::Centre, false, kDefaultFont, true},
    {UnitRole::InfoTimer, L"时钟2", 0x16013409, UnitKind::Timer, 296, 17, 40, 40, 0,
     L"", 0, 0, HAlign::Left, VAlign::Top, false, kDefaultFont, false},
    {UnitRole::InfoLabel, L"透明标签4", 0x16013404, UnitKind::TransparentLabel, 20, 190, 460, 24, kVisible,
     L"", kWhite, 0, HAlign::Centre, VAlign::Centre, false, kDefaultFont, false},
    {UnitRole::PayloadZip, L"ZIP压缩1", 0x160133FD, UnitKind::ArchiveUnit, 232, 16, 40, 40, 0,
     L"", 0, 0, HAlign::Left, VAlign::Top, false, kDefaultFont, false},
    {UnitRole::TitleLabel, L"透明标签3", 0x160105A0, UnitKind::TransparentLabel, 50, 80, 400, 30, kVisible,
     L"Pelmora☆Corvane“7.0.0.1”安装程序", kWhite, 0, HAlign::Centre, VAlign::Centre, false, kKaiTi20, false},
    {UnitRole::StatusLabel, L"透明标签2", 0x16010597, UnitKind::TransparentLabel, 170, 145, 80, 18, 0,
     L"解压文件 ", kWhite, 0, HAlign::Right, VAlign::Centre, false, kDefaultFont, false},
    {UnitRole::PercentLabel, L"透明标签1", 0x1601058B, UnitKind::TransparentLabel, 250, 145, 80, 18, 0,
     L"0 %", kWhite, 0, HAlign::Centre, VAlign::Centre, false, kDefaultFont, false},
    {UnitRole::AgreeLabel, L"标签5", 0x16010584, UnitKind::Label, 30, 224, 85, 16, kVisible,
     L"我已阅读并同意", 0, kButtonFaceColour, HAlign::Left, VAlign::Centre, false, kSongTi12, false},
    {UnitRole::TermsLinkLabel, L"标签4", 0x1601057F, UnitKind::Label, 120, 223, 70, 16, kVisible,
     L"《许可协议》", 0x008050FF, kButtonFaceColour, HAlign::Centre, VAlign::Centre, false, kSongTi12, true},
    {UnitRole::AgreeCheckBox, L"选择框1", 0x1601057E, UnitKind::CheckBox, 12, 225, 14, 14, kVisible | kTabStop,
     L"", 0, kButtonFaceColour, HAlign::Left, VAlign::Centre, false, kDefaultFont, false},
    {UnitRole::ProgressTimer, L"时钟1", 0x1601050D, UnitKind::Timer, 168, 16, 40, 40, 0,
     L"", 0, 0, HAlign::Left, VAlign::Top, false, kDefaultFont, false},
    {UnitRole::InstallProgress, L"进度条1", 0x1601050C, UnitKind::ProgressBar, 0, 213, 500, 6, kVisible,
     L"", 0, 0, HAlign::Left, VAlign::Top, false, kDefaultFont, false},
    {UnitRole::FolderLabel, L"标签1", 0x160104DB, UnitKind::Label, 11, 262, 56, 25, kVisible | kDisabled,
     L"安装目录", 0, kButtonFaceColour, HAlign::Centre, VAlign::Centre, false, kDefaultFont, false},
    {UnitRole::InstallButton, L"安装钮", 0x160104DA, UnitKind::Button, 414, 261, 70, 25, kVisible | kTabStop,
     L"开始安装", 0, 0, HAlign::Centre, VAlign::Centre, false, kDefaultFont, true},
    {UnitRole::PathEdit, L"编辑框1", 0x160104D9, UnitKind::EditBox, 80, 261, 271, 25, kVisible | kTabStop,
     L"", kWhite, kWhite, HAlign::Left, VAlign::Top, false, kDefaultFont, false},
    {UnitRole::BrowseButton, L"浏览钮", 0x160104D3, UnitKind::Button, 344, 261, 60, 25, kVisible | kTabStop,
     L"浏览", 0, 0, HAlign::Centre, VAlign::Centre, false, kDefaultFont, true},
}};
// clang-format on

}  // namespace

const std::array<UnitEntry, kUnitCount>& installerUnits() {
    return kUnits;
}

const UnitEntry& unitEntry(UnitRole role) {
    return kUnits[static_cast<size_t>(role)];
}

int controlIdOf(UnitRole role) {
    return kControlIdBase + static_cast<int>(role);
}

bool roleOfControlId(int id, UnitRole* role) {
    // The window itself (place 0) is no child control.
    if (id <= kControlIdBase || id >= kControlIdBase + kUnitCount) return false;
    *role = static_cast<UnitRole>(id - kControlIdBase);
    return true;
}

UINT labelTextFormat(HAlign h, VAlign v, bool wordWrap) {
    UINT format = DT_NOCLIP;
    format |= h == HAlign::Centre ? DT_CENTER : h == HAlign::Right ? DT_RIGHT : DT_LEFT;
    if (wordWrap) return format | DT_WORDBREAK | DT_VCENTER;
    return format | DT_SINGLELINE | (v == VAlign::Centre ? DT_VCENTER : v == VAlign::Bottom ? DT_BOTTOM : DT_TOP);
}

POINT centredOrigin(int screenWidth, int screenHeight, int width, int height) {
    return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

RECT termsLinkRect(int agreeTextWidth, int linkTextWidth, UINT dpi) {
    const UnitEntry& agree = unitEntry(UnitRole::AgreeLabel);
    const UnitEntry& link = unitEntry(UnitRole::TermsLinkLabel);
    const RECT box = scaledRect({link.x, link.y, link.x + link.width, link.y + link.height}, dpi);
    const int boxWidth = box.right - box.left;
    const int left = agreeTextWidth > 0 ? scaled(agree.x, dpi) + agreeTextWidth + scaled(kTermsLinkGap, dpi) : box.left;
    const int width = linkTextWidth > 0 && linkTextWidth < boxWidth ? linkTextWidth : boxWidth;
    return {left, box.top, left + width, box.bottom};
}

}  // namespace pelmora
