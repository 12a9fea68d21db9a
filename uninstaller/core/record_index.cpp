#include "core/record_index.h"

#include "core/text_compare.h"

#include <cstring>

namespace {

constexpr std::size_t SummarisedCharacters = 8;

KeySummary::Characters Halves(std::uint64_t characters) {
    return {static_cast<std::uint32_t>(characters >> 32), static_cast<std::uint32_t>(characters)};
}

KeySummary Summarise(const RecordKey& key) {
    KeySummary summary{};
    if (key.parts[0] != nullptr) {
        summary.firstLength = static_cast<std::uint32_t>(std::strlen(key.parts[0]));
        summary.firstEnding = Halves(FoldedEnding(key.parts[0], summary.firstLength));
    }
    for (int part = 1; part < 3; ++part) {
        if (key.parts[part] != nullptr) {
            summary.otherOpenings[part - 1] = Halves(FoldedOpening(key.parts[part]));
        }
    }
    return summary;
}

// CompareFromEnd's order of the first parts a and b, from their summaries
// where the last characters decide it.
int CompareFirstParts(const char* a, const KeySummary& aSummary, const char* b,
                      const KeySummary& bSummary) {
    std::size_t aLength = aSummary.firstLength;
    std::size_t bLength = bSummary.firstLength;
    std::size_t shorter = aLength < bLength ? aLength : bLength;
    std::uint64_t aEnding = aSummary.firstEnding.Value();
    std::uint64_t bEnding = bSummary.firstEnding.Value();
    if (aEnding != bEnding) {
        // Counted from the end of the texts.
        auto position = static_cast<std::size_t>(__builtin_clzll(aEnding ^ bEnding) / 8);
        if (position < shorter) {
            return aEnding < bEnding ? -1 : 1;
        }
        return aLength > bLength ? -1 : 1; // one text ends the other: the longer first
    }
    if (shorter <= SummarisedCharacters) {
        return aLength == bLength ? 0 : (aLength > bLength ? -1 : 1);
    }
    return CompareFromEnd(a, aLength - SummarisedCharacters, b, bLength - SummarisedCharacters);
}

// CompareNoCase's order of a and b, from their openings where their first
// characters decide it.
int CompareOtherParts(const char* a, KeySummary::Characters aCharacters, const char* b,
                      KeySummary::Characters bCharacters) {
    std::uint64_t aOpening = aCharacters.Value();
    std::uint64_t bOpening = bCharacters.Value();
    if (aOpening != bOpening) {
        return aOpening < bOpening ? -1 : 1;
    }
    if ((aOpening & 0xFF) == 0) {
        return 0; // both ended within the opening
    }
    return CompareNoCase(a + SummarisedCharacters, b + SummarisedCharacters);
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

int DuplicateIndex::Compare(const IndexNode& node, const RecordKey& key, Search& search) const {
    RecordKey stored = keyOf_(node.record);
    const KeySummary& summary = search.summary;
    if (key.parts[0] != nullptr &&
        (search.firstPartGroup == nullptr || node.firstPartGroup != search.firstPartGroup)) {
        int order = CompareFirstParts(stored.parts[0], node.summary, key.parts[0], summary);
        if (order != 0) {
            return order;
        }
        search.firstPartGroup = node.firstPartGroup;
    }
    for (int part = 1; part < 3; ++part) {
        if (key.parts[part] == nullptr) {
            continue;
        }
        int order = CompareOtherParts(stored.parts[part], node.summary.otherOpenings[part - 1],
                                      key.parts[part], summary.otherOpenings[part - 1]);
        if (order != 0) {
            return order;
        }
    }
    return 0;
}

DuplicateIndex::Search DuplicateIndex::Find(const RecordKey& key) {
    Search search;
    search.found = nullptr;
    search.summary = Summarise(key);
    search.firstPartGroup = nullptr;
    search.depth = 0;
    search.links[0] = &root_;
    for (IndexNode* node = root_; node != nullptr; node = *search.links[search.depth]) {
        int order = Compare(*node, key, search);
        if (order == 0) {
            search.found = node->record;
            break;
        }
        search.links[++search.depth] = order < 0 ? &node->higher : &node->lower;
    }
    return search;
}

void DuplicateIndex::Link(IndexNode* node, const Search& search) {
    node->lower = nullptr;
    node->higher = nullptr;
    node->height = 1;
    node->summary = search.summary;
    node->firstPartGroup = search.firstPartGroup != nullptr ? search.firstPartGroup : node;
    *search.links[search.depth] = node;
    // Each link above holds a subtree that has grown by the node.
    for (int level = search.depth - 1; level >= 0; --level) {
        *search.links[level] = Rebalance(*search.links[level]);
    }
}
