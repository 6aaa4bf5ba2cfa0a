#include "services/program_end.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace pelmora {
namespace {

bool fatalErrorBoxShown = true;

std::vector<std::function<void()>>& cleanupSteps() {
    static std::vector<std::function<void()>> steps;
    return steps;
}

}  // namespace

void registerExitCleanup(std::function<void()> step) {
    cleanupSteps().push_back(std::move(step));
}

void runExitCleanup() {
    // Taken out first, so a step that ends the program again cannot run twice.
    auto steps = std::move(cleanupSteps());
    cleanupSteps().clear();
    for (auto& step : steps) step();
}

void endProgram(int exitCode) {
    runExitCleanup();
    ::ExitProcess(static_cast<UINT>(exitCode));
}

std::wstring fatalErrorText(std::wstring_view message, std::optional<int> code) {
    std::wstring text = L"运行时出错!\r\n\r\n";
    if (code) text += L"错误代码：" + std::to_wstring(*code) + L"\r\n\r\n";
    text += L"错误信息：";
    text += message;
    text += L"\r\n";
    return text;
}

std::wstring allocationFailureMessage(std::size_t bytes) {
    return L"分配 " + std::to_wstring(bytes) + L" 字节内存失败!";
}

void setFatalErrorBoxShown(bool shown) {
    fatalErrorBoxShown = shown;
}

void fatalAllocationFailure(std::size_t bytes) {
    if (!fatalErrorBoxShown) ::ExitProcess(static_cast<UINT>(-1));
    wchar_t text[128];
    // A 64-bit request can exceed 4 GiB: the count goes whole, not cut to 32 bits.
    std::swprintf(text, 128, L"运行时出错!\r\n\r\n错误信息：分配 %llu 字节内存失败!\r\n",
                  static_cast<unsigned long long>(bytes));
    ::MessageBoxW(nullptr, text, L"错误", MB_ICONERROR);
    ::ExitProcess(static_cast<UINT>(-1));
}

void fatalError(std::wstring_view message, std::optional<int> code) {
    if (fatalErrorBoxShown) ::MessageBoxW(nullptr, fatalErrorText(message, code).c_str(), L"错误", MB_ICONERROR);
    endProgram(-1);
}

}  // namespace pelmora
