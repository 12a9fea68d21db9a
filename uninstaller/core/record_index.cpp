#include "core/record_index.h"

#include "core/text_compare.h"

#include <cstring>

namespace {

std::size_t FirstPartLength(const RecordKey& key) {
    return key.parts[0] != nullptr ? std::strlen(key.parts[0]) : 0;
}

std::int32_t HeightOf(const IndexNode* node) {
    return node != nullptr ? node->height : 0;
}

void UpdateHeight(IndexNode* node) {
    std::int32_t lower = HeightOf(node->lower);
    std::int32_t higher = HeightOf(node->higher);
    node->height = (lower > higher ? lower : higher) + 1;
}

IndexNode* RotateHigherUp(IndexNode* node) {
    IndexNode* top = node->higher;
    node->higher = top->lower;
    top->lower = node;
    UpdateHeight(node);
    UpdateHeight(top);
    return top;
}

IndexNode* RotateLowerUp(IndexNode* node) {
    IndexNode* top = node->lower;
    node->lower = top->higher;
    top->higher = node;
    UpdateHeight(node);
    UpdateHeight(top);
    return top;
}

IndexNode* Rebalance(IndexNode* node) {
    UpdateHeight(node);
    std::int32_t balance = HeightOf(node->higher) - HeightOf(node->lower);
    if (balance > 1) {
        if (HeightOf(node->higher->lower) > HeightOf(node->higher->higher)) {
            node->higher = RotateLowerUp(node->higher);
        }
        return RotateHigherUp(node);
    }
    if (balance < -1) {
        if (HeightOf(node->lower->higher) > HeightOf(node->lower->lower)) {
            node->lower = RotateHigherUp(node->lower);
        }
        return RotateLowerUp(node);
    }
    return node;
}

} // namespace

int DuplicateIndex::Compare(const IndexNode& node, const RecordKey& key,
                            std::size_t keyLength) const {
    RecordKey stored = keyOf_(node.record);
    for (int part = 0; part < 3; ++part) {
        if (key.parts[part] == nullptr) {
            continue;
        }
        int order = part == 0 ? CompareFromEnd(stored.parts[0], node.firstPartLength, key.parts[0],
                                               keyLength)
                              : CompareNoCase(stored.parts[part], key.parts[part]);
        if (order != 0) {
            return order;
        }
    }
    return 0;
}

void* DuplicateIndex::Find(const RecordKey& key) const {
    std::size_t keyLength = FirstPartLength(key);
    const IndexNode* node = root_;
    while (node != nullptr) {
        int order = Compare(*node, key, keyLength);
        if (order == 0) {
            return node->record;
        }
        node = order < 0 ? node->higher : node->lower;
    }
    return nullptr;
}

void DuplicateIndex::Link(IndexNode* node) {
    node->lower = nullptr;
    node->higher = nullptr;
    node->height = 1;
    RecordKey key = keyOf_(node->record);
    node->firstPartLength = static_cast<std::uint32_t>(FirstPartLength(key));
    root_ = Insert(root_, node, key);
}

// Recursion depth is the tree's height: under 50 for any list a 32-bit count can hold.
IndexNode* DuplicateIndex::Insert(IndexNode* subtree, IndexNode* node, const RecordKey& key) {
    if (subtree == nullptr) {
        return node;
    }
    if (Compare(*subtree, key, node->firstPartLength) < 0) {
        subtree->higher = Insert(subtree->higher, node, key);
    } else {
        subtree->lower = Insert(subtree->lower, node, key);
    }
    return Rebalance(subtree);
}
