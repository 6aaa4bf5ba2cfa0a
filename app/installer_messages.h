// What the installer says when something stands in the way: the captions and
// texts of its boxes and the captions of a failed installation. Paths are
// filled in by the functions below.
#pragma once

#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "app/disk_space.h"
#include "app/package_contents.h"

namespace pelmora {

inline constexpr wchar_t kErrorCaption[] = L"错误";

// The texts below come from the installer's package, the product's own
// Chinese texts where it has none.
inline std::wstring folderNotWritableText(const std::wstring& installDir) {
    return fillIn(ownPackage().windowText("folderNotWritable"), L"{path}", installDir);
}

inline std::wstring pathTooLongText(const std::wstring& installDir) {
    return fillIn(ownPackage().windowText("folderTooLong"), L"{path}", installDir);
}

inline std::wstring notEnoughSpaceText(const std::wstring& installDir, std::uint64_t needed, std::uint64_t free) {
    return L"磁盘空间不足：" + installDir + L"\r\n安装需要 " + sizeText(needed, Rounding::Up) + L"，可用空间只有 " +
           sizeText(free, Rounding::Down) + L"。\r\n请释放磁盘空间或选择其他安装目录。";
}

inline std::wstring linkInTheWayText(const std::wstring& link) {
    return L"安装目录中有链接：" + link + L"\r\n安装不会经过链接写入。请删除该链接或选择其他安装目录。";
}

inline std::wstring fileInTheWayText(const std::wstring& file) {
    return L"安装目录中已有同名文件：" + file + L"\r\n请删除或改名该文件，或选择其他安装目录。";
}

inline std::wstring otherInstallationText(const std::wstring& productFolder) {
    return L"另一个安装程序正在安装到：" + productFolder + L"\r\n请等它结束后再试。";
}

inline std::wstring fileInUseText(const std::wstring& file) {
    return fillIn(ownPackage().windowText("fileInUse"), L"{file}", file);
}

// `file`: what could not be written, or the product folder when that is not
// known. `leftover`: the first of this run's files that could not be removed
// again, empty when all of them are gone.
inline std::wstring installFailedText(const std::wstring& file, const std::wstring& leftover) {
    if (leftover.empty()) return fillIn(ownPackage().windowText("installFailedCleaned"), L"{file}", file);
    return fillIn(fillIn(ownPackage().windowText("installFailedLeftover"), L"{file}", file), L"{leftover}", leftover);
}

inline std::wstring archiveLeftText(const std::wstring& archive) {
    return fillIn(ownPackage().windowText("archiveNotDeleted"), L"{path}", archive);
}

// The options box of /?, and under the fault when the command line is wrong.
inline constexpr wchar_t kCommandLineCaption[] = L"命令行参数";
inline constexpr wchar_t kCommandLineUsage[] =
    L"用法：PelmoraSetup.exe [/S] [/NOSHORTCUT] [/LAUNCH] [/LOG=日志文件] [/D=安装目录]\r\n"
    L"\r\n"
    L"/S：静默安装，不显示窗口，视为已同意许可协议\r\n"
    L"/D=安装目录：须为完整路径，放在最后，可含空格，无须引号\r\n"
    L"/NOSHORTCUT：不创建桌面快捷方式\r\n"
    L"/LAUNCH：与 /S 同用，安装完成后启动程序\r\n"
    L"/LOG=日志文件：将安装的每一步记入 UTF-8 日志\r\n"
    L"/?：显示本说明\r\n"
    L"\r\n"
    L"退出代码：\r\n"
    L"0 安装完成　1 解压失败　2 安装包已损坏\r\n"
    L"3 无法写入安装目录或路径过长　4 磁盘空间不足\r\n"
    L"5 命令行有误　6 程序正在使用中\r\n"
    L"\r\n"
    L"卸载：uninstall.exe [/S] [/LOG=日志文件]\r\n"
    L"0 卸载完成　7 部分文件未能删除　8 卸载信息已损坏或缺失，未删除任何文件";

inline std::wstring commandLineFaultText(CommandLineError error, const std::wstring& offending) {
    switch (error) {
        case CommandLineError::None:
            return L"";
        case CommandLineError::UnknownOption:
            return L"无法识别的参数：" + offending;
        case CommandLineError::MissingValue:
            return L"参数缺少内容：" + offending;
        case CommandLineError::RelativeFolder:
            return L"安装目录须为完整路径：" + offending;
        case CommandLineError::RepeatedOption:
            return L"参数重复：" + offending;
        case CommandLineError::LaunchWithoutSilent:
            return L"/LAUNCH 只能与 /S 一起使用。";
        case CommandLineError::HelpWhenSilent:
            return L"/? 不能与 /S 一起使用。";
        case CommandLineError::FolderNotLast:
            return L"/D= 须放在命令行最后：" + offending;
        case CommandLineError::LogIsInstalled:
            return L"日志文件是安装要写入的文件：" + offending;
    }
    return offending;
}

inline std::wstring badCommandLineText(CommandLineError error, const std::wstring& offending) {
    return commandLineFaultText(error, offending) + L"\r\n\r\n" + kCommandLineUsage;
}

// The uninstaller's: its record cannot be read, so its texts are its own.
inline std::wstring recordDamagedText(const std::wstring& record) {
    return L"卸载信息已损坏或缺失：" + record + L"\r\n无法确认哪些文件属于本软件，未删除任何文件。";
}

inline std::wstring logNotWritableText(const std::wstring& file) {
    return L"无法写入日志文件：" + file + L"\r\n请检查 /LOG= 所给的路径。";
}

}  // namespace pelmora
