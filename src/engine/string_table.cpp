#include "engine/string_table.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <numeric>

#include "settings/text.h"

namespace plix {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

void* AllocateLarge(size_t bytes)
{
    if (bytes < kHugePage) {
        return ::operator new(bytes);
    }
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    (void)madvise(p, rounded, MADV_HUGEPAGE);  // only a hint: small pages work too
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
        if (!SortInSteps(order, [&](uint32_t a, uint32_t b) { return table.Key(a) < table.Key(b); },
                         cancelled)) {
            return false;
        }
        groups.reserve(n);
        for (uint32_t index : order) {
            groups.push_back({index});
        }
        return true;
    }
    std::vector<std::string> keys(n);
    for (uint32_t i = 0; i < n; ++i) {
        if ((i & 0xffff) == 0xffff && cancelled && cancelled()) {
            return false;
        }
        keys[i] = CollationKey(table.Key(i));
    }
    // Equal keys keep the order met, so the first of a run is the spelling met first.
    if (!SortInSteps(order, [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; }, cancelled)) {
        return false;
    }
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && keys[order[i]] == keys[order[i - 1]]) {
            groups.back().push_back(order[i]);
        } else {
            groups.push_back({order[i]});
        }
    }
    return true;
}

}  // namespace plix
