#pragma once
// The record arena: every record, every list array and every variable-length
// text of a run comes from one chain of large blocks and is freed all at once
// at the end of the run. An allocation is a pointer bump; nothing is freed on
// its own.

#include <cstddef>

class RecordArena {
public:
    static constexpr std::size_t BlockSize = 64512;
    // Each block begins with the link to the next one.
    static constexpr std::size_t LinkSize = sizeof(void*);
    // Allocations start on this boundary, so any record may be placed there.
    static constexpr std::size_t Alignment = alignof(void*);

    using BlockAllocate = void* (*)(std::size_t size);
    using BlockRelease = void (*)(void* block);

    // The block functions are the system's allocator unless a caller (a test)
    // wants to watch the blocks.
    explicit RecordArena(BlockAllocate allocate = nullptr, BlockRelease release = nullptr);
    RecordArena(const RecordArena&) = delete;
    RecordArena& operator=(const RecordArena&) = delete;
    ~RecordArena() { Free(); }

    // Uninitialised memory of size bytes from the rest of the current block,
    // or from a new block appended to the chain: BlockSize bytes, or exactly
    // size plus the link when that is larger. The rest of the old block is
    // abandoned. nullptr when the system refuses a new block.
    void* Allocate(std::size_t size);

    // Frees every block of the chain; the arena can be used again afterwards.
    void Free();

private:
    BlockAllocate allocate_;
    BlockRelease release_;
    unsigned char* firstBlock_ = nullptr;
    unsigned char* currentBlock_ = nullptr;
    std::size_t currentSize_ = 0;
    std::size_t used_ = 0;
};

// The process-wide arena of the run.
void* AllocateFromArena(std::size_t size);
void FreeArena();

// A copy of text in the arena; nullptr ("none") when the arena is exhausted.
char* CopyTextToArena(const char* text);
