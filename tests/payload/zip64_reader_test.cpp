// The Win32 reader on 64-bit archives on disk: one of 70,000 entries and one
// with 64-bit local headers, both written by Python's zipfile, and a sparse
// archive of more than 4 GiB whose last entry lies past the 4 GiB mark.
#include <gtest/gtest.h>

#include "base/text.h"
#include "base/unique_resource.h"
#include "payload/zip_reader.h"
#include "tests/payload/tree_compare.h"
#include "tests/payload/zip_builder.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

using testing::TempFolder;

std::wstring fixture(const wchar_t* name) {
    return testing::buildDir() + L"\\tests\\payload\\zip64\\" + name;
}

using testing::fileText;

TEST(Zip64ReaderTest, SeventyThousandEntriesFromAnotherWriter) {
    ZipResult error = ZipResult::Ok;
    auto reader = ZipReader::open(fixture(L"many.zip"), &error);
    ASSERT_TRUE(reader) << zip::zipResultName(error);
    ASSERT_EQ(reader->entryCount(), 70000);
    TempFolder temp;
    for (int i : {0, 65535, 65536, 69999}) {
        ZipEntryInfo info;
        ASSERT_EQ(reader->getEntry(i, &info), ZipResult::Ok) << i;
        wchar_t name[32];
        swprintf(name, 32, L"d%02d/f%05d.txt", i / 1000, i);
        EXPECT_EQ(info.wideName, name);
        const std::wstring target = temp / (L"f" + std::to_wstring(i));
        ASSERT_EQ(reader->extractEntryToFile(i, target), ZipResult::Ok) << i;
        EXPECT_EQ(fileText(target), "file " + std::to_string(i) + "\n");
    }
}

TEST(Zip64ReaderTest, SixtyFourBitLocalHeaders) {
    ZipResult error = ZipResult::Ok;
    auto reader = ZipReader::open(fixture(L"forced.zip"), &error);
    ASSERT_TRUE(reader) << zip::zipResultName(error);
    TempFolder temp;
    std::string expected;
    for (int i = 0; i < 100; ++i) expected += "forced sixty-four\n";
    ASSERT_EQ(reader->extractEntryToFile(0, temp / L"a.txt"), ZipResult::Ok);
    EXPECT_EQ(fileText(temp / L"a.txt"), expected);
    ASSERT_EQ(reader->extractEntryToFile(1, temp / L"c.txt"), ZipResult::Ok);
    EXPECT_EQ(fileText(temp / L"c.txt"), "second");
}

// Writes `bytes` at `offset`; the gap before it stays a hole in the file.
bool writeAt(HANDLE file, std::uint64_t offset, const std::string& bytes) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD written = 0;
    return ::SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
           ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

TEST(Zip64ReaderTest, EntryBeyondTheFourGigabyteMark) {
    TempFolder temp;
    const std::wstring path = temp / L"large.zip";
    const std::uint64_t bigSize = (4ull << 30) + 4096;
    const std::string text = "past four gigabytes";
    testing::RawEntry big{"big.bin", 0, 0, bigSize, bigSize, 0};  // zeros, never read here
    big.deferUncompressed = big.deferCompressed = true;
    const std::string bigHeader = testing::rawLocalHeader(big);
    testing::RawEntry after{"after.txt", 0,           testing::crc32Of(text),
                            text.size(), text.size(), bigHeader.size() + bigSize};
    after.deferOffset = true;
    const std::string tail = testing::rawLocalHeader(after) + text;
    {
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file);
        ASSERT_TRUE(writeAt(file.get(), 0, bigHeader));
        ASSERT_TRUE(writeAt(file.get(), after.offset, tail));
        ASSERT_TRUE(writeAt(file.get(), after.offset + tail.size(),
                            testing::rawDirectoryAndEnd({big, after}, after.offset + tail.size())));
    }
    ZipResult error = ZipResult::Ok;
    auto reader = ZipReader::open(path, &error);
    ASSERT_TRUE(reader) << zip::zipResultName(error);
    ASSERT_EQ(reader->entryCount(), 2);
    ZipEntryInfo info;
    ASSERT_EQ(reader->getEntry(0, &info), ZipResult::Ok);
    EXPECT_EQ(info.uncompressedSize, bigSize);
    ASSERT_EQ(reader->extractEntryToFile(1, temp / L"after.txt"), ZipResult::Ok);
    EXPECT_EQ(fileText(temp / L"after.txt"), text);
}

}  // namespace
}  // namespace pelmora
