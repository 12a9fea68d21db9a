#include "core/record_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

// Every key read is one step of a descent, so the reads of a search tell how
// deep the tree is.
int keyReads;

RecordKey CountedKeyOf(const void* record) {
    ++keyReads;
    return {{static_cast<const std::string*>(record)->c_str(), nullptr, nullptr}};
}

// Key i written so that comparing from the end orders the keys as the numbers.
// The keys share an ending longer than what a node keeps of its key, so every
// step of a descent reads the stored key.
std::string KeyFor(int i) {
    std::string digits = std::to_string(100000 + i);
    return std::string(digits.rbegin(), digits.rend()) + "\\COMMON\\ENDING.DLL";
}

struct OrderCase {
    const char* name;
    std::vector<int> order; // of the keys 0 to its size - 1
    int deepest;            // most keys a search may read
};

TEST(DuplicateIndexTest, StaysShallowWhateverTheOrderOfInsertion) {
    constexpr int count = 4095;
    std::vector<int> ascending(count);
    for (int i = 0; i < count; ++i) {
        ascending[i] = i;
    }
    std::vector<int> descending(ascending.rbegin(), ascending.rend());
    std::vector<int> zigzag; // from both ends towards the middle
    for (int low = 0, high = count - 1; low <= high; ++low, --high) {
        zigzag.push_back(low);
        if (low != high) {
            zigzag.push_back(high);
        }
    }
    std::vector<int> shuffled = ascending;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    // The height an AVL tree of count nodes cannot exceed.
    const int deepest = static_cast<int>(1.4405 * std::log2(count + 2) - 0.3277);
    const OrderCase cases[] = {
        {"ascending", ascending, deepest},
        {"descending", descending, deepest},
        {"zigzag", zigzag, deepest},
        {"shuffled", shuffled, deepest},
        // The third key goes between the first two: only a double rotation
        // gives three keys a tree of two levels.
        {"inner grandchild below the higher child", {0, 2, 1}, 2},
        {"inner grandchild below the lower child", {2, 0, 1}, 2},
    };

    for (const auto& c : cases) {
        const int size = static_cast<int>(c.order.size());
        std::vector<std::string> keys(size);
        std::vector<IndexNode> nodes(size);
        DuplicateIndex index(CountedKeyOf);
        for (int i : c.order) {
            keys[i] = KeyFor(i);
            nodes[i].record = &keys[i];
            DuplicateIndex::Search search = index.Find({{keys[i].c_str(), nullptr, nullptr}});
            ASSERT_EQ(nullptr, search.found) << c.name;
            index.Link(&nodes[i], search);
        }
        int worst = 0;
        for (int i = 0; i < size; ++i) {
            keyReads = 0;
            ASSERT_EQ(&keys[i], index.Find({{keys[i].c_str(), nullptr, nullptr}}).found) << c.name;
            worst = std::max(worst, keyReads);
        }
        EXPECT_LE(worst, c.deepest) << c.name;
        keyReads = 0;
        EXPECT_EQ(nullptr, index.Find({{"x\\COMMON\\ENDING.DLL", nullptr, nullptr}}).found)
            << c.name;
        EXPECT_LE(keyReads, c.deepest) << c.name;
    }
}

} // namespace
