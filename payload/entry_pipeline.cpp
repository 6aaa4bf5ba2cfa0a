#include "payload/entry_pipeline.h"

#include <new>

#include "payload/entry_data.h"
#include "payload/zip_reader.h"

namespace pelmora {

// Lends the ring's blocks to the copy, so data is inflated where the calling
// thread writes it from: no copy between the two threads. A full block is
// published and the next one taken when the copy asks for more room.
class EntryPipeline::RingSink final : public zip::ChunkSink {
public:
    RingSink(EntryPipeline& pipeline, EntryBlock* block) : pipeline_(pipeline), block_(block) {}

    Span lend() override {
        if (!block_) return {};
        if (block_->size == kBlockSize) {
            pipeline_.publish();
            block_ = pipeline_.acquire();
            if (!block_) return {};  // stopping: the copy's next write is refused
            block_->first = false;
            block_->size = 0;
            block_->last = false;
        }
        return {memory() + block_->size, kBlockSize - block_->size};
    }

    // Only what was produced in lent memory is taken.
    bool write(const std::uint8_t* data, std::size_t size) override {
        if (!block_ || data != memory() + block_->size || size > kBlockSize - block_->size) return false;
        block_->size += size;
        return true;
    }

    // The block the entry ends in; null when the ring stopped first.
    EntryBlock* current() const { return block_; }

private:
    std::uint8_t* memory() const { return block_->data; }

    EntryPipeline& pipeline_;
    EntryBlock* block_;
};

EntryPipeline::EntryPipeline(ZipReader& reader, std::size_t destinationLength)
    : reader_(reader), destinationLength_(destinationLength) {
    // Not cleared: the caller only sees bytes the worker produced.
    memory_.reset(new (std::nothrow) std::uint8_t[kBlocks * kBlockSize]);
    if (!memory_) {
        workerDone_ = true;
        return;
    }
    for (std::size_t i = 0; i < kBlocks; ++i) blocks_[i].data = memory_.get() + i * kBlockSize;
    worker_.reset(::CreateThread(nullptr, 0, &EntryPipeline::workerMain, this, 0, nullptr));
    if (!worker_) workerDone_ = true;
}

EntryPipeline::~EntryPipeline() {
    stop();
}

void EntryPipeline::stop() {
    ::AcquireSRWLockExclusive(&lock_);
    stopping_ = true;
    ::ReleaseSRWLockExclusive(&lock_);
    ::WakeAllConditionVariable(&blockFree_);
    if (worker_) ::WaitForSingleObject(worker_.get(), INFINITE);
    worker_.reset();
}

DWORD WINAPI EntryPipeline::workerMain(void* self) {
    auto* pipeline = static_cast<EntryPipeline*>(self);
    // Nothing may leave a thread's entry point; running out of memory ends
    // the reading, which the caller sees as the blocks stopping.
    try {
        pipeline->readEntries();
    } catch (...) {
    }
    ::AcquireSRWLockExclusive(&pipeline->lock_);
    pipeline->workerDone_ = true;
    ::ReleaseSRWLockExclusive(&pipeline->lock_);
    ::WakeAllConditionVariable(&pipeline->blockReady_);
    return 0;
}

void EntryPipeline::readEntries() {
    const int count = reader_.entryCount();
    for (int i = 0; i < count; ++i) {
        EntryBlock* block = acquire();
        if (!block) return;
        block->first = true;
        block->size = 0;
        block->last = false;
        block->result = zip::ZipResult::Ok;
        describe(i, &block->step);
        const EntryKind kind = block->step.kind;
        if (kind != EntryKind::File) {
            block->last = true;
            publish();
            if (kind != EntryKind::Folder) return;  // the caller stops there
            continue;
        }
        RingSink sink(*this, block);
        const zip::ZipResult copied = reader_.copyEntryData(i, sink);
        EntryBlock* tail = sink.current();
        if (!tail) return;
        tail->last = true;
        tail->result = copied;
        publish();
        if (copied != zip::ZipResult::Ok) return;
    }
}

// The same checks, in the same order, as extracting the entry on its own:
// the local header, the name, the path length, then what the data needs.
void EntryPipeline::describe(int index, EntryStep* step) {
    step->index = index;
    step->verdict = zip::PathVerdict::Safe;
    step->result = zip::ZipResult::Ok;
    step->name.clear();
    step->relative.clear();
    ZipEntryInfo info;
    const zip::ZipResult got = reader_.getEntry(index, &info);
    if (got != zip::ZipResult::Ok) {
        step->kind = EntryKind::Unreadable;
        step->result = got;
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

EntryBlock* EntryPipeline::acquire() {
    ::AcquireSRWLockExclusive(&lock_);
    while (!stopping_ && published_ - released_ == kBlocks) {
        ::SleepConditionVariableSRW(&blockFree_, &lock_, INFINITE, 0);
    }
    EntryBlock* block = stopping_ ? nullptr : &blocks_[published_ % kBlocks];
    ::ReleaseSRWLockExclusive(&lock_);
    return block;
}

void EntryPipeline::publish() {
    ::AcquireSRWLockExclusive(&lock_);
    ++published_;
    ::ReleaseSRWLockExclusive(&lock_);
    ::WakeConditionVariable(&blockReady_);
}

const EntryBlock* EntryPipeline::next() {
    ::AcquireSRWLockExclusive(&lock_);
    if (holding_) {
        ++released_;
        holding_ = false;
        ::WakeConditionVariable(&blockFree_);
    }
    while (released_ == published_ && !workerDone_) {
        ::SleepConditionVariableSRW(&blockReady_, &lock_, INFINITE, 0);
    }
    const EntryBlock* block = nullptr;
    if (released_ != published_) {
        holding_ = true;
        block = &blocks_[released_ % kBlocks];
    }
    ::ReleaseSRWLockExclusive(&lock_);
    return block;
}

}  // namespace pelmora
