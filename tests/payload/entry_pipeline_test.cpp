// Extraction with reading and writing on separate threads: data that spans
// many pool blocks comes out exactly, in order, whichever worker read it, a failure on either side ends the run with 0
// and leaves no file under the failing entry's name, and no run leaves a
// thread or handle behind.
#include "payload/entry_pipeline.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "base/text.h"
#include "base/unique_resource.h"
#include "base/win32_util.h"
#include "payload/extract_archive.h"
#include "tests/payload/tree_compare.h"
#include "tests/payload/zip_builder.h"
#include "tests/support/temp_folder.h"

namespace pelmora {
namespace {

using testing::buildZip;
using testing::fileExists;
using testing::TempFolder;
using testing::TestEntry;

constexpr std::size_t kBlock = EntryPipeline::kBlockSize;
// More data than the whole pool holds, so a worker is still waiting for a
// free block when the writing side stops.
constexpr std::size_t kMoreThanThePool = (EntryPipeline::kBlocks + 3) * kBlock + 12345;

using testing::fileText;

// Bytes that deflate well but not trivially, different for every seed.
std::string pattern(std::size_t size, unsigned seed) {
    std::string s(size, '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (std::size_t i = 0; i < size; ++i) {
        if (i % 64 == 0) x = x * 1664525u + 1013904223u;
        s[i] = static_cast<char>('a' + ((x >> ((i % 4) * 8)) + i / 64) % 26);
    }
    return s;
}

int threadsOfThisProcess() {
    UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more; more = ::Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) ++count;
    }
    return count;
}

// The system's handle list, counted for this process.
int handlesInSystemList() {
    struct Handle {
        ULONG process;
        BYTE type, flags;
        USHORT value;
        void* object;
        ACCESS_MASK access;
    };
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    const auto query = systemProc<Query>(L"ntdll.dll", "NtQuerySystemInformation");
    if (!query) return -1;
    std::vector<char> buffer(1 << 20);
    LONG status;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), nullptr)) ==
           kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) return -1;
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* handles = reinterpret_cast<const Handle*>(buffer.data() + sizeof(void*));
    int mine = 0;
    for (ULONG i = 0; i < count; ++i) {
        if (handles[i].process == ::GetCurrentProcessId()) ++mine;
    }
    return mine;
}

// GetProcessHandleCount, or the system's list where that reports nothing
// (Wine answers 0).
int handlesOfThisProcess() {
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count > 0) return static_cast<int>(count);
    return handlesInSystemList();
}

// Sizes around the block size and past the pool's end, stored and deflated,
// in one archive: every byte must arrive, in order, in the right file.
TEST(EntryPipelineTest, EntriesOfEverySizeAcrossBlocksComeOutExactly) {
    const std::size_t sizes[] = {0, 1, kBlock - 1, kBlock, kBlock + 1, 3 * kBlock, kMoreThanThePool};
    std::vector<TestEntry> entries;
    unsigned seed = 1;
    for (bool deflate : {true, false}) {
        for (std::size_t size : sizes) {
            const std::string name = std::string(deflate ? "deflated/" : "stored/") + std::to_string(size) + ".bin";
            entries.emplace_back(name, pattern(size, seed++), deflate);
        }
    }
    entries.push_back(testing::folderEntry("empty folder/"));
    entries.emplace_back("last.txt", "last");
    TempFolder temp;
    ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", buildZip(entries).bytes));
    ArchiveUnit unit;
    std::vector<int> reports;
    unit.setProgressHandler([&](const ExtractProgress& event) {
        reports.push_back(progressPercent(event));
        return true;
    });
    ASSERT_EQ(unit.extractArchive(temp / L"a.zip", temp / L"out"), 1) << utf8FromWide(unit.lastError());
    for (const TestEntry& e : entries) {
        if (e.name.back() == '/') continue;
        std::wstring path = temp / (L"out\\" + wideFromUtf8(e.name));
        for (wchar_t& c : path) {
            if (c == L'/') c = L'\\';
        }
        const std::string got = fileText(path);
        EXPECT_EQ(got.size(), e.data.size()) << e.name;
        EXPECT_TRUE(got == e.data) << e.name << ": contents differ";
    }
    EXPECT_TRUE(testing::folderExists(temp / L"out\\empty folder"));
    EXPECT_EQ(reports.size(), entries.size() + 1);
    EXPECT_EQ(reports.back(), 100);
}

