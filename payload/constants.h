// The installer's texts and paths. Every text is the product's own; inside the
// program texts are UTF-16 (see base/text.h for the code-page-936 boundary).
#pragma once

namespace pelmora {

inline constexpr wchar_t kInstallingCaption[] = L"安装中···";
inline constexpr double kFadeBase = 255.0;
inline constexpr wchar_t kProgramPathSuffix[] = L"\\Pelmora\\Pelmora☆Corvane.exe";
inline constexpr wchar_t kPercentSuffix[] = L" %";
inline constexpr wchar_t kStatusAt40[] = L"写入文件 ";
inline constexpr wchar_t kArchiveSuffix[] = L"\\Pelmora.zip";
inline constexpr wchar_t kFolderSuffix[] = L"\\Pelmora";
inline constexpr wchar_t kStatusAt70[] = L"正在安装 ";
inline constexpr wchar_t kFinalPercentage[] = L"100 %";
inline constexpr wchar_t kFinalStatus[] = L"已完成 ";
inline constexpr wchar_t kFinalCaption[] = L"退出并启动";
inline constexpr wchar_t kShortcutName[] = L"Pelmora";
inline constexpr wchar_t kDefaultFolder[] = L"C:\\Program Files";
inline constexpr wchar_t kBrowseTitle[] = L"请选择安装路径";
inline constexpr wchar_t kInformationCaption[] = L"软件信息";
inline constexpr wchar_t kProgramEntryName[] = L"Pelmora☆Corvane.exe";

// The software information shown by the terms link: five lines separated by
// CR LF, 395 bytes in code page 936.
inline constexpr wchar_t kInformationText[] =
    L"当前版本：2020—2021年　Pelmora 7.0.0.1\r\n"
    L"\r\n"
    L"本软件及其全部相关资料（包括但不限于程序、图像、音效、文字说明与配置文件）的著作权及其他一切权利均归本软件作者所"
    L"有，"
    L"受著作权法及相关国际条约保护。未经作者书面同意，任何单位或个人不得以任何形式复制、修改、破解、反向工程、出租、"
    L"转售或传播本软件及其任何部分，亦不得将其用于任何其他用途，违者必究。安装即视为同意本协议各条款。\r\n"
    L"\r\n"
    L"软件最终解释权归作者所有。";

}  // namespace pelmora
