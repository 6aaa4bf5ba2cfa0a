// Writes the installer: the stub's program image, then the package block
// (payload archive, texts, pictures, directory, trailer). Everything goes to
// a temporary file beside the output, which replaces the output only once it
// is complete, so a failed build leaves no half-written installer behind.
#pragma once

#include <functional>
#include <string>

#include "tools/pack/pack_plan.h"
#include "tools/pack/progress.h"

namespace pelmora::pack {

// stopRequested is asked as the work goes on; true ends the build.
bool writePackage(const PackPlan& plan, ProgressBar& progress, const std::function<bool()>& stopRequested,
                  std::string* error);

}  // namespace pelmora::pack
