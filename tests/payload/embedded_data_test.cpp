// The embedded data as this test program carries it: the start-up check
// reads the archive from the program's file, found through the section
// headers, and must see the same bytes the image maps.
#include "payload/embedded_data.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

// Lives in .bss: mapped memory with nothing behind it in the file.
char zeroFilled[8192];

std::string programFile() {
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::string bytes;
    testing::readFileBytes(std::wstring(path, n), &bytes);
    return bytes;
}

TEST(EmbeddedDataTest, EmbeddedBytesAreFoundInTheProgramFile) {
    const std::string file = programFile();
    ASSERT_FALSE(file.empty());
    const HMODULE image = ::GetModuleHandleW(nullptr);
    const struct {
        const char* what;
        ByteView bytes;
    } cases[] = {
        {"archive", payloadArchive()},
        {"background", backgroundPng()},
        {"icon", iconPng()},
        {"archive, last byte alone", {payloadArchive().data + payloadArchive().size - 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::uint64_t offset = 0;
        ASSERT_TRUE(imageFileOffset(image, c.bytes.data, c.bytes.size, &offset));
        ASSERT_LE(offset + c.bytes.size, file.size());
        EXPECT_TRUE(file.compare(static_cast<std::size_t>(offset), c.bytes.size,
                                 reinterpret_cast<const char*>(c.bytes.data), c.bytes.size) == 0)
            << "the bytes at the file offset differ from the mapped ones";
    }
}

TEST(EmbeddedDataTest, AddressesWithoutBytesInTheFileAreNotPlaced) {
    const HMODULE image = ::GetModuleHandleW(nullptr);
    const ByteView archive = payloadArchive();
    std::uint64_t offset = 0;
    EXPECT_FALSE(imageFileOffset(image, zeroFilled, sizeof zeroFilled, &offset)) << "zero-filled section";
    EXPECT_FALSE(imageFileOffset(image, archive.data, archive.size + 64 * 1024 * 1024, &offset))
        << "runs past the section's data";
    EXPECT_FALSE(imageFileOffset(image, reinterpret_cast<const std::uint8_t*>(image) - 16, 4, &offset))
        << "before the image";
    const char notAnImage[512] = {};
    EXPECT_FALSE(imageFileOffset(notAnImage, notAnImage + 8, 4, &offset)) << "no image headers";
}

TEST(EmbeddedDataTest, ThePayloadChecksOutFromTheFile) {
    EXPECT_TRUE(payloadArchiveIntact());
}

}  // namespace
}  // namespace pelmora
