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
    uint32_t FindOrInsert(std::string_view key, bool& inserted)
    {
        return FindOrInsert(key, Hash(key), inserted);
    }
    // The same with the key's Hash() already known (the tokenizer computes it
    // while it copies the word).
    uint32_t FindOrInsert(std::string_view key, uint64_t hash, bool& inserted);
    size_t Size() const { return offsets_.size(); }
    std::string_view Key(uint32_t index) const
    {
        return std::string_view(arena_.data() + offsets_[index], lengths_[index]);
    }
    void Clear();

    // FNV-1a, one byte at a time so that a caller can compute it incrementally:
    // start from kHashSeed and feed each byte to HashByte.
    static constexpr uint64_t kHashSeed = 0xcbf29ce484222325ull;
    static uint64_t HashByte(uint64_t h, unsigned char byte) { return (h ^ byte) * 0x100000001b3ull; }
    static uint64_t Hash(std::string_view key)
    {
        uint64_t h = kHashSeed;
        for (char c : key) {
            h = HashByte(h, static_cast<unsigned char>(c));
        }
        return h;
    }

private:
    void Grow();
    static uint64_t Slot(uint64_t hash, uint32_t index) { return (hash & 0xffffffff00000000ull) | (index + 1u); }

    std::string arena_;
    std::vector<uint64_t> offsets_;
    std::vector<uint32_t> lengths_;
    std::vector<uint64_t> hashes_;
    // Per slot: the upper half of the hash and the entry index + 1 (0 is empty),
    // so that most mismatches are settled without touching the entry.
    std::vector<uint64_t> slots_;
    uint64_t mask_ = 0;
};

// Orders entries by the collation of the current locale and merges the ones it
// holds equal (strcoll can call two different spellings equal); the merged
// entry keeps the spelling that was met first. Returns, per output position,
// the list of entry indexes merged there, first-met first.
std::vector<std::vector<uint32_t>> CollateEntries(const CStringTable& table);

}  // namespace plix
