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

// The Windows an installer stub runs on: the product's installer is the 32-bit
// one; a 64-bit stub makes an installer for 64-bit Windows only.
enum class StubArchitecture { X86, X64 };

// "32-bit Windows (x86)" or "64-bit Windows (x64)", for the builder's messages.
const char* architectureName(StubArchitecture architecture);

struct ProgramImage {
    std::uint64_t imageEnd = 0;  // the headers, every section's raw data and the symbol table
    StubArchitecture architecture = StubArchitecture::X86;
};

// Empty when `file` is an installer stub for x86 (PE32) or x64 (PE32+)
// Windows; otherwise why not.
std::string inspectStub(zip::ByteSource& file, ProgramImage* image);

}  // namespace pelmora::pack
