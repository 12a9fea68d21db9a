#pragma once
// The duplicate index of a record list: finds an earlier record with the same
// key while the log is read. It decides nothing but whether a record exists;
// the lists are always processed in their own order. Balanced (AVL), so that a
// log whose paths arrive in sorted order costs no more than a shuffled one.

#include <cstdint>

// Up to three key parts. The first (a path or key path) is compared with
// CompareFromEnd, the others with CompareNoCase. A part given as nullptr in a
// searched key is not compared.
struct RecordKey {
    const char* parts[3];
};

// Orders a stored key against a searched one: negative when the stored key
// sorts before it, 0 when every given part is equal.
int CompareRecordKeys(const RecordKey& stored, const RecordKey& searched);

// A tree node; it lives in the record arena next to its record.
struct IndexNode {
    IndexNode* lower;  // keys that sort before this one
    IndexNode* higher; // keys that sort after it
    void* record;
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
    IndexNode* Insert(IndexNode* subtree, IndexNode* node, const RecordKey& key);

    KeyOf keyOf_;
    IndexNode* root_ = nullptr;
};
