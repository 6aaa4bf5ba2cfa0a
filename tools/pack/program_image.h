// What the builder needs to know of the prebuilt installer it attaches a
// block to: that it is a Windows program image built as an installer stub,
// and where the image ends, so whatever follows (an earlier block, a
// signature) is left behind.
#pragma once

#include <cstdint>
#include <string>

#include "payload/zip_format.h"

namespace pelmora::pack {

// The text every installer stub carries in its image, so that the builder
// does not attach a package to just any program.
inline constexpr char kStubMarker[] = "PelmoraInstallerStub/1";

struct ProgramImage {
    std::uint64_t imageEnd = 0;  // the headers, every section's raw data and the symbol table
};

// Empty when `file` is an installer stub; otherwise why not.
std::string inspectStub(zip::ByteSource& file, ProgramImage* image);

}  // namespace pelmora::pack
