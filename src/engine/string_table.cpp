#include "engine/string_table.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <numeric>
#include <thread>

#include "settings/text.h"

namespace plix {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

// An entry with its collation key: the key's first eight bytes as a number
// settle most comparisons without leaving the array.
struct Collated
{
    uint64_t prefix;
    uint64_t offset;  // of the key in the keys' arena
    uint32_t length;
    uint32_t index;
};

uint64_t BigEndianHead(const char* p, size_t n)
{
    uint64_t v = 0;
    for (size_t k = 0; k < 8; ++k) {
        v = (v << 8) | (k < n ? static_cast<unsigned char>(p[k]) : 0u);
    }
    return v;
}

// The collation keys of entries [from, to), appended to `arena` and `out`;
// false when `stop` was raised or `cancelled` said yes.
bool TransformKeys(const CStringTable& table, uint32_t from, uint32_t to, std::string& arena,
                   std::vector<Collated>& out, const std::atomic<bool>& stop,
                   const std::function<bool()>& cancelled)
{
    std::string source;
    out.reserve(to - from);
    for (uint32_t i = from; i < to; ++i) {
        if ((i & 0xfff) == 0xfff &&
            (stop.load(std::memory_order_relaxed) || (cancelled && cancelled()))) {
            return false;
        }
        const size_t at = arena.size();
        AppendCollationKey(table.Key(i), arena, source);
        const size_t n = arena.size() - at;
        out.push_back({BigEndianHead(arena.data() + at, n), at, static_cast<uint32_t>(n), i});
    }
    return true;
}

}  // namespace

void* AllocateLarge(size_t bytes, bool hugePages)
{
    if (bytes < kHugePage) {
        return ::operator new(bytes);
    }
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    if (hugePages) {
        (void)madvise(p, rounded, MADV_HUGEPAGE);  // only a hint: small pages work too
    }
    return p;
}

void FreeLarge(void* p, size_t bytes)
{
    if (bytes < kHugePage) {
        ::operator delete(p);
    } else {
        std::free(p);
    }
}

CStringTable::CStringTable()
{
    Clear();
}

void CStringTable::Clear()
{
    arena_.clear();
    offsets_.clear();
    lengths_.clear();
    hashes_.clear();
    slots_.assign(1024, Slot{});
    mask_ = slots_.size() - 1;
}

CStringTable::Slot& CStringTable::Lookup(std::string_view key, uint64_t hash, const uint64_t head[2], bool& inserted)
{
    const uint16_t tag = Tag(hash);
    const uint16_t size = static_cast<uint16_t>(std::min<size_t>(key.size(), 0xffff));
    uint64_t i = Home(hash, mask_);
    for (;;) {
        Slot& slot = slots_[i];
        if (slot.ref == 0) {
            break;
        }
        if (slot.tag == tag && slot.size == size && slot.head[0] == head[0] &&
            slot.head[1] == head[1]) {
            uint32_t index = slot.ref - 1;
            if (key.size() <= 16 ||
                (lengths_[index] == key.size() &&
                 std::memcmp(arena_.data() + offsets_[index] + 16, key.data() + 16, key.size() - 16) == 0)) {
                inserted = false;
                return slot;
            }
        }
        i = (i + 1) & mask_;
    }
    // Grown before the new key goes in, so that the slot returned stays put.
    if ((offsets_.size() + 1) * 2 > slots_.size()) {
        Grow();
        i = Home(hash, mask_);
        while (slots_[i].ref != 0) {
            i = (i + 1) & mask_;
        }
    }
    uint32_t index = static_cast<uint32_t>(offsets_.size());
    offsets_.push_back(arena_.size());
    lengths_.push_back(static_cast<uint32_t>(key.size()));
    hashes_.push_back(hash);
    arena_.append(key);
    slots_[i] = Slot{index + 1, tag, size, {head[0], head[1]}, 0};
    inserted = true;
    return slots_[i];
}

std::vector<int64_t> CStringTable::Tallies() const
{
    std::vector<int64_t> tallies(offsets_.size(), 0);
    for (const Slot& slot : slots_) {
        if (slot.ref != 0) {
            tallies[slot.ref - 1] = slot.tally;
        }
    }
    return tallies;
}

void CStringTable::Grow()
{
    std::vector<Slot, HugePageAllocator<Slot>> bigger(slots_.size() * 2);
    uint64_t mask = bigger.size() - 1;
    for (const Slot& slot : slots_) {
        if (slot.ref == 0) {
            continue;
        }
        uint64_t i = Home(hashes_[slot.ref - 1], mask);
        while (bigger[i].ref != 0) {
            i = (i + 1) & mask;
        }
        bigger[i] = slot;
    }
    slots_.swap(bigger);
    mask_ = mask;
}

