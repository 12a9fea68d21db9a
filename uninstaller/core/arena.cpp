#include "core/arena.h"

#include <cstdlib>
#include <cstring>

namespace {

RecordArena processArena;

unsigned char* NextBlock(unsigned char* block) {
    unsigned char* next;
    std::memcpy(&next, block, sizeof next);
    return next;
}

void SetNextBlock(unsigned char* block, unsigned char* next) {
    std::memcpy(block, &next, sizeof next);
}

} // namespace

RecordArena::RecordArena(BlockAllocate allocate, BlockRelease release)
    : allocate_(allocate != nullptr ? allocate : std::malloc),
      release_(release != nullptr ? release : std::free) {}

void* RecordArena::Allocate(std::size_t size) {
    std::size_t start = (used_ + Alignment - 1) / Alignment * Alignment;
    if (currentBlock_ == nullptr || start > currentSize_ || size > currentSize_ - start) {
        std::size_t blockSize = BlockSize;
        if (size > BlockSize - LinkSize) {
            blockSize = size + LinkSize;
            if (blockSize < size) { // the request does not fit in a size_t with its link
                return nullptr;
            }
        }
        auto* block = static_cast<unsigned char*>(allocate_(blockSize));
        if (block == nullptr) {
            return nullptr;
        }
        SetNextBlock(block, nullptr);
        if (currentBlock_ == nullptr) {
            firstBlock_ = block;
        } else {
            SetNextBlock(currentBlock_, block);
        }
        currentBlock_ = block;
        currentSize_ = blockSize;
        start = LinkSize;
    }
    used_ = start + size;
    return currentBlock_ + start;
}

void RecordArena::Free() {
    unsigned char* block = firstBlock_;
    while (block != nullptr) {
        unsigned char* next = NextBlock(block);
        release_(block);
        block = next;
    }
    firstBlock_ = nullptr;
    currentBlock_ = nullptr;
    currentSize_ = 0;
    used_ = 0;
}

void* AllocateFromArena(std::size_t size) {
    return processArena.Allocate(size);
}

void FreeArena() {
    processArena.Free();
}

char* CopyTextToArena(const char* text) {
    std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(AllocateFromArena(size));
    if (copy != nullptr) {
        std::memcpy(copy, text, size);
    }
    return copy;
}
