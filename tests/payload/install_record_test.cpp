#include "payload/install_record.h"

#include <gtest/gtest.h>

#include <string>

namespace pelmora::record {
namespace {

InstallRecord sampleRecord() {
    InstallRecord r;
    r.productId = L"Pelmora☆Corvane";
    r.name = L"Pelmora☆Corvane";
    r.version = L"7.0.0.1";
    r.publisher = L"Pelmora 工作室";
    r.shortcut = L"Pelmora.lnk";
    r.entry = true;
    r.folders = {L"data", L"data\\图标 文件夹"};
    r.files = {{L"Pelmora.exe", 123456, 0xDEADBEEF}, {L"data\\图标 文件夹\\a b.ico", 0, 0}};
    r.texts = {{"uninstall", L"卸载"}, {"uninstallAsk", L"从 C:\\n\\x\r\n卸载\t{product}？"}};
    return r;
}

TEST(InstallRecordTest, WrittenRecordReadsBackTheSame) {
    const InstallRecord written = sampleRecord();
    InstallRecord read;
    ASSERT_EQ(parseRecord(formatRecord(written), &read), RecordResult::Ok);
    EXPECT_EQ(read.productId, written.productId);
    EXPECT_EQ(read.name, written.name);
    EXPECT_EQ(read.version, written.version);
    EXPECT_EQ(read.publisher, written.publisher);
    EXPECT_EQ(read.shortcut, written.shortcut);
    EXPECT_TRUE(read.entry);
    EXPECT_EQ(read.folders, written.folders);
    ASSERT_EQ(read.files.size(), 2u);
    EXPECT_EQ(read.files[0].path, L"Pelmora.exe");
    EXPECT_EQ(read.files[0].size, 123456u);
    EXPECT_EQ(read.files[0].crc, 0xDEADBEEFu);
    EXPECT_EQ(read.files[1].path, L"data\\图标 文件夹\\a b.ico");
    EXPECT_EQ(read.texts, written.texts);

    // Without a shortcut or entry, and without files, the record still holds.
    InstallRecord bare;
    bare.productId = L"x";
    ASSERT_EQ(parseRecord(formatRecord(bare), &read), RecordResult::Ok);
    EXPECT_TRUE(read.shortcut.empty());
    EXPECT_FALSE(read.entry);
}

// A record damaged on disk, cut short anywhere or with any byte changed, is
// refused whole: nothing of it may reach the uninstaller.
TEST(InstallRecordTest, CutOrChangedRecordsAreRefused) {
    const std::string bytes = formatRecord(sampleRecord());
    InstallRecord read;
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const RecordResult result = parseRecord(bytes.substr(0, size), &read);
        EXPECT_NE(result, RecordResult::Ok) << "cut at " << size;
        EXPECT_TRUE(read.files.empty() && read.folders.empty()) << "cut at " << size;
    }
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::string changed = bytes;
        changed[at] = static_cast<char>(changed[at] ^ 0x04);
        EXPECT_NE(parseRecord(changed, &read), RecordResult::Ok) << "byte " << at << " changed";
        EXPECT_TRUE(read.files.empty()) << "byte " << at << " changed";
    }
    EXPECT_EQ(parseRecord(bytes + "file\t1\t00000000\textra.txt\n", &read), RecordResult::Cut);
    EXPECT_EQ(parseRecord("PelmoraInstallRecord\t2\n", &read), RecordResult::NotARecord);
}

// Records with a correct checksum whose contents could lead the uninstaller
// outside its product folder, or that it cannot read: refused all the same.
TEST(InstallRecordTest, RecordsNamingPathsOutsideTheFolderAreRefused) {
    struct Case {
        const wchar_t* file;      // a recorded file's path (nullptr: the sample's)
        const wchar_t* folder;    // a recorded folder's path (nullptr: the sample's)
        const wchar_t* shortcut;  // nullptr: the sample's
        const wchar_t* id;        // nullptr: the sample's
        RecordResult expected;
    };
    const Case cases[] = {
        {L"..\\outside.txt", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"data\\..\\..\\outside.txt", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"C:\\Windows\\win.ini", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"C:win.ini", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"\\Windows\\win.ini", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"\\\\server\\share\\x", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"a.txt:stream", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"data/../../x", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"data\\.\\x", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"data\\\\x", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"data\\...\\x", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"data. \\x", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"NUL", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"data\\com1.txt", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"", nullptr, nullptr, nullptr, RecordResult::BadPath},
        {L"tab\there", nullptr, nullptr, nullptr, RecordResult::BadLine},
        {nullptr, L"..", nullptr, nullptr, RecordResult::BadPath},
        {nullptr, L"", nullptr, nullptr, RecordResult::BadPath},
        {nullptr, L"D:\\", nullptr, nullptr, RecordResult::BadPath},
        {nullptr, nullptr, L"..\\..\\Windows\\x.lnk", nullptr, RecordResult::BadPath},
        {nullptr, nullptr, L"sub\\x.lnk", nullptr, RecordResult::BadPath},
        {nullptr, nullptr, nullptr, L"", RecordResult::BadIdentity},
        {nullptr, nullptr, nullptr, L"Pelmora\\..\\Other", RecordResult::BadIdentity},
        {nullptr, nullptr, nullptr, L"line\nbreak", RecordResult::BadLine},
    };
    for (const Case& c : cases) {
        InstallRecord r = sampleRecord();
        if (c.file) r.files.push_back({c.file, 1, 1});
        if (c.folder) r.folders.push_back(c.folder);
        if (c.shortcut) r.shortcut = c.shortcut;
        if (c.id) r.productId = c.id;
        const std::string what = ::testing::PrintToString(std::wstring(c.file       ? c.file
                                                                       : c.folder   ? c.folder
                                                                       : c.shortcut ? c.shortcut
                                                                                    : c.id));
        InstallRecord read;
        EXPECT_EQ(parseRecord(formatRecord(r), &read), c.expected) << what;
        EXPECT_TRUE(read.files.empty()) << what;
    }
}

}  // namespace
}  // namespace pelmora::record
