#include "payload/entry_pipeline.h"

#include <new>

#include "payload/entry_data.h"
#include "payload/zip_reader.h"

namespace pelmora {

namespace {

// Locks for the scope: every wait below releases the lock while it sleeps.
class Locked {
public:
    explicit Locked(SRWLOCK& lock) : lock_(lock) { ::AcquireSRWLockExclusive(&lock_); }
    ~Locked() { ::ReleaseSRWLockExclusive(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    void wait(CONDITION_VARIABLE& condition) { ::SleepConditionVariableSRW(&condition, &lock_, INFINITE, 0); }

private:
    SRWLOCK& lock_;
};

}  // namespace

// A worker: its own handle on the archive, and its thread.
struct EntryPipeline::Worker {
    Worker(EntryPipeline& owner, std::unique_ptr<zip::ByteSource> archive)
        : pipeline(owner), source(std::move(archive)) {}
    EntryPipeline& pipeline;
    std::unique_ptr<zip::ByteSource> source;
    UniqueHandle thread;
};

// Lends pool blocks to the copy, so data is inflated where the calling
// thread writes it from: no copy between the threads. A full block is
// published and the next one taken when the copy asks for more room.
class EntryPipeline::BlockSink final : public zip::ChunkSink {
public:
    BlockSink(EntryPipeline& pipeline, EntryBlock* block) : pipeline_(pipeline), block_(block) {}

    Span lend() override {
        if (!block_) return {};
        if (block_->size == kBlockSize) {
            const int entry = block_->entry, sequence = block_->sequence + 1;
            pipeline_.publish(block_);
            block_ = pipeline_.acquire(entry, sequence);
            if (!block_) return {};  // stopping: the copy's next write is refused
        }
        return {block_->data + block_->size, kBlockSize - block_->size};
    }

    // Only what was produced in lent memory is taken.
    bool write(const std::uint8_t* data, std::size_t size) override {
        if (!block_ || data != block_->data + block_->size || size > kBlockSize - block_->size) return false;
        block_->size += size;
        return true;
    }

