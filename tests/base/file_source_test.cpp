// Reading files at offsets, and what others may do with a file while it is read.
#include "base/file_source.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

using testing::TempFolder;

void writeFile(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
}

std::string alphabet(std::size_t n) {
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>('a' + i % 26);
    return bytes;
}

TEST(FileSourceTest, ReadsAtAnyOffsetInAnyOrder) {
    TempFolder temp;
    const std::string content = alphabet(100000);
    writeFile(temp / L"f", content);
    FileSource file;
    ASSERT_TRUE(file.open(temp / L"f", FileSharing::Read));
    EXPECT_EQ(file.size(), content.size());
    const struct {
        std::uint64_t offset;
        std::size_t n;
        bool ok;
    } reads[] = {
        {0, 10, true},        {10, 5000, true},  // continuing
        {90000, 10000, true},                    // forwards to the very end
        {3, 7, true},                            // backwards
        {100000, 0, true},                       // nothing, at the end
        {99999, 2, false},    {100001, 0, false}, {~0ull, 1, false},
    };
    for (const auto& r : reads) {
        SCOPED_TRACE(std::to_string(r.offset) + "+" + std::to_string(r.n));
        std::string got(r.n, '\0');
        ASSERT_EQ(file.readAt(r.offset, got.data(), r.n), r.ok);
        if (r.ok) {
            EXPECT_EQ(got, content.substr(static_cast<std::size_t>(r.offset), r.n));
        } else {
            EXPECT_EQ(file.error(), static_cast<DWORD>(ERROR_HANDLE_EOF));
        }
    }
}

TEST(FileSourceTest, AMissingFileSaysWhy) {
    TempFolder temp;
    FileSource file;
    EXPECT_FALSE(file.open(temp / L"missing", FileSharing::Read));
    EXPECT_EQ(file.error(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(file.isOpen());
    char byte = 0;
    EXPECT_FALSE(file.readAt(0, &byte, 1));
}

// Writing is kept out either way; renaming and deleting only under Read.
TEST(FileSourceTest, SharingDecidesWhatOthersMayDo) {
    for (const FileSharing sharing : {FileSharing::Read, FileSharing::ReadAndDelete}) {
        const bool deleteShared = sharing == FileSharing::ReadAndDelete;
        SCOPED_TRACE(deleteShared ? "read and delete" : "read");
        TempFolder temp;
        writeFile(temp / L"f", "content");
        FileSource file;
        ASSERT_TRUE(file.open(temp / L"f", sharing));

        UniqueFile reader(::CreateFileW((temp / L"f").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_TRUE(reader);
        reader.reset();
        UniqueFile writer(::CreateFileW((temp / L"f").c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
        EXPECT_FALSE(writer);
        EXPECT_EQ(::MoveFileW((temp / L"f").c_str(), (temp / L"g").c_str()) != FALSE, deleteShared);
        // Renamed away, the open file still reads as it was.
        std::string got(7, '\0');
        EXPECT_TRUE(file.readAt(0, got.data(), got.size()));
        EXPECT_EQ(got, "content");
    }
}

TEST(FileSourceTest, WholeFiles) {
    TempFolder temp;
    writeFile(temp / L"f", alphabet(3000));
    writeFile(temp / L"empty", "");
    std::string bytes = "old";
    ASSERT_TRUE(readWholeFile(temp / L"f", FileSharing::Read, 3000, &bytes));
    EXPECT_EQ(bytes, alphabet(3000));
    ASSERT_TRUE(readWholeFile(temp / L"empty", FileSharing::Read, 3000, &bytes));
    EXPECT_EQ(bytes, "");

    bytes = "kept";
    EXPECT_FALSE(readWholeFile(temp / L"f", FileSharing::Read, 2999, &bytes));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    EXPECT_FALSE(readWholeFile(temp / L"missing", FileSharing::Read, 3000, &bytes));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(bytes, "kept");
}

}  // namespace
}  // namespace pelmora
