// Extraction in two halves that run at the same time. A worker thread reads
// the entries in order: it checks each name and local header and inflates the
// data, CRC-32 checked, into a ring of blocks. The calling thread takes the
// blocks in the same order, makes folders and files and writes the data out.
// The worker runs ahead by at most the ring, so memory stays fixed whatever
// the size of an entry.
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
    std::wstring relative;  // folders and files: the path below the destination
    FILETIME creationTime{}, accessTime{}, writeTime{};
};

// What the calling thread takes from the ring: an entry's first block
// carries its step; a file's data follows in one block or more.
struct EntryBlock {
    bool first = false;
    EntryStep step;                // on the first block
    std::uint8_t* data = nullptr;  // the block's memory; its first `size` bytes are the entry's
    std::size_t size = 0;
    bool last = false;                           // the entry's last block
    zip::ZipResult result = zip::ZipResult::Ok;  // on a file's last block: Ok, or why its data failed
};

class EntryPipeline {
public:
    // Eight blocks of 256 KiB: large writes, and room for the worker to keep
    // inflating while the calling thread is held up creating or closing a
    // file. With four blocks the worker measurably waited twice as long.
    static constexpr std::size_t kBlockSize = 256 * 1024;
    static constexpr std::size_t kBlocks = 8;

    // Starts reading reader's entries on a worker thread. destinationLength:
    // the full length of the destination folder, for the path-length check.
    EntryPipeline(ZipReader& reader, std::size_t destinationLength);
    // Stops the worker where it is and waits for it to end.
    ~EntryPipeline();
    EntryPipeline(const EntryPipeline&) = delete;
    EntryPipeline& operator=(const EntryPipeline&) = delete;

    // Hands back the block taken before, then waits for the next one. Null
    // when the worker ended without producing it (it could not start, or ran
    // out of memory), or after an entry that ended the reading.
    const EntryBlock* next();

private:
    class RingSink;
    static DWORD WINAPI workerMain(void* self);
    void readEntries();
    void describe(int index, EntryStep* step);
    EntryBlock* acquire();
    void publish();
    void stop();

    ZipReader& reader_;
    std::size_t destinationLength_;
    std::unique_ptr<std::uint8_t[]> memory_;
    EntryBlock blocks_[kBlocks];
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE blockFree_ = CONDITION_VARIABLE_INIT;
    CONDITION_VARIABLE blockReady_ = CONDITION_VARIABLE_INIT;
    // Counts of blocks: published by the worker, handed back by the caller.
    std::size_t published_ = 0;
    std::size_t released_ = 0;
    bool holding_ = false;     // the caller holds block released_
    bool stopping_ = false;    // the caller is done: the worker stops
    bool workerDone_ = false;  // the worker has produced its last block
    UniqueHandle worker_;
};

}  // namespace pelmora
