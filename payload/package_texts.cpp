#include "payload/package_texts.h"

#include <iterator>

namespace pelmora::package {
namespace {

constexpr TextEntry kTexts[] = {
    {"agree", "我已阅读并同意", TextForm::Line, ""},
    {"termsLink", "《许可协议》", TextForm::Line, ""},
    {"folderLabel", "安装目录", TextForm::Line, ""},
    {"browse", "浏览", TextForm::Line, ""},
    {"install", "开始安装", TextForm::Line, ""},
    {"browseTitle", "请选择安装路径", TextForm::Line, ""},
    {"informationCaption", "软件信息", TextForm::Line, ""},
    {"installing", "安装中···", TextForm::Line, ""},
    {"statusExtracting", "解压文件 ", TextForm::Line, ""},
    {"statusWriting", "写入文件 ", TextForm::Line, ""},
    {"statusInstalling", "正在安装 ", TextForm::Line, ""},
    {"statusDone", "已完成 ", TextForm::Line, ""},
    {"statusFailed", "安装失败 ", TextForm::Line, ""},
    {"finish", "退出并启动", TextForm::Line, ""},
    {"exit", "退出", TextForm::Line, ""},
    {"systemVersion", "系统版本：", TextForm::Line, ""},
    {"year", "年", TextForm::Line, ""},
    {"month", "月", TextForm::Line, ""},
    {"day", "日", TextForm::Line, ""},
    {"hour", "时", TextForm::Line, ""},
    {"minute", "分", TextForm::Line, ""},
    {"second", "秒", TextForm::Line, ""},
    {"errorCaption", "错误", TextForm::Line, ""},
    {"noticeCaption", "提示", TextForm::Line, ""},
    {"folderNotWritable", "无法写入安装目录：{path}\r\n请选择其他安装目录。", TextForm::Lines, "{path}"},
    {"folderTooLong", "安装目录的路径过长：{path}\r\n请选择路径较短的安装目录。", TextForm::Lines, "{path}"},
    {"fileInUse", "文件正在使用中：{file}\r\n请关闭正在使用该文件的程序后重试。", TextForm::Lines, "{file}"},
    {"installFailedCleaned", "无法将文件安装到：{file}\r\n安装未完成，本次安装新建的文件已全部删除。", TextForm::Lines,
     "{file}"},
    {"installFailedLeftover", "无法将文件安装到：{file}\r\n安装未完成，本次安装新建的部分文件未能删除：{leftover}",
     TextForm::Lines, "{file}{leftover}"},
    {"archiveNotDeleted", "安装已完成，但安装包未能删除：{path}\r\n请手动删除该文件。", TextForm::Lines, "{path}"},
    // The window's line when the product is installed already, and the
    // question before an older version replaces a newer one.
    {"upgradeLine", "已安装版本 {old}，将更新为 {new}", TextForm::Line, "{old}{new}"},
    {"reinstallLine", "已安装版本 {old}，将重新安装", TextForm::Line, "{old}"},
    {"downgradeAsk", "已安装较新的版本 {old}。\r\n确定要以较旧的版本 {new} 替换它吗？", TextForm::Lines, "{old}{new}"},
    // The uninstaller's: carried in the install record, since the
    // uninstaller is the stub without the package.
    {"uninstallCaption", "软件卸载向导", TextForm::Line, ""},
    {"uninstallAsk", "即将卸载 {product}\r\n安装目录：{path}", TextForm::Lines, "{product}{path}"},
    {"uninstall", "卸载", TextForm::Line, ""},
    {"cancel", "取消", TextForm::Line, ""},
    {"uninstalling", "正在卸载 {product}", TextForm::Line, "{product}"},
    {"uninstallDone", "{product} 已卸载。", TextForm::Line, "{product}"},
    {"uninstallFolderKept", "以下目录中有不属于本软件的文件，已保留：{path}", TextForm::Line, "{path}"},
    {"uninstallFileInUse", "文件正在使用中：{file}\r\n请关闭正在使用该文件的程序后重试。", TextForm::Lines, "{file}"},
    {"uninstallIncomplete", "卸载未完成，以下文件未能删除：{leftover}\r\n可在关闭相关程序后再次卸载。", TextForm::Lines,
     "{leftover}"},
};

}  // namespace

const TextEntry* windowTexts(std::size_t* count) {
    *count = std::size(kTexts);
    return kTexts;
}

const TextEntry* findWindowText(std::string_view key) {
    for (const TextEntry& t : kTexts) {
        if (key == t.key) return &t;
    }
    return nullptr;
}

}  // namespace pelmora::package
