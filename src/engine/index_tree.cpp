#include "engine/index_tree.h"

#include <algorithm>
#include <deque>
#include <optional>

#include "engine/spill.h"
#include "settings/text.h"

namespace plix {

namespace {

// What an entry costs besides its deltas: its slots in the hash table, its
// offsets and hash, and the entry itself.
constexpr uint64_t kEntryCost = 160;
// A std::string keeps this many bytes inside itself.
constexpr size_t kInline = 15;
constexpr uint64_t kLineMask = (uint64_t{1} << 40) - 1;

uint64_t HeapBytes(const std::string& s)
{
    return s.capacity() > kInline ? s.capacity() + 1 : 0;
}

// An occurrence in the same file as the one before it is an even number, twice
// the step in lines; one in another file (or, never in practice, further up
// the same one) is an odd number, twice the step in files plus one, followed
// by its line.
// Seven bits a byte, low bits first, into `p`; returns the end.
inline char* PutVarint(char* p, uint64_t value)
{
    while (value >= 0x80) {
        *p++ = static_cast<char>((value & 0x7f) | 0x80);
        value >>= 7;
    }
    *p++ = static_cast<char>(value);
    return p;
}

inline void AppendOccurrence(std::string& out, uint64_t& last, uint64_t file, uint64_t line)
{
    const uint64_t lastFile = last >> 40;
    const uint64_t lastLine = last & kLineMask;
    char bytes[24];
    char* end;
    if (file == lastFile && line >= lastLine) {
        const uint64_t step = (line - lastLine) << 1;
        if (step < 0x80) {
            // Nearly every occurrence of a common word: one byte.
            out.push_back(static_cast<char>(step));
            last = file << 40 | (line & kLineMask);
            return;
        }
        end = PutVarint(bytes, step);
    } else {
        end = PutVarint(PutVarint(bytes, ((file - lastFile) << 1) | 1), line);
    }
    // A few bytes: appended one by one rather than through a library copy.
    for (const char* b = bytes; b < end; ++b) {
        out.push_back(*b);
    }
    last = file << 40 | (line & kLineMask);
}

// Decodes one delta list onto `out` as file << 40 | line.
void DecodeOccurrences(std::string_view deltas, std::vector<uint64_t>& out)
{
    const char* p = deltas.data();
    const char* end = p + deltas.size();
    uint64_t file = 0;
    uint64_t line = 0;
    while (p < end) {
        std::optional<uint64_t> v = ReadVarint(p, end);
        if (!v) {
            return;
        }
        if (*v & 1) {
            file += *v >> 1;
            std::optional<uint64_t> at = ReadVarint(p, end);
            if (!at) {
                return;
            }
            line = *at;
        } else {
            line += *v >> 1;
        }
        out.push_back(file << 40 | (line & kLineMask));
    }
}

}  // namespace

bool CIndexLines::Next(int64_t& line)
{
    return NextBlock(&line, 1) == 1;
}

size_t CIndexLines::NextBlock(int64_t* out, size_t most)
{
    // An entry of a common word has a line number for every occurrence,
    // nearly all of them one byte: read off a block at a time.
    size_t n = 0;
    while (n < most && piece_ < node_.pieces.size()) {
        const std::string_view piece = node_.pieces[piece_];
        const char* p = piece.data() + at_;
        const char* end = piece.data() + piece.size();
        while (n < most && p < end) {
            const auto b = static_cast<unsigned char>(*p);
            if (b < 0x80 && (b & 1) == 0) {
                value_ += b >> 1;
                ++p;
                out[n++] = static_cast<int64_t>(value_ & kLineMask);
                continue;
            }
            const char* q = p;
            std::optional<uint64_t> v = ReadVarint(q, end);
            if (v && (*v & 1)) {
                v = ReadVarint(q, end);
                if (v) {
                    value_ = *v;
                }
            } else if (v) {
                value_ += *v >> 1;
            }
            if (!v) {
                p = end;  // a damaged piece ends here; the next starts again
                break;
            }
            p = q;
            out[n++] = static_cast<int64_t>(value_ & kLineMask);
        }
        at_ = static_cast<size_t>(p - piece.data());
        if (p >= end) {
            ++piece_;
            at_ = 0;
            value_ = 0;
        }
    }
    return n;
}

CIndexTree::CIndexTree() = default;
CIndexTree::~CIndexTree() = default;

void CIndexTree::Insert(std::string_view text, int64_t lineNumber, int fileOrdinal)
{
    uint64_t head[2];
    CStringTable::Head(text, head);
    Insert(text, CStringTable::Hash(text), head, lineNumber, fileOrdinal);
}

void CIndexTree::Insert(std::string_view text, uint64_t hash, const uint64_t head[2],
                        int64_t lineNumber, int fileOrdinal)
{
    Append(Find(text, hash, head), lineNumber, fileOrdinal);
    CheckBudget();
}

uint32_t CIndexTree::Find(std::string_view text, uint64_t hash, const uint64_t head[2],
                          uint32_t times)
{
    bool inserted = false;
    const uint32_t index = table_.Tally(text, hash, head, inserted, times);
    if (inserted) {
        lists_.emplace_back();
        held_ += kEntryCost + text.size();
    }
    return index;
}

void CIndexTree::Append(uint32_t index, int64_t lineNumber, int fileOrdinal)
{
    Entry& e = lists_[index];
    const uint64_t before = HeapBytes(e.deltas);
    AppendOccurrence(e.deltas, e.last, static_cast<uint64_t>(std::max(fileOrdinal, 0)),
                     static_cast<uint64_t>(std::max<int64_t>(lineNumber, 0)));
    held_ += HeapBytes(e.deltas) - before;
}

void CIndexTree::Append(uint32_t entry, const Occurrence* occurrences, size_t count)
{
    Entry& e = lists_[entry];
    const uint64_t before = HeapBytes(e.deltas);
    for (size_t i = 0; i < count; ++i) {
        AppendOccurrence(e.deltas, e.last, static_cast<uint64_t>(std::max(occurrences[i].fileOrdinal, 0)),
                         static_cast<uint64_t>(std::max<int64_t>(occurrences[i].lineNumber, 0)));
    }
    held_ += HeapBytes(e.deltas) - before;
}

void CIndexTree::CheckBudget()
{
    if (held_ > budget_ && error_.empty()) {
        (void)Spill();
    }
}

std::string_view CIndexTree::MergedDeltas(const std::vector<uint32_t>& group,
                                          std::string& scratch) const
{
    if (group.size() == 1) {
        return lists_[group.front()].deltas;
    }
    // Spellings the locale holds equal share one entry; their occurrences
    // interleave in the order they were found.
    std::vector<uint64_t> merged;
    for (uint32_t index : group) {
        DecodeOccurrences(lists_[index].deltas, merged);
    }
    std::stable_sort(merged.begin(), merged.end());
    scratch.clear();
    uint64_t last = 0;
    for (uint64_t packed : merged) {
        AppendOccurrence(scratch, last, packed >> 40, packed & kLineMask);
    }
    return scratch;
}

void CIndexTree::Fail(const std::string& reason)
{
    if (error_.empty()) {
        error_ = reason.empty() ? std::string("cannot use a temporary file") : reason;
    }
}

bool CIndexTree::Spill()
{
    if (!words_) {
        words_ = std::make_unique<CSpillFile>();
        deltas_ = std::make_unique<CSpillFile>();
    }
    if (!words_->Open()) {
        Fail(words_->Error());
        return false;
    }
    if (!deltas_->Open()) {
        Fail(deltas_->Error());
        return false;
    }
    const std::vector<std::vector<uint32_t>> groups = CollateEntries(table_);
    const std::vector<int64_t> tallies = table_.Tallies();
    Run run{words_->Size(), 0, deltas_->Size(), 0, groups.size()};
    std::string record;
    std::string scratch;
    for (const std::vector<uint32_t>& group : groups) {
        const std::string_view key = table_.Key(group.front());
        int64_t count = 0;
        for (uint32_t index : group) {
            count += tallies[index];
        }
        const std::string_view deltas = MergedDeltas(group, scratch);
        record.clear();
        AppendVarint(record, key.size());
        record.append(key);
        AppendVarint(record, static_cast<uint64_t>(count));
        AppendVarint(record, deltas.size());
        if (!words_->Append(record)) {
            Fail(words_->Error());
            return false;
        }
        if (!deltas_->Append(deltas)) {
            Fail(deltas_->Error());
            return false;
        }
    }
    run.wordsEnd = words_->Size();
    run.deltasEnd = deltas_->Size();
    runList_.push_back(run);
    table_.Clear();
    lists_.clear();
    lists_.shrink_to_fit();
    held_ = 0;
    return true;
}

size_t CIndexTree::KnownEntries() const
{
    size_t known = table_.Size();
    for (const Run& run : runList_) {
        known += run.entries;
    }
    return known;
}

bool CIndexTree::Sort(const std::function<bool()>& cancelled)
{
    entryCount_ = 0;
    if (!error_.empty()) {
        return false;
    }
    if (runList_.empty()) {
        if (!CollateEntries(table_, groups_, cancelled)) {
            return false;
        }
        entryCount_ = groups_.size();
        return true;
    }
    // What is still held becomes the last run: every entry is then merged the
    // same way.
    if (table_.Size() > 0 && !Spill()) {
        return false;
    }
    size_t entries = 0;
    size_t step = 0;
    bool stopped = false;
    const bool ok = MergeRuns(false, [&](const CIndexNode&) {
        if ((++step & 0xfff) == 0 && cancelled && cancelled()) {
            stopped = true;
            return false;
        }
        ++entries;
        return true;
    });
    if (!ok || stopped) {
        return false;
    }
    entryCount_ = entries;
    return true;
}

bool CIndexTree::Walk(const std::function<bool(const CIndexNode&)>& visit)
{
    if (!error_.empty()) {
        return false;
    }
    if (runList_.empty()) {
        return WalkMemory(visit);
    }
    return MergeRuns(true, visit);
}

bool CIndexTree::WalkMemory(const std::function<bool(const CIndexNode&)>& visit)
{
    const std::vector<int64_t> tallies = table_.Tallies();
    CIndexNode node;
    std::string scratch;
    for (const std::vector<uint32_t>& group : groups_) {
        node.text = table_.Key(group.front());
        node.count = 0;
        for (uint32_t index : group) {
            node.count += tallies[index];
        }
        node.pieces.assign(1, MergedDeltas(group, scratch));
        if (!visit(node)) {
            break;
        }
    }
    return true;
}

bool CIndexTree::MergeRuns(bool readDeltas, const std::function<bool(const CIndexNode&)>& visit)
{
    if (!words_->Flush()) {
        Fail(words_->Error());
        return false;
    }
    if (!deltas_->Flush()) {
        Fail(deltas_->Error());
        return false;
    }
    struct Head
    {
        std::string key;
        std::string order;  // the key as collation compares it
        uint64_t count = 0;
        uint64_t deltas = 0;
    };
    const size_t n = runList_.size();
    // Many runs share the budget for their read buffers.
    const size_t buffer = static_cast<size_t>(
        std::clamp<uint64_t>(budget_ / (2 * n + 1), uint64_t{4} << 10, uint64_t{1} << 20));
    // A reader stays where it was made: it may have a read of its own under way.
    std::deque<CSpillReader> wordReaders;
    std::deque<CSpillReader> deltaReaders;
    for (const Run& run : runList_) {
        wordReaders.emplace_back(*words_, SpillRun{run.wordsBegin, run.wordsEnd}, buffer);
        deltaReaders.emplace_back(*deltas_, SpillRun{run.deltasBegin, run.deltasEnd}, buffer);
    }
    const bool byteOrder = CollationIsByteOrder();
    std::vector<Head> heads(n);
    bool failed = false;
    auto advance = [&](size_t s) {
        CSpillReader& r = wordReaders[s];
        if (r.AtEnd()) {
            return false;
        }
        Head& h = heads[s];
        uint64_t length = 0;
        h.key.clear();
        if (!r.ReadVarint(length) || !r.ReadBytes(h.key, static_cast<size_t>(length)) ||
            !r.ReadVarint(h.count) || !r.ReadVarint(h.deltas)) {
            failed = true;
            return false;
        }
        h.order = byteOrder ? h.key : CollationKey(h.key);
        return true;
    };
    auto less = [&](size_t a, size_t b) { return heads[a].order < heads[b].order; };
    CMergeHeap<decltype(less)> heap(less);
    for (size_t s = 0; s < n; ++s) {
        if (advance(s)) {
            heap.Push(s);
        }
    }
    std::vector<std::string> pieces(n);
    std::string text;
    std::string order;
    CIndexNode node;
    while (!heap.Empty() && !failed) {
        size_t s = heap.Top();
        text = heads[s].key;
        order = heads[s].order;
        node.count = 0;
        node.pieces.clear();
        size_t used = 0;
        // Equal keys come out by run, and the runs were made in the order
        // met: the first spelling is the one met first, the pieces in order.
        while (!heap.Empty() && heads[heap.Top()].order == order) {
            s = heap.Top();
            node.count += static_cast<int64_t>(heads[s].count);
            if (readDeltas) {
                pieces[used].clear();
                if (!deltaReaders[s].ReadBytes(pieces[used], static_cast<size_t>(heads[s].deltas))) {
                    failed = true;
                    break;
                }
                ++used;
            }
            if (advance(s)) {
                heap.ReplaceTop();
            } else {
                heap.PopTop();
            }
        }
        if (failed) {
            break;
        }
        for (size_t i = 0; i < used; ++i) {
            node.pieces.push_back(pieces[i]);
        }
        node.text = text;
        if (!visit(node)) {
            return true;
        }
    }
    if (failed) {
        Fail(!words_->Error().empty()    ? words_->Error()
             : !deltas_->Error().empty() ? deltas_->Error()
                                         : std::string("a temporary file was cut short"));
        return false;
    }
    return true;
}

void CIndexTree::DeleteTree()
{
    table_.Clear();
    lists_.clear();
    lists_.shrink_to_fit();
    groups_.clear();
    groups_.shrink_to_fit();
    words_.reset();
    deltas_.reset();
    runList_.clear();
    error_.clear();
    held_ = 0;
    entryCount_ = 0;
}

}  // namespace plix
