// A hash table of byte strings: each distinct string gets a dense index in the
// order it was first met. The result trees count with it and sort once, when
// they are written, which keeps insertion O(1) whatever order the words come in.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plix {

// Memory for large tables, asked for in huge pages where the system allows:
// lookups land anywhere in the table, and with small pages nearly every one of
// them would also miss the address-translation cache. `hugePages` false: in
// small pages, for memory filled front to back.
void* AllocateLarge(size_t bytes, bool hugePages = true);
void FreeLarge(void* p, size_t bytes);

template <typename T>
struct HugePageAllocator
{
    using value_type = T;
    HugePageAllocator() = default;
    template <typename U>
    HugePageAllocator(const HugePageAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(AllocateLarge(n * sizeof(T))); }
    void deallocate(T* p, size_t n) { FreeLarge(p, n * sizeof(T)); }
    template <typename U>
    bool operator==(const HugePageAllocator<U>&) const { return true; }
    template <typename U>
    bool operator!=(const HugePageAllocator<U>&) const { return false; }
};

// Keys are read eight bytes at a time as numbers whose first byte is the low one.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the string table reads keys little-endian");

class CStringTable
{
public:
    CStringTable();
    // The index of `key`, adding it when it is new (`inserted` tells which).
    uint32_t FindOrInsert(std::string_view key, bool& inserted)
    {
        return FindOrInsert(key, Hash(key), inserted);
    }
    // The same with the key's Hash() already known.
    uint32_t FindOrInsert(std::string_view key, uint64_t hash, bool& inserted)
    {
        uint64_t head[2];
        Head(key, head);
        return FindOrInsert(key, hash, head, inserted);
    }
    // The same with its Head() known as well.
    uint32_t FindOrInsert(std::string_view key, uint64_t hash, const uint64_t head[2], bool& inserted)
    {
        return Lookup(key, hash, head, inserted).ref - 1;
    }
    // Adds one to the tally the table keeps with each key (a word list's count
    // lives next to its key: one memory wait per word, not two).
    uint32_t Tally(std::string_view key, uint64_t hash, const uint64_t head[2], bool& inserted,
                   int64_t times = 1)
    {
        Slot& slot = Lookup(key, hash, head, inserted);
        slot.tally += times;
        return slot.ref - 1;
    }
    // The tallies, by entry index.
    std::vector<int64_t> Tallies() const;
    // Asks the cache for the slot where a lookup of `hash` starts, so that a
    // caller holding several words can overlap their memory waits.
    void Prefetch(uint64_t hash) const { __builtin_prefetch(&slots_[Home(hash, mask_)]); }
    size_t Size() const { return offsets_.size(); }
    std::string_view Key(uint32_t index) const
    {
        return std::string_view(arena_.data() + offsets_[index], lengths_[index]);
    }
    void Clear();

