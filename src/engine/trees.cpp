#include "engine/trees.h"

#include <algorithm>
#include <numeric>

namespace plix {

// ---- word lists ---------------------------------------------------------------

bool CWordTree::Insert(std::string_view text, uint64_t hash)
{
    uint64_t head[2];
    CStringTable::Head(text, head);
    return Insert(text, hash, head);
}

bool CWordTree::Insert(std::string_view text, uint64_t hash, const uint64_t head[2])
{
    bool inserted = false;
    (void)table_.Tally(text, hash, head, inserted);
    return inserted;
}

std::vector<CWordEntry> CWordTree::Alphabetical() const
{
    std::vector<CWordEntry> result;
    (void)Alphabetical(result, {});
    return result;
}

bool CWordTree::Alphabetical(std::vector<CWordEntry>& result,
                             const std::function<bool()>& cancelled) const
{
    result.clear();
    std::vector<std::vector<uint32_t>> groups;
    if (!CollateEntries(table_, groups, cancelled)) {
        return false;
    }
    const std::vector<int64_t> counts = table_.Tallies();
    result.reserve(groups.size());
    for (const std::vector<uint32_t>& group : groups) {
        CWordEntry entry{table_.Key(group.front()), 0};
        for (uint32_t index : group) {
            entry.count += counts[index];
        }
        result.push_back(entry);
    }
    return true;
}

std::vector<CWordEntry> CWordTree::Rebuild(const std::vector<CWordEntry>& alphabetical,
                                           bool ascending, const std::function<bool()>& cancelled)
{
    std::vector<CWordEntry> result;
    result.reserve(alphabetical.size());
    for (const CWordEntry& entry : alphabetical) {
        if (cancelled && cancelled()) {
            break;
        }
        result.push_back(entry);
    }
    // Stable: equal counts keep the alphabetical order they were inserted in.
    if (ascending) {
        std::stable_sort(result.begin(), result.end(),
                         [](const CWordEntry& a, const CWordEntry& b) { return a.count < b.count; });
    } else {
        std::stable_sort(result.begin(), result.end(),
                         [](const CWordEntry& a, const CWordEntry& b) { return a.count > b.count; });
    }
    return result;
}

void CWordTree::DeleteTree()
{
    table_.Clear();
}

// ---- collocation ----------------------------------------------------------------

bool CCountTree::Insert(std::string_view text, int slot)
{
    uint64_t head[2];
    CStringTable::Head(text, head);
    bool inserted = false;
    Count(Enter(text, CStringTable::Hash(text), head, inserted), slot);
    return inserted;
}

uint32_t CCountTree::Enter(std::string_view text, uint64_t hash, const uint64_t head[2],
                           bool& inserted)
{
    inserted = false;
    uint32_t index = table_.FindOrInsert(text, hash, head, inserted);
    if (inserted) {
        counts_.emplace_back();
        counts_.back().fill(0);
    }
    return index;
}

void CCountTree::Walk(const std::function<bool(const CCountTreeNode&)>& visit) const
{
    (void)Walk(visit, {}, {});
}

bool CCountTree::Walk(const std::function<bool(const CCountTreeNode&)>& visit,
                      const std::function<bool()>& cancelled,
                      const std::function<void()>& sorted) const
{
    std::vector<uint32_t> order;
    if (!SortByteOrder(table_, order, cancelled)) {
        return false;
    }
    if (sorted) {
        sorted();
    }
    CCountTreeNode node;
    for (uint32_t index : order) {
        node.text = table_.Key(index);
        node.counts = counts_[index];
        node.total = std::accumulate(node.counts.begin(), node.counts.end(), int64_t{0});
        if (!visit(node)) {
            break;
        }
    }
    return true;
}

void CCountTree::DeleteTree()
{
    table_.Clear();
    counts_.clear();
    counts_.shrink_to_fit();
}

}  // namespace plix
