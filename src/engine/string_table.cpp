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

uint64_t CStringTable::Hash(std::string_view key)
{
    // 64-bit FNV-1a over 8-byte words, finished with a multiply-xorshift.
    uint64_t h = 0xcbf29ce484222325ull ^ key.size();
    const char* p = key.data();
    size_t n = key.size();
    while (n >= 8) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        h = (h ^ w) * 0x100000001b3ull;
        h ^= h >> 29;
        p += 8;
        n -= 8;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, p, n);
    h = (h ^ tail) * 0x9e3779b97f4a7c15ull;
    h ^= h >> 32;
    return h;
}

uint32_t CStringTable::FindOrInsert(std::string_view key, bool& inserted)
{
    uint64_t h = Hash(key);
    uint32_t h32 = static_cast<uint32_t>(h);
    uint64_t i = h & mask_;
    for (;;) {
        uint32_t slot = slots_[i];
        if (slot == 0) {
            break;
        }
        uint32_t index = slot - 1;
        if (hashes_[index] == h32 && lengths_[index] == key.size() &&
            std::memcmp(arena_.data() + offsets_[index], key.data(), key.size()) == 0) {
            inserted = false;
            return index;
        }
        i = (i + 1) & mask_;
    }
    uint32_t index = static_cast<uint32_t>(offsets_.size());
    offsets_.push_back(arena_.size());
    lengths_.push_back(static_cast<uint32_t>(key.size()));
    hashes_.push_back(h32);
    arena_.append(key);
    slots_[i] = index + 1;
    inserted = true;
    if (offsets_.size() * 2 > slots_.size()) {
        Grow();
    }
    return index;
}

void CStringTable::Grow()
{
    std::vector<uint32_t> bigger(slots_.size() * 2, 0);
    uint64_t mask = bigger.size() - 1;
    for (uint32_t index = 0; index < offsets_.size(); ++index) {
        uint64_t i = Hash(Key(index)) & mask;
        while (bigger[i] != 0) {
            i = (i + 1) & mask;
        }
        bigger[i] = index + 1;
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
