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
    const std::vector<int64_t> counts = table_.Tallies();
    for (const std::vector<uint32_t>& group : CollateEntries(table_)) {
        CWordEntry entry{table_.Key(group.front()), 0};
        for (uint32_t index : group) {
            entry.count += counts[index];
        }
        result.push_back(entry);
    }
    return result;
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

// ---- index ----------------------------------------------------------------------

bool CIndexTree::Insert(std::string_view text, uint64_t hash, int64_t lineNumber, int fileOrdinal)
{
    bool inserted = false;
    uint32_t index = table_.FindOrInsert(text, hash, inserted);
    if (inserted) {
        occurrences_.emplace_back();
    }
    uint64_t packed = (static_cast<uint64_t>(fileOrdinal) << 40) |
                      (static_cast<uint64_t>(lineNumber) & ((uint64_t{1} << 40) - 1));
    occurrences_[index].push_back(packed);
    return inserted;
}

size_t CIndexTree::MergedTypes() const
{
    return CollateEntries(table_).size();
}

void CIndexTree::Walk(const std::function<bool(const CIndexNode&)>& visit) const
{
    CIndexNode node;
    for (const std::vector<uint32_t>& group : CollateEntries(table_)) {
        node.text = table_.Key(group.front());
        node.lines.clear();
        if (group.size() == 1) {
            for (uint64_t packed : occurrences_[group.front()]) {
                node.lines.push_back(static_cast<int64_t>(packed & ((uint64_t{1} << 40) - 1)));
            }
        } else {
            // Spellings the locale holds equal share one entry; their
            // occurrences interleave in the order they were found.
            std::vector<uint64_t> merged;
            for (uint32_t index : group) {
                merged.insert(merged.end(), occurrences_[index].begin(), occurrences_[index].end());
            }
            std::stable_sort(merged.begin(), merged.end());
            for (uint64_t packed : merged) {
                node.lines.push_back(static_cast<int64_t>(packed & ((uint64_t{1} << 40) - 1)));
            }
        }
        node.count = static_cast<int64_t>(node.lines.size());
        if (!visit(node)) {
            return;
        }
    }
}

void CIndexTree::DeleteTree()
{
    table_.Clear();
    occurrences_.clear();
    occurrences_.shrink_to_fit();
}

// ---- collocation ----------------------------------------------------------------

bool CCountTree::Insert(std::string_view text, int slot)
{
    bool inserted = false;
    uint32_t index = table_.FindOrInsert(text, inserted);
    if (inserted) {
        counts_.emplace_back();
        counts_.back().fill(0);
    }
    ++counts_[index][static_cast<size_t>(slot)];
    return inserted;
}

void CCountTree::Walk(const std::function<bool(const CCountTreeNode&)>& visit) const
{
    std::vector<uint32_t> order(table_.Size());
    std::iota(order.begin(), order.end(), 0u);
    // Plain unsigned byte order, whatever the locale.
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return table_.Key(a) < table_.Key(b); });
    CCountTreeNode node;
    for (uint32_t index : order) {
        node.text = table_.Key(index);
        node.counts = counts_[index];
        node.total = std::accumulate(node.counts.begin(), node.counts.end(), int64_t{0});
        if (!visit(node)) {
            return;
        }
    }
}

void CCountTree::DeleteTree()
{
    table_.Clear();
    counts_.clear();
    counts_.shrink_to_fit();
}

}  // namespace plix