    // The first sixteen bytes of a key, zero-padded: most words are no longer,
    // so a slot holding them settles a lookup without touching the entry.
    static void Head(std::string_view key, uint64_t head[2])
    {
        const char* p = key.data();
        size_t n = key.size();
        if (n >= 16) {
            std::memcpy(head, p, 16);
        } else if (n >= 8) {
            std::memcpy(head, p, 8);
            head[1] = Tail(p + 8, n - 8);
        } else {
            head[0] = Tail(p, n);
            head[1] = 0;
        }
    }
    // Eight bytes at a time: words are short, so most take two rounds.
    static uint64_t Hash(std::string_view key)
    {
        // The key is hashed as if padded with zeros to at least sixteen bytes
        // and past its last full eight, so that a short key always takes the
        // same two rounds (see HashPadded).
        uint64_t h = kHashSeed;
        const char* p = key.data();
        size_t n = key.size();
        while (n >= 8) {
            uint64_t w;
            std::memcpy(&w, p, 8);
            h = HashWord(h, w);
            p += 8;
            n -= 8;
        }
        uint64_t tail = Tail(p, n);
        if (key.size() < 8) {
            h = HashWord(h, tail);
            tail = 0;
        }
        return HashEnd(h, tail, key.size());
    }
    // Hash() and Head() of a key with at least sixteen readable bytes from its
    // start (what follows the key is ignored). Keys under sixteen bytes, nearly
    // every word, take no branch that depends on their length.
    static uint64_t HashPadded(const char* p, size_t n, uint64_t head[2])
    {
        if (n >= 16) {
            Head(std::string_view(p, n), head);
            return Hash(std::string_view(p, n));
        }
        uint64_t a;
        uint64_t b;
        std::memcpy(&a, p, 8);
        std::memcpy(&b, p + 8, 8);
        head[0] = a & Mask(n);
        head[1] = b & Mask(n > 8 ? n - 8 : 0);
        return HashEnd(HashWord(kHashSeed, head[0]), head[1], n);
    }

private:
    static constexpr uint64_t kHashSeed = 0x9e3779b97f4a7c15ull;
    static uint64_t HashWord(uint64_t h, uint64_t eight)
    {
        h = (h ^ eight) * 0xff51afd7ed558ccdull;
        return h ^ (h >> 32);
    }
    static uint64_t HashEnd(uint64_t h, uint64_t tail, size_t size)
    {
        h = (h ^ tail ^ (static_cast<uint64_t>(size) << 56)) * 0xc4ceb9fe1a85ec53ull;
        return h ^ (h >> 29);
    }
    // The low `bytes` bytes (0 to 8) of a little-endian number.
    static uint64_t Mask(size_t bytes) { return bytes >= 8 ? ~0ull : (uint64_t{1} << (8 * bytes)) - 1; }
    // Up to seven bytes as a number, without a library call.
    static uint64_t Tail(const char* p, size_t n)
    {
        uint64_t w = 0;
        for (size_t k = 0; k < n; ++k) {
            w |= static_cast<uint64_t>(static_cast<unsigned char>(p[k])) << (8 * k);
        }
        return w;
    }
    struct Slot
    {
        uint32_t ref = 0;  // entry index + 1; 0 is an empty slot
        uint16_t tag = 0;  // 16 more bits of the hash
        uint16_t size = 0;  // the key's length, 0xffff for any longer
        uint64_t head[2] = {0, 0};  // Head() of the key
        int64_t tally = 0;
    };
    static_assert(sizeof(Slot) == 32, "two slots to a cache line");
    Slot& Lookup(std::string_view key, uint64_t hash, const uint64_t head[2], bool& inserted);
    static uint64_t Home(uint64_t hash, uint64_t mask) { return (hash * 0x9e3779b97f4a7c15ull) >> 20 & mask; }
    static uint16_t Tag(uint64_t hash) { return static_cast<uint16_t>(hash >> 48); }
    void Grow();

    std::string arena_;
    std::vector<uint64_t> offsets_;
    std::vector<uint32_t> lengths_;
    std::vector<uint64_t> hashes_;
    std::vector<Slot, HugePageAllocator<Slot>> slots_;
    uint64_t mask_ = 0;
};

// Sorts stably in blocks merged pairwise, asking `cancelled` between the
// pieces (a small vector is sorted without a question); false when it said yes.
template <typename T, typename Less>
bool SortInSteps(std::vector<T>& items, Less less, const std::function<bool()>& cancelled)
{
    constexpr size_t kBlock = size_t{1} << 16;
    const size_t n = items.size();
    for (size_t from = 0; from < n; from += kBlock) {
        if (from > 0 && cancelled && cancelled()) {
            return false;
        }
        std::stable_sort(items.begin() + static_cast<ptrdiff_t>(from),
                         items.begin() + static_cast<ptrdiff_t>(std::min(n, from + kBlock)), less);
    }
    if (n <= kBlock) {
        return true;
    }
    std::vector<T> merged(n);
    for (size_t width = kBlock; width < n; width *= 2) {
        for (size_t from = 0; from < n; from += 2 * width) {
            if (cancelled && cancelled()) {
                return false;
            }
            const auto first = items.begin() + static_cast<ptrdiff_t>(from);
            const auto middle = items.begin() + static_cast<ptrdiff_t>(std::min(n, from + width));
            const auto last = items.begin() + static_cast<ptrdiff_t>(std::min(n, from + 2 * width));
            std::merge(first, middle, middle, last, merged.begin() + static_cast<ptrdiff_t>(from), less);
        }
        items.swap(merged);
    }
    return true;
}

// The table's entries in plain unsigned byte order, whatever the locale,
// asking `cancelled` between the pieces of the sort; false when it said yes.
[[nodiscard]] bool SortByteOrder(const CStringTable& table, std::vector<uint32_t>& order,
                                 const std::function<bool()>& cancelled);

// Orders entries by the collation of the current locale and merges the ones it
// holds equal (strcoll can call two different spellings equal); the merged
// entry keeps the spelling that was met first. Returns, per output position,
// the list of entry indexes merged there, first-met first.
std::vector<std::vector<uint32_t>> CollateEntries(const CStringTable& table);
// The same, asking `cancelled` between the pieces of the sort of a large table;
// false (with `groups` empty) when it said yes.
[[nodiscard]] bool CollateEntries(const CStringTable& table, std::vector<std::vector<uint32_t>>& groups,
                                  const std::function<bool()>& cancelled);

}  // namespace plix
