#include "engine/string_table.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "settings/text.h"

namespace plix {

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
    slots_.assign(1024, 0);
    mask_ = slots_.size() - 1;
}

uint32_t CStringTable::FindOrInsert(std::string_view key, uint64_t hash, bool& inserted)
{
    // The low bits choose the slot, the high bits are kept in it.
    hash ^= hash >> 29;
    const uint64_t tag = hash & 0xffffffff00000000ull;
    uint64_t i = (hash * 0x9e3779b97f4a7c15ull) >> 20 & mask_;
    for (;;) {
        uint64_t slot = slots_[i];
        if (slot == 0) {
            break;
        }
        if ((slot & 0xffffffff00000000ull) == tag) {
            uint32_t index = static_cast<uint32_t>(slot) - 1;
            if (lengths_[index] == key.size() &&
                std::memcmp(arena_.data() + offsets_[index], key.data(), key.size()) == 0) {
                inserted = false;
                return index;
            }
        }
        i = (i + 1) & mask_;
    }
    uint32_t index = static_cast<uint32_t>(offsets_.size());
    offsets_.push_back(arena_.size());
    lengths_.push_back(static_cast<uint32_t>(key.size()));
    hashes_.push_back(hash);
    arena_.append(key);
    slots_[i] = Slot(hash, index);
    inserted = true;
    if (offsets_.size() * 2 > slots_.size()) {
        Grow();
    }
    return index;
}

void CStringTable::Grow()
{
    std::vector<uint64_t> bigger(slots_.size() * 2, 0);
    uint64_t mask = bigger.size() - 1;
    for (uint32_t index = 0; index < offsets_.size(); ++index) {
        uint64_t hash = hashes_[index];
        uint64_t i = (hash * 0x9e3779b97f4a7c15ull) >> 20 & mask;
        while (bigger[i] != 0) {
            i = (i + 1) & mask;
        }
        bigger[i] = Slot(hash, index);
    }
    slots_.swap(bigger);
    mask_ = mask;
}

std::vector<std::vector<uint32_t>> CollateEntries(const CStringTable& table)
{
    const size_t n = table.Size();
    std::vector<uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::vector<std::vector<uint32_t>> groups;
    if (CollationIsByteOrder()) {
        // Byte order: different strings never compare equal.
        std::sort(order.begin(), order.end(),
                  [&](uint32_t a, uint32_t b) { return table.Key(a) < table.Key(b); });
        groups.reserve(n);
        for (uint32_t index : order) {
            groups.push_back({index});
        }
        return groups;
    }
    std::vector<std::string> keys(n);
    for (uint32_t i = 0; i < n; ++i) {
        keys[i] = CollationKey(table.Key(i));
    }
    // Equal keys keep the order met, so the first of a run is the spelling met first.
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && keys[order[i]] == keys[order[i - 1]]) {
            groups.back().push_back(order[i]);
        } else {
            groups.push_back({order[i]});
        }
    }
    return groups;
}

}  // namespace plix