// Entries larger than the whole pool one after another, then between tiny
// ones and folders: the worker ahead must never take the block the entry
// being written still needs, and every entry lands in its own file.
TEST(EntryPipelineTest, EntriesLargerThanThePoolInARowComeOutInOrder) {
    std::vector<TestEntry> entries;
    unsigned seed = 100;
    for (int i = 0; i < 3; ++i)
        entries.emplace_back("run/" + std::to_string(i), pattern(kMoreThanThePool, seed++), false);
    for (int i = 0; i < 3; ++i) {
        entries.emplace_back("mixed/tiny" + std::to_string(i), pattern(i, seed++));
        entries.push_back(testing::folderEntry("mixed/folder" + std::to_string(i) + "/"));
        entries.emplace_back("mixed/big" + std::to_string(i), pattern(kMoreThanThePool + i, seed++), i % 2 == 0);
    }
    TempFolder temp;
    ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip", buildZip(entries).bytes));
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        const std::wstring dest = temp / (L"out" + std::to_wstring(round));
        ArchiveUnit unit;
        ASSERT_EQ(unit.extractArchive(temp / L"a.zip", dest), 1) << utf8FromWide(unit.lastError());
        for (const TestEntry& e : entries) {
            if (e.name.back() == '/') continue;
            std::wstring path = dest + L"\\" + wideFromUtf8(e.name);
            std::replace(path.begin(), path.end(), L'/', L'\\');
            EXPECT_TRUE(fileText(path) == e.data) << e.name << ": contents differ";
        }
        testing::removeTree(dest);
    }
}

// The reading side fails inside an entry larger than the pool, after blocks
// of it were written: the run ends with 0, the entry's file is gone, entries
// before it stay and nothing after it is made.
TEST(EntryPipelineTest, DataFailingAfterBlocksWereWrittenLeavesNoFile) {
    const std::string big = pattern(kMoreThanThePool, 7);
    const std::string deflated = testing::rawDeflate(big);
    std::vector<std::pair<const char*, TestEntry>> cases;
    TestEntry e{"big.bin", big};
    e.crc = testing::crc32Of(big) ^ 1;
    cases.push_back({"deflated, CRC differs", e});
    e = TestEntry{"big.bin", big, false};
    e.crc = testing::crc32Of(big) ^ 1;
    cases.push_back({"stored, CRC differs", e});
    e = TestEntry{"big.bin", big};
    e.uncompressedSize = static_cast<std::uint32_t>(big.size() + 1);
    cases.push_back({"stream ends before the declared size", e});
    e = TestEntry{"big.bin", big};
    e.payloadOverride = deflated.substr(0, deflated.size() * 3 / 4) + std::string(deflated.size() / 4, '\xFF');
    cases.push_back({"stream damaged three quarters in", e});
    for (const auto& [what, entry] : cases) {
        SCOPED_TRACE(what);
        TempFolder temp;
        const std::wstring dest = temp / L"out";
        ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip",
                                            buildZip({{"first.txt", "first"}, entry, {"after.txt", "after"}}).bytes));
        ArchiveUnit unit;
        EXPECT_EQ(unit.extractArchive(temp / L"a.zip", dest), 0);
        EXPECT_EQ(fileText(dest + L"\\first.txt"), "first");
        EXPECT_FALSE(fileExists(dest + L"\\big.bin"));
        EXPECT_FALSE(fileExists(dest + L"\\after.txt"));
        EXPECT_NE(unit.lastError().find(L"big.bin"), std::wstring::npos) << utf8FromWide(unit.lastError());
    }
}

