#include "core/arena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Watches the blocks an arena takes and gives back; can refuse a block.
struct BlockLog {
    struct Block {
        unsigned char* start;
        std::size_t size;
    };
    static std::vector<Block> taken;
    static std::vector<void*> released;
    static bool refuse;

    static void* Allocate(std::size_t size) {
        if (refuse) {
            return nullptr;
        }
        auto* block = static_cast<unsigned char*>(std::malloc(size));
        taken.push_back({block, size});
        return block;
    }
    static void Release(void* block) {
        released.push_back(block);
        std::free(block);
    }
};
std::vector<BlockLog::Block> BlockLog::taken;
std::vector<void*> BlockLog::released;
bool BlockLog::refuse;

class RecordArenaTest : public testing::Test {
protected:
    void SetUp() override {
        BlockLog::taken.clear();
        BlockLog::released.clear();
        BlockLog::refuse = false;
    }

    static unsigned char* At(void* memory) { return static_cast<unsigned char*>(memory); }
    static std::size_t Offset(void* memory, std::size_t block) {
        return static_cast<std::size_t>(At(memory) - BlockLog::taken[block].start);
    }
    static unsigned char* LinkOf(std::size_t block) {
        unsigned char* next;
        std::memcpy(&next, BlockLog::taken[block].start, sizeof next);
        return next;
    }

    RecordArena arena{BlockLog::Allocate, BlockLog::Release};
};

constexpr std::size_t Block = RecordArena::BlockSize;
constexpr std::size_t Link = RecordArena::LinkSize;

TEST_F(RecordArenaTest, ServesRequestsFromOneBlockUntilItIsFull) {
    void* first = arena.Allocate(96);
    void* second = arena.Allocate(200);
    void* rest = arena.Allocate(Block - Link - 96 - 200 - 8);
    ASSERT_EQ(1u, BlockLog::taken.size());
    EXPECT_EQ(Block, BlockLog::taken[0].size);
    EXPECT_EQ(Link, Offset(first, 0));
    EXPECT_EQ(Link + 96, Offset(second, 0));
    EXPECT_EQ(Link + 296, Offset(rest, 0));

    // 16 bytes do not fit the 8 left: a new block, the rest of the old one abandoned.
    void* next = arena.Allocate(16);
    ASSERT_EQ(2u, BlockLog::taken.size());
    EXPECT_EQ(Block, BlockLog::taken[1].size);
    EXPECT_EQ(Link, Offset(next, 1));
    EXPECT_EQ(BlockLog::taken[1].start, LinkOf(0)); // the chain runs from the first block
    EXPECT_EQ(nullptr, LinkOf(1));
}

TEST_F(RecordArenaTest, ARequestLargerThanABlockHoldsGetsABlockOfExactlyItsSizeAndTheLink) {
    // The largest request a standard block holds.
    arena.Allocate(Block - Link);
    ASSERT_EQ(1u, BlockLog::taken.size());
    EXPECT_EQ(Block, BlockLog::taken[0].size);

    for (std::size_t size : {Block - Link + 1, 4 * Block}) {
        void* large = arena.Allocate(size);
        ASSERT_NE(nullptr, large);
        EXPECT_EQ(size + Link, BlockLog::taken.back().size) << size;
        EXPECT_EQ(Link, Offset(large, BlockLog::taken.size() - 1)) << size;
        std::memset(large, 0x5a, size); // the whole request is usable
    }

    // The own block is full: the next small request opens a standard block.
    void* small = arena.Allocate(16);
    ASSERT_EQ(4u, BlockLog::taken.size());
    EXPECT_EQ(Block, BlockLog::taken[3].size);
    EXPECT_EQ(Link, Offset(small, 3));
    for (std::size_t block = 0; block + 1 < BlockLog::taken.size(); ++block) {
        EXPECT_EQ(BlockLog::taken[block + 1].start, LinkOf(block)) << block;
    }
}

TEST_F(RecordArenaTest, StartsEveryRequestOnAPointerBoundary) {
    arena.Allocate(1);
    void* aligned = arena.Allocate(sizeof(void*));
    EXPECT_EQ(0u, reinterpret_cast<std::uintptr_t>(aligned) % alignof(void*));
    EXPECT_EQ(Link + RecordArena::Alignment, Offset(aligned, 0));
}

TEST_F(RecordArenaTest, FreeReleasesEveryBlockAndTheArenaCanBeUsedAgain) {
    arena.Allocate(100);
    arena.Allocate(Block);
    arena.Allocate(100);
    ASSERT_EQ(3u, BlockLog::taken.size());
    arena.Free();
    std::vector<void*> expected = {BlockLog::taken[0].start, BlockLog::taken[1].start,
                                   BlockLog::taken[2].start};
    EXPECT_EQ(expected, BlockLog::released);

    void* again = arena.Allocate(8);
    ASSERT_EQ(4u, BlockLog::taken.size());
    EXPECT_EQ(Link, Offset(again, 3));
}

TEST_F(RecordArenaTest, ARefusedBlockGivesNullAndTheArenaStaysUsable) {
    void* first = arena.Allocate(Block - Link);
    BlockLog::refuse = true;
    EXPECT_EQ(nullptr, arena.Allocate(8));
    BlockLog::refuse = false;
    EXPECT_EQ(nullptr, arena.Allocate(SIZE_MAX - Link + 1)); // its block size would wrap
    void* next = arena.Allocate(8);
    ASSERT_EQ(2u, BlockLog::taken.size());
    EXPECT_EQ(Link, Offset(next, 1));
    EXPECT_EQ(BlockLog::taken[1].start, LinkOf(0));
    EXPECT_NE(first, next);
}

TEST(ProcessArenaTest, CopiesTextsIntoTheArena) {
    char source[] = "Link info text";
    char* copy = CopyTextToArena(source);
    source[0] = 'X';
    EXPECT_STREQ("Link info text", copy);
    EXPECT_STREQ("", CopyTextToArena(""));
    FreeArena();
}

} // namespace
