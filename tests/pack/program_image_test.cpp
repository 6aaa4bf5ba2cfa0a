// The builder reads both kinds of installer stub: a 32-bit (PE32) and a
// 64-bit (PE32+) Windows program, and refuses images for other processors or
// with headers that disagree.
#include "tools/pack/program_image.h"

#include <gtest/gtest.h>

#include "tests/pack/pack_test_support.h"

namespace pelmora::pack {
namespace {

struct StubCase {
    const char* name;
    std::uint16_t machine;
    std::uint16_t magic;
    const char* problem;  // empty: accepted
    StubArchitecture architecture;
};

TEST(ProgramImageTest, ReadsTheArchitectureOfEitherStub) {
    const StubCase cases[] = {
        {"x86 (PE32)", 0x014C, 0x010B, "", StubArchitecture::X86},
        {"x64 (PE32+)", 0x8664, 0x020B, "", StubArchitecture::X64},
        {"ARM64", 0xAA64, 0x020B, "a Windows program for another processor (machine 0xAA64)", StubArchitecture::X86},
        {"i386 machine, PE32+ header", 0x014C, 0x020B, "the program image is damaged", StubArchitecture::X86},
        {"amd64 machine, PE32 header", 0x8664, 0x010B, "the program image is damaged", StubArchitecture::X86},
    };
    for (const StubCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string image = testing::fakeStub(true, "overlay after the image", c.machine, c.magic);
        zip::MemorySource source(image.data(), image.size());
        ProgramImage read;
        read.architecture = c.architecture == StubArchitecture::X86 ? StubArchitecture::X64 : StubArchitecture::X86;
        const std::string problem = inspectStub(source, &read);
        if (*c.problem) {
            EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
            continue;
        }
        EXPECT_EQ(problem, "");
        EXPECT_EQ(read.architecture, c.architecture);
        // The image ends where its one section does; the overlay is not part of it.
        EXPECT_EQ(read.imageEnd, 0x400u);
    }
    EXPECT_STREQ(architectureName(StubArchitecture::X86), "32-bit Windows (x86)");
    EXPECT_STREQ(architectureName(StubArchitecture::X64), "64-bit Windows (x64)");
}

}  // namespace
}  // namespace pelmora::pack
