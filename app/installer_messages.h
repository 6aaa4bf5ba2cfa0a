// What the installer says when something stands in the way: the captions and
// texts of its boxes and the captions of a failed installation. Paths are
// filled in by the functions below.
#pragma once

#include <string>

namespace pelmora {

inline constexpr wchar_t kErrorCaption[] = L"错误";
inline constexpr wchar_t kNoticeCaption[] = L"提示";
inline constexpr wchar_t kFailedStatus[] = L"安装失败 ";
inline constexpr wchar_t kFailedCaption[] = L"退出";

inline std::wstring folderNotWritableText(const std::wstring& installDir) {
    return L"无法写入安装目录：" + installDir + L"\r\n请选择其他安装目录。";
}

inline std::wstring pathTooLongText(const std::wstring& installDir) {
    return L"安装目录的路径过长：" + installDir + L"\r\n请选择路径较短的安装目录。";
}

inline std::wstring fileInUseText(const std::wstring& file) {
    return L"文件正在使用中：" + file + L"\r\n请关闭正在使用该文件的程序后重试。";
}

// `file`: what could not be written, or the product folder when that is not
// known. `leftover`: the first of this run's files that could not be removed
// again, empty when all of them are gone.
inline std::wstring installFailedText(const std::wstring& file, const std::wstring& leftover) {
    std::wstring text = L"无法将文件安装到：" + file + L"\r\n安装未完成，";
    if (leftover.empty()) return text + L"本次安装新建的文件已全部删除。";
    return text + L"本次安装新建的部分文件未能删除：" + leftover;
}

inline std::wstring archiveLeftText(const std::wstring& archive) {
    return L"安装已完成，但安装包未能删除：" + archive + L"\r\n请手动删除该文件。";
}

}  // namespace pelmora
