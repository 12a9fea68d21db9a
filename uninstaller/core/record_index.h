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

// What a node keeps of its key, so that most steps of a descent are decided
// without reading the record (which lies far from the other nodes) and no
// text is measured more than once.
struct KeySummary {
    // Eight folded characters (FoldedEnding, FoldedOpening) in two halves, so
    // that a node needs no more alignment than the arena gives: a pointer's.
    struct Characters {
        std::uint32_t high;
        std::uint32_t low;
        std::uint64_t Value() const { return std::uint64_t{high} << 32 | low; }
    };
    Characters firstEnding;      // FoldedEnding of part one
    Characters otherOpenings[2]; // FoldedOpening of parts two and three
    std::uint32_t firstLength;
};

// A tree node; it lives in the record arena.
struct IndexNode {
    IndexNode* lower;  // keys that sort before this one
    IndexNode* higher; // keys that sort after it
    void* record;
    // Nodes whose first parts are equal share one of them here. Many keys
    // share a first part (the entries of one INI file, the values of one
    // registry key); once a descent has found it equal, the others need not
    // be read again.
    const IndexNode* firstPartGroup;
    KeySummary summary;
    std::int32_t height;
};

class DuplicateIndex {
public:
    using KeyOf = RecordKey (*)(const void* record);

    // Deeper than an AVL tree of any count a list can hold (2^31 records) gets.
    static constexpr int MaxDepth = 48;

    // Where a search ended: the record found or, when there is none, the
    // empty link that a record of the searched key would hang on.
    struct Search {
        void* found;
        KeySummary summary; // of the searched key
        // The group of the nodes whose first part equals the searched one, or
        // nullptr when the search met none. A search that misses meets one
        // wherever there is one: the keys of one first part sort together,
        // and a missing key's neighbours in that order are on its path.
        const IndexNode* firstPartGroup;
        // links[0] is the root; links[i + 1] is the link taken from the node at links[i].
        IndexNode** links[MaxDepth + 1];
        int depth; // links[depth] is where the search ended
    };

    explicit DuplicateIndex(KeyOf keyOf) : keyOf_(keyOf) {}

    // Looks key up; the result stays valid until the tree changes.
    Search Find(const RecordKey& key);

    // Hangs node, whose record holds the key of the search that missed, where
    // that search ended; the tree must not have changed in between. One
    // descent serves both the lookup and the insertion.
    void Link(IndexNode* node, const Search& search);

    void Clear() { root_ = nullptr; }

private:
    // Orders node's key against key: negative when the node's key sorts
    // before it, 0 when every part that key gives is equal.
    // search tells what the descent found so far and learns the first part's
    // group when it meets it.
    int Compare(const IndexNode& node, const RecordKey& key, Search& search) const;

    KeyOf keyOf_;
    IndexNode* root_ = nullptr;
};
