// A hash table of byte strings: each distinct string gets a dense index in the
// order it was first met. The result trees count with it and sort once, when
// they are written, which keeps insertion O(1) whatever order the words come in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plix {

class CStringTable
{
public:
    CStringTable();
    // The index of `key`, adding it when it is new (`inserted` tells which).
    uint32_t FindOrInsert(std::string_view key, bool& inserted);
    size_t Size() const { return offsets_.size(); }
    std::string_view Key(uint32_t index) const
    {
        return std::string_view(arena_.data() + offsets_[index], lengths_[index]);
    }
    void Clear();

private:
    void Grow();
    static uint64_t Hash(std::string_view key);

    std::string arena_;
    std::vector<uint64_t> offsets_;
    std::vector<uint32_t> lengths_;
    std::vector<uint32_t> hashes_;
    std::vector<uint32_t> slots_;  // entry index + 1; 0 is empty
    uint64_t mask_ = 0;
};

// Orders entries by the collation of the current locale and merges the ones it
// holds equal (strcoll can call two different spellings equal); the merged
// entry keeps the spelling that was met first. Returns, per output position,
// the list of entry indexes merged there, first-met first.
std::vector<std::vector<uint32_t>> CollateEntries(const CStringTable& table);

}  // namespace plix
