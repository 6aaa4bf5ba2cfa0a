// Program end: the registered exit clean-up, then the process ends. Also the
// one fatal error report of the program.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

// Clean-up steps run by endProgram, in the order they were registered.
void registerExitCleanup(std::function<void()> step);
void runExitCleanup();  // runs (and forgets) every registered step once

[[noreturn]] void endProgram(int exitCode);

// "运行时出错!" box text: the message, with the error code when one is given.
std::wstring fatalErrorText(std::wstring_view message, std::optional<int> code = std::nullopt);
std::wstring allocationFailureMessage(std::size_t bytes);  // "分配 %d 字节内存失败!"

// Whether a fatal error shows its box before the program ends (the default).
// An unattended run that must show nothing turns it off.
void setFatalErrorBoxShown(bool shown);

// Shows the fatal error box (no owner, caption "错误", error icon) and ends the
// program with exit code -1.
[[noreturn]] void fatalError(std::wstring_view message, std::optional<int> code = std::nullopt);

// The same box for an allocation that could not be served; builds its text
// without touching the heap.
[[noreturn]] void fatalAllocationFailure(std::size_t bytes);

}  // namespace pelmora
