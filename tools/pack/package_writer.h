// Writes the installer: the stub's program image, then the package block
// (payload archive, texts, pictures, directory, trailer). Everything goes to
// a temporary file beside the output, which replaces the output only once it
// is complete, so a failed build leaves no half-written installer behind.
#pragma once

#include <string>

#include "tools/pack/pack_plan.h"
#include "tools/pack/progress.h"

namespace pelmora::pack {

bool writePackage(const PackPlan& plan, ProgressBar& progress, std::string* error);

// The temporary file being written, if any, for a signal handler to remove
// (null otherwise). Points at storage that lives as long as the program.
const NativePath::value_type* partialOutput();

}  // namespace pelmora::pack
