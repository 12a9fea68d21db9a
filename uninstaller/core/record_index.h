#pragma once
// The duplicate index of a record list: finds an earlier record with the same
// key while the log is read. It decides nothing but whether a record exists;
// the lists are always processed in their own order. Balanced (AVL), so that a
// log whose paths arrive in sorted order costs no more than a shuffled one.

#include <cstddef>
#include <cstdint>

// Up to three key parts. The first (a path or key path) is compared with
// CompareFromEnd, the others with CompareNoCase. A part given as nullptr in a
// searched key is not compared.
struct RecordKey {
    const char* parts[3];
};

// A tree node; it lives in the record arena next to its record.
struct IndexNode {
    IndexNode* lower;  // keys that sort before this one
    IndexNode* higher; // keys that sort after it
    void* record;
    // Measured once when the node is linked: every descent through the node
    // compares the first part from its end, which needs its length.
    std::uint32_t firstPartLength;
    std::int32_t height;
};

class DuplicateIndex {
public:
    using KeyOf = RecordKey (*)(const void* record);

    explicit DuplicateIndex(KeyOf keyOf) : keyOf_(keyOf) {}

    // The record whose key equals key, or nullptr.
    void* Find(const RecordKey& key) const;

    // Hangs node (its record set, its key not yet in the tree) into the tree.
    void Link(IndexNode* node);

    void Clear() { root_ = nullptr; }

private:
    // Orders node's key against key (whose first part is keyLength long):
    // negative when the node's key sorts before it, 0 when every part key
    // gives is equal.
    int Compare(const IndexNode& node, const RecordKey& key, std::size_t keyLength) const;
    IndexNode* Insert(IndexNode* subtree, IndexNode* node, const RecordKey& key);

    KeyOf keyOf_;
    IndexNode* root_ = nullptr;
};
