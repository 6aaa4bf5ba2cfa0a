// The installer builder: reads a description file and options, checks every
// input, and writes an installer made of a prebuilt installer stub and a
// package block. Exit status: 0 made, 1 failed while writing, 2 the command
// line or description cannot be understood, 3 an input cannot be used, 130
// interrupted (Ctrl+C, a termination request, the terminal closing); on any
// failure no output file is left behind.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "tools/pack/pack_run.h"
#include "tools/pack/pack_settings.h"
#include "tools/pack/progress.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pelmora::pack {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;

#ifndef _WIN32
// Only noted here: the build notices, stops and removes its partial file.
extern "C" void onInterrupt(int) {
    gInterrupted = 1;
}
#else
// Ctrl+C in a console arrives on a thread of its own; returning TRUE keeps
// the process alive until the build has cleaned up.
BOOL WINAPI onConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
    gInterrupted = 1;
    return TRUE;
}
#endif

NativePath ownFolder() {
#ifdef _WIN32
    std::wstring path(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n);
    return NativePath(path).parent_path();
#else
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
#endif
}

int run(const std::vector<std::string>& args) {
    std::error_code ec;
    RunSettings settings;
    settings.currentFolder = std::filesystem::current_path(ec);
    settings.stubFolder = ownFolder();
    settings.progress = stderr;
    settings.interactive = isTerminal(stderr);
    settings.interrupted = &gInterrupted;
    std::string messages;
    const int status = runPack(args, settings, &messages);
    std::fputs(messages.c_str(), status == 0 ? stdout : stderr);
    return status;
}

}  // namespace
}  // namespace pelmora::pack

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    // Messages are UTF-8; a console shows them as such only when told.
    ::SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        std::string utf8;
        if (!pelmora::utf8FromUtf16(argv[i], &utf8)) {
            std::fprintf(stderr, "pack: argument %d cannot be encoded as UTF-8\n", i);
            return static_cast<int>(pelmora::pack::ExitCode::Usage);
        }
        args.push_back(utf8);
    }
#else
int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
#endif
#ifdef _WIN32
    ::SetConsoleCtrlHandler(pelmora::pack::onConsoleControl, TRUE);
#else
    std::signal(SIGINT, pelmora::pack::onInterrupt);
    std::signal(SIGTERM, pelmora::pack::onInterrupt);
    // Sent when the terminal closes; its default action would end the
    // process with the partial file still there.
    std::signal(SIGHUP, pelmora::pack::onInterrupt);
#endif
    return pelmora::pack::run(args);
}
