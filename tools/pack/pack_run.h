// One run of the builder, from its arguments to its exit status, without
// touching the process: the command-line program and the tests share it.
#pragma once

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/pack/files.h"

namespace pelmora::pack {

struct RunSettings {
    NativePath currentFolder;       // relative paths on the command line start here
    NativePath stubFolder;          // where the default stub is looked for
    std::FILE* progress = nullptr;  // the progress bar goes here (null: none)
    bool interactive = false;       // redraw the bar in place
    // Set (from a signal handler) to stop the build: it then ends as soon as
    // it notices, leaving nothing behind. Null: never.
    const volatile std::sig_atomic_t* interrupted = nullptr;
};

// The exit status (see ExitCode); messages for people are appended to *messages, one a line.
int runPack(const std::vector<std::string>& args, const RunSettings& settings, std::string* messages);

}  // namespace pelmora::pack