bool SortByteOrder(const CStringTable& table, std::vector<uint32_t>& order,
                   const std::function<bool()>& cancelled)
{
    // Each key is sorted by its first eight bytes read as a big-endian number
    // (zero-padded, so that a key that ends sooner comes first) and only keys
    // that share them are compared whole: the sort seldom leaves the memory
    // of its own array.
    struct Entry
    {
        uint64_t prefix;
        uint32_t index;
    };
    const size_t n = table.Size();
    std::vector<Entry> entries(n);
    for (uint32_t i = 0; i < n; ++i) {
        const std::string_view key = table.Key(i);
        uint64_t prefix = 0;
        for (size_t b = 0; b < 8; ++b) {
            prefix = (prefix << 8) | (b < key.size() ? static_cast<unsigned char>(key[b]) : 0u);
        }
        entries[i] = {prefix, i};
    }
    const auto less = [&](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix) {
            return a.prefix < b.prefix;
        }
        return table.Key(a.index) < table.Key(b.index);
    };
    if (!SortInSteps(entries, less, cancelled)) {
        return false;
    }
    order.resize(n);
    for (size_t i = 0; i < n; ++i) {
        order[i] = entries[i].index;
    }
    return true;
}

std::vector<std::vector<uint32_t>> CollateEntries(const CStringTable& table)
{
    std::vector<std::vector<uint32_t>> groups;
    (void)CollateEntries(table, groups, {});
    return groups;
}

bool CollateEntries(const CStringTable& table, std::vector<std::vector<uint32_t>>& groups,
                    const std::function<bool()>& cancelled)
{
    const size_t n = table.Size();
    std::vector<uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    groups.clear();
    if (CollationIsByteOrder()) {
        // Byte order: different strings never compare equal.
        if (!SortByteOrder(table, order, cancelled)) {
            return false;
        }
        groups.reserve(n);
        for (uint32_t index : order) {
            groups.push_back({index});
        }
        return true;
    }
    // The keys are made and sorted in two halves on two cores where there are
    // two and the table is large; the user is asked about cancelling from
    // this thread only, the other half is told to stop.
    const bool split = n >= 8192 && std::thread::hardware_concurrency() > 1;
    const uint32_t half = split ? static_cast<uint32_t>(n / 2) : static_cast<uint32_t>(n);
    std::string arena;
    std::string otherArena;
    std::vector<Collated> mine;
    std::vector<Collated> other;
    std::atomic<bool> stop{false};
    auto less = [](const std::string& keys) {
        return [&keys](const Collated& a, const Collated& b) {
            if (a.prefix != b.prefix) {
                return a.prefix < b.prefix;
            }
            const int c = std::string_view(keys.data() + a.offset, a.length)
                              .compare(std::string_view(keys.data() + b.offset, b.length));
            return c != 0 ? c < 0 : a.index < b.index;
        };
    };
    bool otherDone = true;
    std::thread worker;
    if (split) {
        worker = std::thread([&] {
            const std::function<bool()> stopped = [&stop] { return stop.load(); };
            otherDone = TransformKeys(table, half, static_cast<uint32_t>(n), otherArena, other,
                                      stop, {}) &&
                        SortInSteps(other, less(otherArena), stopped);
        });
    }
    bool done = TransformKeys(table, 0, half, arena, mine, stop, cancelled) &&
                SortInSteps(mine, less(arena), cancelled);
    if (!done) {
        stop = true;
    }
    if (worker.joinable()) {
        worker.join();
    }
    if (!done || !otherDone) {
        return false;
    }
    // One arena for both halves, then one merge.
    const uint64_t shift = arena.size();
    arena += otherArena;
    for (Collated& c : other) {
        c.offset += shift;
    }
    std::vector<Collated> sorted(n);
    std::merge(mine.begin(), mine.end(), other.begin(), other.end(), sorted.begin(), less(arena));
    // Equal keys keep the order met, so the first of a run is the spelling met first.
    auto sameKey = [&arena](const Collated& a, const Collated& b) {
        return a.prefix == b.prefix && std::string_view(arena.data() + a.offset, a.length) ==
                                           std::string_view(arena.data() + b.offset, b.length);
    };
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && sameKey(sorted[i], sorted[i - 1])) {
            groups.back().push_back(sorted[i].index);
        } else {
            groups.push_back({sorted[i].index});
        }
    }
    return true;
}

}  // namespace plix