// The writing side fails while the worker is ahead, waiting for a free
// block: a file held open by another program cannot be replaced. The run ends
// with 0, the other program's file stays as it was, and nothing after it is
// made. (A file that fails part-way through writing: see the disk-full test.)
TEST(EntryPipelineTest, AFileHeldOpenElsewhereStopsBothSides) {
    const std::string big = pattern(kMoreThanThePool, 3);
    TempFolder temp;
    const std::wstring dest = temp / L"out";
    ASSERT_TRUE(::CreateDirectoryW(dest.c_str(), nullptr));
    ASSERT_TRUE(testing::writeFileBytes(
        temp / L"a.zip", buildZip({{"first.txt", "first"}, {"big.bin", big}, {"after.bin", big}}).bytes));
    ASSERT_TRUE(testing::writeFileBytes(dest + L"\\big.bin", "held by someone else"));
    UniqueFile holder(
        ::CreateFileW((dest + L"\\big.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);

    ArchiveUnit unit;
    EXPECT_EQ(unit.extractArchive(temp / L"a.zip", dest), 0);
    EXPECT_NE(unit.lastError().find(L"big.bin"), std::wstring::npos) << utf8FromWide(unit.lastError());
    holder.reset();
    EXPECT_EQ(fileText(dest + L"\\first.txt"), "first");
    EXPECT_EQ(fileText(dest + L"\\big.bin"), "held by someone else");
    EXPECT_FALSE(fileExists(dest + L"\\after.bin"));
}

// Success, a failure on each side and a cancel part-way, each run many
// times: every run ends its worker and closes everything it opened.
TEST(EntryPipelineTest, RunsLeaveNoThreadOrHandleBehind) {
    TempFolder temp;
    const std::string big = pattern(kMoreThanThePool, 5);
    TestEntry badCrc{"bad.bin", big};
    badCrc.crc = 1;
    ASSERT_TRUE(testing::writeFileBytes(temp / L"good.zip",
                                        buildZip({{"a.txt", "a"}, {"big.bin", big}, {"more.bin", big}}).bytes));
    ASSERT_TRUE(testing::writeFileBytes(temp / L"bad.zip", buildZip({{"a.txt", "a"}, badCrc, {"b.txt", "b"}}).bytes));
    const std::wstring held = temp / L"held";
    ASSERT_TRUE(::CreateDirectoryW(held.c_str(), nullptr));
    ASSERT_TRUE(testing::writeFileBytes(held + L"\\big.bin", "held"));
    UniqueFile holder(
        ::CreateFileW((held + L"\\big.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);

    struct Run {
        const char* what;
        const wchar_t* archive;
        const wchar_t* dest;
        bool cancelAtFirst;
        int result;
    };
    const Run runs[] = {
        {"success", L"good.zip", L"fresh", false, 1},
        {"reading side fails", L"bad.zip", L"fresh", false, 0},
        {"writing side fails", L"good.zip", L"held", false, 0},
        {"cancelled at the first entry", L"good.zip", L"fresh", true, 1},
    };
    auto runAll = [&] {
        for (const Run& r : runs) {
            const std::wstring dest = temp / r.dest;
            if (std::wstring(r.dest) == L"fresh") testing::removeTree(dest);
            ArchiveUnit unit;
            if (r.cancelAtFirst) unit.setProgressHandler([](const ExtractProgress&) { return false; });
            EXPECT_EQ(unit.extractArchive(temp / r.archive, dest), r.result) << r.what;
        }
    };
    runAll();  // the first run may set up what the process keeps for later ones
    const int threads = threadsOfThisProcess();
    const int handles = handlesOfThisProcess();
    ASSERT_GT(threads, 0);
    ASSERT_GT(handles, 0);
    for (int i = 0; i < 10; ++i) runAll();
    EXPECT_EQ(threadsOfThisProcess(), threads);
    EXPECT_EQ(handlesOfThisProcess(), handles);
}

struct SeamReset {
    ~SeamReset() { EntryPipeline::workerSourceSeam = nullptr; }
};

// Reads of the archive from `failFrom` on fail as a device error would.
class FailingSource final : public zip::ByteSource {
public:
    FailingSource(std::unique_ptr<zip::ByteSource> inner, std::uint64_t failFrom)
        : inner_(std::move(inner)), failFrom_(failFrom) {}
    std::uint64_t size() const override { return inner_->size(); }
    bool readAt(std::uint64_t offset, void* out, std::size_t n) override {
        if (offset + n <= failFrom_) return inner_->readAt(offset, out, n);
        ::SetLastError(ERROR_IO_DEVICE);
        return false;
    }

private:
    std::unique_ptr<zip::ByteSource> inner_;
    std::uint64_t failFrom_;
};

// An archive read that fails on a worker thread is reported with that
// thread's system error: in the failure line, by lastSystemError, and as the
// caller's own last error after the call (the calling thread never saw it).
TEST(EntryPipelineTest, AReadFailingOnAWorkerGivesItsSystemErrorToTheCaller) {
    TempFolder temp;
    const std::string big = pattern(3 * kBlock, 9);
    ASSERT_TRUE(
        testing::writeFileBytes(temp / L"a.zip", buildZip({{"first.txt", "first"}, {"big.bin", big, false}}).bytes));
    const SeamReset reset;
    // Inside the stored entry's data, past its header.
    EntryPipeline::workerSourceSeam = [](int, std::unique_ptr<zip::ByteSource> source) {
        return std::unique_ptr<zip::ByteSource>(std::make_unique<FailingSource>(std::move(source), 2 * kBlock));
    };
    ArchiveUnit unit;
    ::SetLastError(0);
    EXPECT_EQ(unit.extractArchive(temp / L"a.zip", temp / L"out"), 0);
    const DWORD error = ::GetLastError();
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_IO_DEVICE));
    EXPECT_EQ(unit.lastSystemError(), static_cast<DWORD>(ERROR_IO_DEVICE));
    EXPECT_NE(unit.lastError().find(L"error " + std::to_wstring(ERROR_IO_DEVICE)), std::wstring::npos)
        << utf8FromWide(unit.lastError());
    EXPECT_EQ(fileText(temp / L"out\\first.txt"), "first");
    EXPECT_FALSE(fileExists(temp / L"out\\big.bin"));
}

// A worker that cannot be made once another has started (memory running out
// there) is not there: the run goes on with the workers that started, or
// stops cleanly with none, and every thread that started is joined.
TEST(EntryPipelineTest, AWorkerThatCannotStartLeavesNoThreadBehind) {
    TempFolder temp;
    const std::string big = pattern(kMoreThanThePool, 7);
    ASSERT_TRUE(testing::writeFileBytes(temp / L"a.zip",
                                        buildZip({{"a.txt", "a"}, {"big.bin", big}, {"more.bin", big}}).bytes));
    static int failing = -1;  // the worker whose start throws; 2: both
    const SeamReset reset;
    EntryPipeline::workerSourceSeam = [](int worker, std::unique_ptr<zip::ByteSource> source) {
        if (worker == failing || failing == 2) throw std::bad_alloc();
        return source;
    };
    const struct {
        int failing;
        int result;
    } cases[] = {{1, 1}, {0, 1}, {2, 0}};
    const int threads = threadsOfThisProcess();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        failing = c.failing;
        const std::wstring dest = temp / L"out";
        testing::removeTree(dest);
        ArchiveUnit unit;
        int result = -2;
        EXPECT_NO_THROW(result = unit.extractArchive(temp / L"a.zip", dest));
        EXPECT_EQ(result, c.result) << utf8FromWide(unit.lastError());
        if (c.result == 1) {
            EXPECT_EQ(fileText(dest + L"\\more.bin"), big);
        }
        EXPECT_EQ(threadsOfThisProcess(), threads);
    }
}

}  // namespace
}  // namespace pelmora