    // The block the entry ends in; null when the pipeline stopped first.
    EntryBlock* current() const { return block_; }

private:
    EntryPipeline& pipeline_;
    EntryBlock* block_;
};

EntryPipeline::EntryPipeline(ZipReader& reader, std::size_t destinationLength)
    : reader_(reader),
      destinationLength_(destinationLength),
      entryCount_(reader.entryCount()),
      lastEntry_(reader.entryCount() - 1) {
    // Not cleared: the caller only sees bytes a worker produced.
    memory_.reset(new (std::nothrow) std::uint8_t[kBlocks * kBlockSize]);
    if (!memory_) return;
    for (int i = 0; i < kBlocks; ++i) blocks_[i].data = memory_.get() + i * kBlockSize;
    // No more workers than entries. A worker that cannot open the archive
    // again, cannot be made or whose thread cannot start is simply not there:
    // the others take its share. Nothing may leave the constructor once a
    // thread runs, since no destructor would then join it.
    for (int i = 0; i < kWorkers && i < entryCount_; ++i) {
        try {
            std::unique_ptr<zip::ByteSource> source = reader_.openSource();
            if (source && workerSourceSeam) source = workerSourceSeam(i, std::move(source));
            if (!source) continue;
            workers_[i] = std::make_unique<Worker>(*this, std::move(source));
        } catch (...) {
            continue;
        }
        {
            Locked locked(lock_);
            ++workersRunning_;
        }
        workers_[i]->thread.reset(
            ::CreateThread(nullptr, 0, &EntryPipeline::workerMain, workers_[i].get(), 0, nullptr));
        if (!workers_[i]->thread) {
            Locked locked(lock_);
            --workersRunning_;
        }
    }
}

EntryPipeline::~EntryPipeline() {
    stop();
}

void EntryPipeline::stop() {
    {
        Locked locked(lock_);
        stopping_ = true;
    }
    ::WakeAllConditionVariable(&blockFree_);
    for (const std::unique_ptr<Worker>& worker : workers_) {
        if (worker && worker->thread) ::WaitForSingleObject(worker->thread.get(), INFINITE);
    }
}

DWORD WINAPI EntryPipeline::workerMain(void* param) {
    auto* worker = static_cast<Worker*>(param);
    EntryPipeline& pipeline = worker->pipeline;
    // Nothing may leave a thread's entry point; running out of memory ends
    // this worker's reading, which the caller sees as the blocks stopping.
    try {
        pipeline.readEntries(*worker->source);
    } catch (...) {
        // The entry this worker held never arrives: nothing after it may be read.
        Locked locked(pipeline.lock_);
        pipeline.lastEntry_ = -1;
    }
    {
        Locked locked(pipeline.lock_);
        --pipeline.workersRunning_;
    }
    ::WakeAllConditionVariable(&pipeline.blockReady_);
    ::WakeAllConditionVariable(&pipeline.blockFree_);
    return 0;
}

void EntryPipeline::readEntries(zip::ByteSource& source) {
    for (int index = claim(); index >= 0; index = claim()) {
        EntryBlock* block = acquire(index, 0);
        if (!block || !readEntry(source, index, block)) return;
    }
}

// Reads one entry into blocks, the first of them given; false when the
// reading ends there (a failure, or the pipeline stopping).
bool EntryPipeline::readEntry(zip::ByteSource& source, int index, EntryBlock* block) {
    std::uint64_t dataOffset = 0;
    // Cleared, so that what a failure leaves here is that failure's own.
    ::SetLastError(0);
    describe(source, index, &block->step, &dataOffset);
    const EntryKind kind = block->step.kind;
    if (kind != EntryKind::File) {
        const bool goesOn = kind == EntryKind::Folder;
        if (!goesOn) endReadingAt(index);
        block->last = true;
        publish(block);
        return goesOn;
    }
    BlockSink sink(*this, block);
    ::SetLastError(0);
    const zip::ZipResult copied = reader_.copyEntryData(source, index, dataOffset, sink);
    // Taken here, on the thread the read failed on: the calling thread
    // cannot see this thread's last error.
    const DWORD error = copied == zip::ZipResult::Ok ? 0 : ::GetLastError();
    EntryBlock* tail = sink.current();
    if (!tail) return false;
    if (copied != zip::ZipResult::Ok) endReadingAt(index);
    tail->last = true;
    tail->result = copied;
    tail->error = error;
    publish(tail);
    return copied == zip::ZipResult::Ok;
}

// The same checks, in the same order, as extracting the entry on its own:
// the local header, the name, the path length, then what the data needs.
void EntryPipeline::describe(zip::ByteSource& source, int index, EntryStep* step, std::uint64_t* dataOffset) {
    step->index = index;
    step->verdict = zip::PathVerdict::Safe;
    step->result = zip::ZipResult::Ok;
    step->error = 0;
    step->name.clear();
    step->relative.clear();
    ZipEntryInfo info;
    const zip::ZipResult got = reader_.readEntry(source, index, &info, dataOffset);
    if (got != zip::ZipResult::Ok) {
        step->kind = EntryKind::Unreadable;
        step->result = got;
        step->error = ::GetLastError();
        return;
    }
    step->name = info.wideName;
    zip::EntryPath path;
    zip::PathVerdict verdict = zip::safeRelativePath(info.wideName, &path);
    const bool isFolder = info.isDirectory() || path.endsInSeparator;
    // Before any folder is made for it: Windows would refuse the path anyway.
    if (verdict == zip::PathVerdict::Safe) verdict = zip::checkPathLength(destinationLength_, path, isFolder);
    if (verdict != zip::PathVerdict::Safe) {
        step->kind = EntryKind::Refused;
        step->verdict = verdict;
        return;
    }
    step->relative = std::move(path.relative);
    if (isFolder) {
        step->kind = EntryKind::Folder;
        return;
    }
    step->result = reader_.checkSupported(index);
    step->kind = step->result == zip::ZipResult::Ok ? EntryKind::File : EntryKind::Unsupported;
    step->creationTime = info.creationTime;
    step->accessTime = info.accessTime;
    step->writeTime = info.writeTime;
}

// The next entry for a worker, in the archive's order; -1 when none is left
// to read.
int EntryPipeline::claim() {
    Locked locked(lock_);
    if (stopping_ || nextClaim_ > lastEntry_) return -1;
    return nextClaim_++;
}

// A free block for the entry's block at `sequence`; null when the pipeline
// stops or the entry is past the end of the reading. The last free block is
// kept for the entry the calling thread waits on: otherwise a worker running
// ahead could take every block while the caller waits for one that can then
// never be filled.
EntryBlock* EntryPipeline::acquire(int entry, int sequence) {
    Locked locked(lock_);
    for (;;) {
        if (stopping_ || entry > lastEntry_) return nullptr;
        if (freeBlocks_ >= (entry == head_ ? 1 : 2)) break;
        locked.wait(blockFree_);
    }
    for (EntryBlock& block : blocks_) {
        if (block.state != EntryBlock::State::Free) continue;
        --freeBlocks_;
        block.state = EntryBlock::State::Filling;
        block.entry = entry;
        block.sequence = sequence;
        block.first = sequence == 0;
        block.size = 0;
        block.last = false;
        block.result = zip::ZipResult::Ok;
        block.error = 0;
        return &block;
    }
    return nullptr;  // cannot happen: freeBlocks_ counts the free blocks
}

void EntryPipeline::publish(EntryBlock* block) {
    {
        Locked locked(lock_);
        block->state = EntryBlock::State::Published;
    }
    ::WakeAllConditionVariable(&blockReady_);
}

// A worker found the entry that ends the extraction: nothing after it is
// read, and workers already past it drop what they were doing.
void EntryPipeline::endReadingAt(int entry) {
    {
        Locked locked(lock_);
        if (entry < lastEntry_) lastEntry_ = entry;
    }
    ::WakeAllConditionVariable(&blockFree_);
}

const EntryBlock* EntryPipeline::next() {
    Locked locked(lock_);
    if (taken_) {
        if (taken_->last) {
            ++head_;
            headSequence_ = 0;
        } else {
            ++headSequence_;
        }
        taken_->state = EntryBlock::State::Free;
        taken_ = nullptr;
        ++freeBlocks_;
        // Also wakes the worker of the new head, which may take the last block.
        ::WakeAllConditionVariable(&blockFree_);
    }
    for (;;) {
        for (EntryBlock& block : blocks_) {
            if (block.state == EntryBlock::State::Published && block.entry == head_ &&
                block.sequence == headSequence_) {
                block.state = EntryBlock::State::Taken;
                taken_ = &block;
                return taken_;
            }
        }
        if (workersRunning_ == 0 || head_ > lastEntry_) return nullptr;
        locked.wait(blockReady_);
    }
}

}  // namespace pelmora
