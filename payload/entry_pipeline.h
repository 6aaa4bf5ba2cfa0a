// Extraction in parts that run at the same time. Two worker threads read the
// entries: each takes the next entry not yet taken, checks its name and local
// header and inflates its data, CRC-32 checked, into blocks from a fixed
// pool. The calling thread takes the blocks entry by entry, in the archive's
// order, makes folders and files and writes the data out. Inflating is most
// of the work, and entries are independent, so the two workers share it; the
// pool bounds how far they run ahead, so memory stays fixed whatever the
// size of an entry.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/unique_resource.h"
#include "payload/entry_path.h"
#include "payload/zip_format.h"

namespace pelmora {

class ZipReader;

enum class EntryKind {
    Folder,
    File,
    Unreadable,   // the local header does not hold up (result says how)
    Refused,      // the name is not safe below the destination (verdict says why)
    Unsupported,  // a file whose data the reader cannot copy (result says why)
};

// One entry as the reading side found it. Nothing is read past an entry that
// is not a folder or a file, nor past a file whose data failed.
struct EntryStep {
    int index = 0;
    EntryKind kind = EntryKind::File;
    std::wstring name;  // decoded entry name
    zip::PathVerdict verdict = zip::PathVerdict::Safe;
    zip::ZipResult result = zip::ZipResult::Ok;
    DWORD error = 0;        // Unreadable: the system's error on the worker that read it, 0 when none
    std::wstring relative;  // folders and files: the path below the destination
    FILETIME creationTime{}, accessTime{}, writeTime{};
};

// What the calling thread takes: an entry's first block carries its step; a
// file's data follows in one block or more.
struct EntryBlock {
    bool first = false;
    EntryStep step;                // on the first block
    std::uint8_t* data = nullptr;  // the block's memory; its first `size` bytes are the entry's
    std::size_t size = 0;
    bool last = false;                           // the entry's last block
    zip::ZipResult result = zip::ZipResult::Ok;  // on a file's last block: Ok, or why its data failed
    DWORD error = 0;  // with a failed result: the system's error on the worker that read it, 0 when none

    // Kept by the pipeline.
    enum class State { Free, Filling, Published, Taken } state = State::Free;
    int entry = -1;
    int sequence = 0;  // place among the entry's blocks
};

class EntryPipeline {
public:
    // Twelve blocks of 256 KiB: large writes, and room for the worker ahead
    // to inflate most of a 2.5 MB entry while the entry before it is still
    // being inflated and written, so neither worker waits on the other.
    static constexpr std::size_t kBlockSize = 256 * 1024;
    static constexpr int kBlocks = 12;
    static constexpr int kWorkers = 2;

    // Starts reading reader's entries on the workers. destinationLength: the
    // full length of the destination folder, for the path-length check.
    EntryPipeline(ZipReader& reader, std::size_t destinationLength);
    // Stops the workers where they are and waits for them to end.
    ~EntryPipeline();

    // Test seam: given each worker's number and its own source on the
    // archive, before the worker is made; it may wrap the source (reads that
    // fail) or throw, as running out of memory there would.
    using WorkerSourceSeam = std::unique_ptr<zip::ByteSource> (*)(int worker, std::unique_ptr<zip::ByteSource> source);
    static inline WorkerSourceSeam workerSourceSeam = nullptr;
    EntryPipeline(const EntryPipeline&) = delete;
    EntryPipeline& operator=(const EntryPipeline&) = delete;

    // Hands back the block taken before, then waits for the next one: the
    // current entry's next block, or the next entry's first. Null when the
    // workers ended without producing it (none could start, or they ran out
    // of memory), or after an entry that ended the reading.
    const EntryBlock* next();

private:
    struct Worker;
    class BlockSink;
    static DWORD WINAPI workerMain(void* worker);
    void readEntries(zip::ByteSource& source);
    bool readEntry(zip::ByteSource& source, int index, EntryBlock* block);
    void describe(zip::ByteSource& source, int index, EntryStep* step, std::uint64_t* dataOffset);
    int claim();
    EntryBlock* acquire(int entry, int sequence);
    void publish(EntryBlock* block);
    void endReadingAt(int entry);
    void stop();

    ZipReader& reader_;
    std::size_t destinationLength_;
    const int entryCount_;
    std::unique_ptr<std::uint8_t[]> memory_;
    EntryBlock blocks_[kBlocks];
    std::unique_ptr<Worker> workers_[kWorkers];

    // Everything below is shared, under lock_.
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE blockFree_ = CONDITION_VARIABLE_INIT;   // a block was handed back, or the head moved
    CONDITION_VARIABLE blockReady_ = CONDITION_VARIABLE_INIT;  // a block was published, or a worker ended
    int freeBlocks_ = kBlocks;
    int nextClaim_ = 0;     // the next entry no worker has taken
    int lastEntry_;         // no entry after it is read: the last, or one that ended the reading
    int head_ = 0;          // the entry the calling thread takes blocks of
    int headSequence_ = 0;  // the place of the block it takes next
    EntryBlock* taken_ = nullptr;
    int workersRunning_ = 0;
    bool stopping_ = false;  // the caller is done: the workers stop
};

}  // namespace pelmora
