// The concordance tree. Hits are appended to large chunks as one record each
// and sorted once, when the result is written. A result larger than the
// memory budget is sorted a part at a time into runs on disk, which the
// writer merges; a hit's key decides its place, and among equal keys the run
// made first and, within a run, the hit met first come first, so the order
// is the one the tree would give in memory.
#include "engine/trees.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <numeric>

#include "settings/text.h"

namespace plix {

namespace {

constexpr size_t kMaxChunk = size_t{16} << 20;
constexpr size_t kSortBlock = size_t{1} << 20;
constexpr size_t kPollEvery = size_t{1} << 12;
// Room for the three numbers of a record at most.
constexpr size_t kRecordNumbers = 30;

// Eight bytes of a key from `from` on, zero-padded, as a number that orders
// as the bytes do.
uint64_t BigEndianPrefix(std::string_view key, size_t from)
{
    if (key.size() >= from + 8) {
        uint64_t word;
        std::memcpy(&word, key.data() + from, 8);
        return __builtin_bswap64(word);
    }
    uint64_t prefix = 0;
    for (size_t i = from; i < key.size(); ++i) {
        prefix |= static_cast<uint64_t>(static_cast<unsigned char>(key[i])) << (56 - 8 * (i - from));
    }
    return prefix;
}

char* PutVarint(char* p, uint64_t value)
{
    while (value >= 0x80) {
        *p++ = static_cast<char>((value & 0x7f) | 0x80);
        value >>= 7;
    }
    *p++ = static_cast<char>(value);
    return p;
}

// A record in memory was written whole by this program: no bounds to check.
uint64_t GetVarint(const char*& p)
{
    uint64_t value = 0;
    for (unsigned shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*p++);
        value |= static_cast<uint64_t>(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
}

// How a hit kept in its source line's text marks its stretch of that text:
// the top bit, then where the stretch starts, the blanks before it and its
// length. A hit whose numbers do not fit keeps a record of its own.
constexpr uint32_t kInLine = 0x80000000u;
constexpr unsigned kFromShift = 16;
constexpr unsigned kBlanksShift = 9;
constexpr size_t kMostFrom = 0x7fff;
constexpr size_t kMostBlanks = 0x7f;
constexpr size_t kMostLength = 0x1ff;
// A source line's text is kept as its reference's length and its text's
// length (four bytes each), then the reference, then the text.
constexpr size_t kLineHeader = 8;

uint32_t Get32(const char* p)
{
    uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
}

// Asked every few thousand steps of the work (never at its start, so that a
// small result is written without a question more than a hit has).
bool Polled(size_t step, const CPlixWalkControl& control)
{
    return step != 0 && step % kPollEvery == 0 && control.cancelled && control.cancelled();
}

}  // namespace

inline __attribute__((always_inline)) void CPlixTree::Ahead(const std::vector<uint32_t>& order,
                                                            size_t k) const
{
    // The hits come from anywhere in memory, in key order: each is asked for
    // a little ahead, and the bytes it takes a little nearer.
    constexpr size_t kAhead = 16;
    if (k + kAhead < order.size()) {
        __builtin_prefetch(&hits_[order[k + kAhead]]);
    }
    if (k + kAhead / 2 < order.size()) {
        const Hit& soon = hits_[order[k + kAhead / 2]];
        const char* record = chunks_[soon.chunk].data + soon.offset;
        __builtin_prefetch(record);
        if (soon.inLine == 0) {
            __builtin_prefetch(record + 64);
        } else {
            const char* stretch = record + ((soon.inLine & ~kInLine) >> kFromShift);
            __builtin_prefetch(stretch);
            __builtin_prefetch(stretch + (soon.inLine & kMostLength));
        }
    }
}

// One hit of the hits held in memory, as the sort of own keys moves it.
struct CPlixTree::Sorted
{
    uint64_t prefix[3];
    uint32_t index;
    uint32_t length;
};

// One run being merged: its reader and the record it stands at. The hits
// still held in memory when the merge begins take part as one more run, read
// in their sorted order instead of from disk.
struct CPlixTree::Source
{
    Source(CSpillFile& file, SpillRun run, size_t buffer) : reader(file, run, buffer) {}
    Source(CSpillFile& file, const CPlixTree& held, std::vector<uint32_t> sorted,
           std::vector<std::string> collated)
        : reader(file, SpillRun{}, 0), tree(&held), order(std::move(sorted)),
          comparable(std::move(collated))
    {
    }
    CSpillReader reader;
    const CPlixTree* tree = nullptr;  // set for the hits held in memory
    std::vector<uint32_t> order;
    std::vector<std::string> comparable;  // their shared keys as collation keys
    size_t next = 0;
    // The record it stands at: views into the tree's memory or the reader's
    // buffer where they can be, else into the strings below.
    std::string_view keyView;
    std::string_view referenceView;
    std::string_view lineView;
    std::string key;
    std::string reference;
    std::string line;
    std::string scratch;
    uint64_t keywordLength = 0;
    bool damaged = false;

    // Moves to the next record; false at the end of the run or on a failure.
    bool Next()
    {
        if (tree != nullptr) {
            return NextHeld();
        }
        if (reader.AtEnd()) {
            return false;
        }
        uint64_t keyCode = 0;
        uint64_t n = 0;
        bool ok = reader.ReadVarint(keyCode);
        if (ok && keyCode > 0) {
            // Kept: the records after it may leave it out.
            key.clear();
            ok = reader.ReadBytes(key, keyCode - 1);
        }
        keyView = key;
        reference.clear();
        ok = ok && reader.ReadVarint(n) && reader.ReadBytes(reference, n);
        referenceView = reference;
        // The line stays in the buffer while the number after it is read.
        constexpr size_t kMostVarint = 10;
        ok = ok && reader.ReadVarint(n) && reader.View(n, kMostVarint, lineView, line);
        ok = ok && reader.ReadVarint(keywordLength);
        damaged = !ok;
        return ok;
    }

    bool NextHeld()
    {
        if (next >= order.size()) {
            return false;
        }
        tree->Ahead(order, next);
        const Hit& hit = tree->hits_[order[next++]];
        const char* p = tree->chunks_[hit.chunk].data + hit.offset;
        if (tree->keysRepeat_) {
            keyView = tree->byteOrder_ ? tree->keys_.Key(hit.key) : std::string_view(comparable[hit.key]);
        } else {
            keyView = std::string_view(p, hit.key);
        }
        tree->Parts(hit, p, referenceView, lineView, keywordLength, scratch);
        return true;
    }
};

namespace {

std::atomic<int> spillOnSecondCore{-1};  // -1: as the machine allows

bool SpillsOnSecondCore()
{
    static const bool twoCores = std::thread::hardware_concurrency() > 1;
    const int forced = spillOnSecondCore.load(std::memory_order_relaxed);
    return forced < 0 ? twoCores : forced != 0;
}

}  // namespace

void CPlixTree::SetSpillOnSecondCore(std::optional<bool> on)
{
    spillOnSecondCore = on ? (*on ? 1 : 0) : -1;
}

CPlixTree::CPlixTree()
{
    SetMemoryBudget(kDefaultMemoryBudget);
}

CPlixTree::~CPlixTree()
{
    (void)JoinSpill();
    ClearHeld(false);
}

bool CPlixTree::JoinSpill()
{
    if (spiller_.joinable()) {
        spiller_.join();
        if (!spillOk_ && error_.empty()) {
            error_ = side_->Error();
            if (error_.empty()) {
                error_ = "a temporary file of the concordance could not be written";
            }
        }
    }
    return spillOk_;
}

bool CPlixTree::SpillInBackground()
{
    // One set is written at a time: the one before must be on disk first.
    if (!JoinSpill()) {
        return false;
    }
    if (side_ == nullptr) {
        side_ = std::make_unique<CPlixTree>();
    }
    side_->keysRepeat_ = keysRepeat_;
    side_->byteOrder_ = byteOrder_;
    side_->budget_ = budget_;
    side_->chunkSize_ = chunkSize_;
    // The side tree's memory, kept from its last run, is filled next here.
    std::swap(keys_, side_->keys_);
    std::swap(chunks_, side_->chunks_);
    std::swap(chunksInUse_, side_->chunksInUse_);
    std::swap(chunkUsed_, side_->chunkUsed_);
    std::swap(chunkBytes_, side_->chunkBytes_);
    std::swap(hits_, side_->hits_);
    lineKept_ = false;  // its text is the side's now
    CPlixTree* side = side_.get();
    writtenBySide_.push_back(true);
    spilling_ = true;
    spiller_ = std::thread([this, side] {
        spillOk_ = side->SpillHeld({});
        spilling_ = false;
    });
    return true;
}

void CPlixTree::SetKeysRepeat(bool repeat)
{
    if (total_ == 0) {
        keysRepeat_ = repeat;
    }
}

void CPlixTree::SetMemoryBudget(uint64_t bytes)
{
    budget_ = std::max<uint64_t>(bytes, 1);
    chunkSize_ = static_cast<size_t>(std::clamp<uint64_t>(budget_ / 16, 4096, kMaxChunk));
}

uint64_t CPlixTree::MemoryInUse() const
{
    // The key table's slots, offsets and bytes, roughly, per distinct key.
    return chunkBytes_ + hits_.size() * sizeof(Hit) + keys_.Size() * 96;
}

char* CPlixTree::Reserve(size_t bytes, uint32_t& chunk, uint32_t& offset)
{
    if (chunksInUse_ == 0 || chunks_[chunksInUse_ - 1].capacity - chunkUsed_ < bytes) {
        if (chunksInUse_ == chunks_.size() || chunks_[chunksInUse_].capacity < bytes) {
            // Small pages: asking for huge ones makes the system gather them
            // at each fault, which over a large result costs more than the
            // walk in key order gains from them.
            const size_t capacity = std::max(chunkSize_, bytes);
            Chunk fresh{static_cast<char*>(AllocateLarge(capacity, false)), capacity};
            chunks_.insert(chunks_.begin() + static_cast<ptrdiff_t>(chunksInUse_), fresh);
        }
        chunkBytes_ += chunks_[chunksInUse_].capacity;
        ++chunksInUse_;
        chunkUsed_ = 0;
    }
    chunk = static_cast<uint32_t>(chunksInUse_ - 1);
    offset = static_cast<uint32_t>(chunkUsed_);
    return chunks_[chunksInUse_ - 1].data + chunkUsed_;
}

std::string_view CPlixTree::OwnKey(const Hit& hit) const
{
    return std::string_view(chunks_[hit.chunk].data + hit.offset, hit.key);
}

bool CPlixTree::Insert(std::string_view key, std::string_view line, std::string_view reference,
                       size_t keywordLength)
{
    if (!error_.empty() || spill_.Failed()) {
        return false;
    }
    if (total_ == 0 && hits_.empty()) {
        byteOrder_ = CollationIsByteOrder();
    }
    Hit hit{};
    std::string_view ownKey;
    if (keysRepeat_) {
        bool inserted = false;
        hit.key = keys_.FindOrInsert(key, inserted);
    } else {
        if (byteOrder_) {
            ownKey = key;
        } else {
            scratch_ = CollationKey(key);
            ownKey = scratch_;
        }
        hit.key = static_cast<uint32_t>(ownKey.size());
    }
    const size_t most = ownKey.size() + kRecordNumbers + reference.size() + line.size();
    char* start = Reserve(most, hit.chunk, hit.offset);
    char* p = start;
    // An empty view may have no data at all, which memcpy must not be given.
    auto put = [&p](std::string_view bytes) {
        if (!bytes.empty()) {
            std::memcpy(p, bytes.data(), bytes.size());
            p += bytes.size();
        }
    };
    put(ownKey);
    p = PutVarint(p, reference.size());
    p = PutVarint(p, line.size());
    p = PutVarint(p, keywordLength);
    put(reference);
    put(line);
    chunkUsed_ += static_cast<size_t>(p - start);
    hits_.push_back(hit);
    return Added();
}

void CPlixTree::KeepLine(uint64_t serial, std::string_view text, std::string_view reference)
{
    if (lineKept_ && serial == lineSerial_) {
        if (text.size() <= lineTextKept_) {
            return;
        }
        // The text grew at its end (the text after the line, read for a
        // right context): where it is the last thing kept, it grows in place.
        const size_t more = text.size() - lineTextKept_;
        Chunk& last = chunks_[chunksInUse_ - 1];
        if (lineChunk_ == chunksInUse_ - 1 &&
            lineOffset_ + kLineHeader + Get32(last.data + lineOffset_) + lineTextKept_ == chunkUsed_ &&
            last.capacity - chunkUsed_ >= more) {
            std::memcpy(last.data + chunkUsed_, text.data() + lineTextKept_, more);
            chunkUsed_ += more;
            lineTextKept_ = text.size();
            const auto length = static_cast<uint32_t>(lineTextKept_);
            std::memcpy(last.data + lineOffset_ + 4, &length, 4);
            return;
        }
    }
    // The hits kept before still find the text they took where it was.
    uint32_t chunk = 0;
    uint32_t offset = 0;
    char* p = Reserve(kLineHeader + reference.size() + text.size(), chunk, offset);
    const auto referenceLength = static_cast<uint32_t>(reference.size());
    const auto textLength = static_cast<uint32_t>(text.size());
    std::memcpy(p, &referenceLength, 4);
    std::memcpy(p + 4, &textLength, 4);
    if (!reference.empty()) {
        std::memcpy(p + kLineHeader, reference.data(), reference.size());
    }
    if (!text.empty()) {
        std::memcpy(p + kLineHeader + reference.size(), text.data(), text.size());
    }
    chunkUsed_ += kLineHeader + reference.size() + text.size();
    lineKept_ = true;
    lineSerial_ = serial;
    lineChunk_ = chunk;
    lineOffset_ = offset;
    lineTextKept_ = text.size();
}

bool CPlixTree::InsertInLine(std::string_view key, uint64_t lineSerial, std::string_view text,
                             std::string_view reference, size_t from, size_t blanks,
                             size_t length)
{
    // The stretch is marked from the start of the kept record.
    const size_t at = kLineHeader + reference.size() + from;
    if (!keysRepeat_ || at > kMostFrom || blanks > kMostBlanks || length > kMostLength ||
        from + length > text.size() || text.size() > UINT32_MAX) {
        std::string line(blanks, ' ');
        line.append(text.substr(std::min(from, text.size()), length));
        return Insert(key, line, reference, key.size());
    }
    if (!error_.empty() || spill_.Failed()) {
        return false;
    }
    if (total_ == 0 && hits_.empty()) {
        byteOrder_ = CollationIsByteOrder();
    }
    KeepLine(lineSerial, text, reference);
    Hit hit{};
    bool inserted = false;
    hit.key = keys_.FindOrInsert(key, inserted);
    hit.chunk = lineChunk_;
    hit.offset = lineOffset_;
    hit.inLine = kInLine | static_cast<uint32_t>(at) << kFromShift |
                 static_cast<uint32_t>(blanks) << kBlanksShift | static_cast<uint32_t>(length);
    hits_.push_back(hit);
    return Added();
}

void CPlixTree::Parts(const Hit& hit, const char* record, std::string_view& reference,
                      std::string_view& line, uint64_t& keywordLength, std::string& scratch) const
{
    if (hit.inLine == 0) {
        const char* p = record + (keysRepeat_ ? 0 : hit.key);
        const uint64_t referenceLength = GetVarint(p);
        const uint64_t lineLength = GetVarint(p);
        keywordLength = GetVarint(p);
        reference = std::string_view(p, referenceLength);
        line = std::string_view(p + referenceLength, lineLength);
        return;
    }
    reference = std::string_view(record + kLineHeader, Get32(record));
    const size_t at = (hit.inLine & ~kInLine) >> kFromShift;
    const size_t blanks = (hit.inLine >> kBlanksShift) & kMostBlanks;
    const size_t length = hit.inLine & kMostLength;
    scratch.assign(blanks, ' ');
    scratch.append(record + at, length);
    line = scratch;
    keywordLength = keys_.Key(hit.key).size();
}

bool CPlixTree::Added()
{
    ++total_;
    if (SpillsOnSecondCore()) {
        if (MemoryInUse() > budget_ / 2) {
            if (spilling_) {
                // The side is still writing the set before: writing this one
                // here keeps both cores at the disk instead of one waiting.
                if (!SpillHeld({})) {
                    return false;
                }
                writtenBySide_.push_back(false);
            } else if (!SpillInBackground()) {
                return false;
            }
        }
    } else if (MemoryInUse() > budget_ && !SpillHeld({})) {
        return false;
    }
    return true;
}

bool CPlixTree::SortHeld(std::vector<uint32_t>& order, const CPlixWalkControl& control,
                         bool twoThreads)
{
    const size_t n = hits_.size();
    order.resize(n);
    if (keysRepeat_) {
        // Rank every distinct key by collation (keys the locale holds equal
        // share a rank), then bucket the hits by rank: a stable order, so
        // equal keys keep the order in which the hits were found.
        std::vector<uint32_t> rank(keys_.Size());
        const std::vector<std::vector<uint32_t>> groups = CollateEntries(keys_);
        for (uint32_t r = 0; r < groups.size(); ++r) {
            for (uint32_t index : groups[r]) {
                rank[index] = r;
            }
        }
        std::vector<uint32_t> start(groups.size() + 1, 0);
        for (size_t i = 0; i < n; ++i) {
            if (Polled(i, control)) {
                return false;
            }
            ++start[rank[hits_[i].key] + 1];
        }
        std::partial_sum(start.begin(), start.end(), start.begin());
        for (uint32_t i = 0; i < n; ++i) {
            order[start[rank[hits_[i].key]]++] = i;
        }
        return true;
    }
    // Own keys: their first 24 bytes settle most comparisons without leaving
    // the array (contexts of a frequent keyword share their first words
    // often); the hit's index breaks the ties of equal keys. The records are
    // read in the order they were stored, which is cheap.
    constexpr size_t kHeld = sizeof(Sorted::prefix);
    std::vector<Sorted> items(n);
    for (uint32_t i = 0; i < n; ++i) {
        const std::string_view key = OwnKey(hits_[i]);
        items[i] = Sorted{{BigEndianPrefix(key, 0), BigEndianPrefix(key, 8), BigEndianPrefix(key, 16)},
                          i, hits_[i].key};
    }
    auto before = [this](const Sorted& a, const Sorted& b) {
        if (a.prefix[0] != b.prefix[0]) {
            return a.prefix[0] < b.prefix[0];
        }
        if (a.prefix[1] != b.prefix[1]) {
            return a.prefix[1] < b.prefix[1];
        }
        if (a.prefix[2] != b.prefix[2]) {
            return a.prefix[2] < b.prefix[2];
        }
        if (a.length > kHeld && b.length > kHeld) {
            const int c =
                OwnKey(hits_[a.index]).substr(kHeld).compare(OwnKey(hits_[b.index]).substr(kHeld));
            if (c != 0) {
                return c < 0;
            }
        } else if (a.length != b.length) {
            return a.length < b.length;
        }
        return a.index < b.index;
    };
    // Sorted in blocks and merged pairwise, so that a cancel is seen between
    // the pieces of the work; with `twoThreads`, a second thread takes
    // pieces too (it is asked to stop by this one, which asks the user).
    auto inPieces = [&](size_t count, bool askFirst, const auto& piece) {
        std::atomic<size_t> nextPiece{0};
        std::atomic<bool> stop{false};
        std::thread helper;
        if (twoThreads && count > 1) {
            helper = std::thread([&] {
                for (size_t k = nextPiece++; k < count && !stop; k = nextPiece++) {
                    piece(k);
                }
            });
        }
        bool whole = true;
        for (size_t k = nextPiece++; k < count; k = nextPiece++) {
            if ((askFirst || k > 0) && control.cancelled && control.cancelled()) {
                whole = false;
                stop = true;
                break;
            }
            piece(k);
        }
        if (helper.joinable()) {
            helper.join();
        }
        return whole;
    };
    // A block in proportion to the budget: a small budget (the tests') sorts
    // in many blocks, as a large result does.
    const size_t block = static_cast<size_t>(std::clamp<uint64_t>(budget_ / 1024, 64, kSortBlock));
    const size_t blocks = (n + block - 1) / block;
    if (!inPieces(blocks, false, [&](size_t b) {
            const size_t from = b * block;
            std::sort(items.begin() + static_cast<ptrdiff_t>(from),
                      items.begin() + static_cast<ptrdiff_t>(std::min(n, from + block)), before);
        })) {
        return false;
    }
    std::vector<Sorted> merged(n > block ? n : 0);  // one block needs no merging
    for (size_t width = block; width < n; width *= 2) {
        const size_t pairs = (n + 2 * width - 1) / (2 * width);
        if (!inPieces(pairs, true, [&](size_t pair) {
                const size_t from = pair * 2 * width;
                const auto first = items.begin() + static_cast<ptrdiff_t>(from);
                const auto middle = items.begin() + static_cast<ptrdiff_t>(std::min(n, from + width));
                const auto last = items.begin() + static_cast<ptrdiff_t>(std::min(n, from + 2 * width));
                std::merge(first, middle, middle, last, merged.begin() + static_cast<ptrdiff_t>(from),
                           before);
            })) {
            return false;
        }
        items.swap(merged);
    }
    for (size_t i = 0; i < n; ++i) {
        order[i] = items[i].index;
    }
    return true;
}

bool CPlixTree::SpillHeld(const CPlixWalkControl& control)
{
    std::vector<uint32_t> order;
    if (!SortHeld(order, control)) {
        return false;
    }
    if (!spill_.Open()) {
        return false;
    }
    std::vector<std::string> comparable;
    if (keysRepeat_ && !byteOrder_) {
        comparable.resize(keys_.Size());
        for (uint32_t k = 0; k < keys_.Size(); ++k) {
            comparable[k] = CollationKey(keys_.Key(k));
        }
    }
    SpillRun run{spill_.Size(), 0};
    std::string record;
    std::string lineScratch;
    std::string_view lastKey;
    bool first = true;
    for (size_t i = 0; i < order.size(); ++i) {
        if (Polled(i + 1, control)) {
            return false;
        }
        Ahead(order, i);
        const Hit& hit = hits_[order[i]];
        std::string_view key;
        const char* p = chunks_[hit.chunk].data + hit.offset;
        if (keysRepeat_) {
            key = byteOrder_ ? keys_.Key(hit.key) : std::string_view(comparable[hit.key]);
        } else {
            key = std::string_view(p, hit.key);
        }
        std::string_view reference;
        std::string_view line;
        uint64_t keywordLength = 0;
        Parts(hit, p, reference, line, keywordLength, lineScratch);
        record.clear();
        // A key equal to the one before is not written again.
        if (!first && key == lastKey) {
            AppendVarint(record, 0);
        } else {
            AppendVarint(record, key.size() + 1);
            record.append(key);
        }
        first = false;
        lastKey = key;
        AppendVarint(record, reference.size());
        record.append(reference);
        AppendVarint(record, line.size());
        record.append(line);
        AppendVarint(record, keywordLength);
        if (!spill_.Append(record)) {
            return false;
        }
    }
    run.end = spill_.Size();
    runs_.push_back(run);
    ClearHeld(true);
    return true;
}

void CPlixTree::ClearHeld(bool keepMemory)
{
    lineKept_ = false;
    keys_.Clear();
    chunksInUse_ = 0;
    chunkUsed_ = 0;
    chunkBytes_ = 0;
    hits_.clear();
    if (!keepMemory) {
        for (const Chunk& chunk : chunks_) {
            FreeLarge(chunk.data, chunk.capacity);
        }
        chunks_.clear();
        hits_.shrink_to_fit();
    }
}

PlixWalkEnd CPlixTree::Walk(const std::function<bool(const CPlixTreeNode&)>& visit,
                            const CPlixWalkControl& control)
{
    if (!error_.empty() || spill_.Failed()) {
        return PlixWalkEnd::Failed;
    }
    if (control.status) {
        control.status("Sorting...");
    }
    if (side_ != nullptr) {
        // The runs written on the side become this tree's.
        if (!JoinSpill()) {
            return PlixWalkEnd::Failed;
        }
        if (!side_->runs_.empty()) {
            // Both trees' runs, in the order their sets were filled, so that
            // equal keys still come in the order met.
            std::vector<SpillRun> own;
            own.swap(runs_);
            runInSide_.clear();
            size_t o = 0;
            size_t s = 0;
            for (const bool bySide : writtenBySide_) {
                if (bySide && s < side_->runs_.size()) {
                    runs_.push_back(side_->runs_[s++]);
                    runInSide_.push_back(true);
                } else if (!bySide && o < own.size()) {
                    runs_.push_back(own[o++]);
                    runInSide_.push_back(false);
                }
            }
            sideSpill_ = std::move(side_->spill_);
            side_->runs_.clear();
        }
        writtenBySide_.clear();
        side_->ClearHeld(false);
    }
    if (!runs_.empty()) {
        // The hits still held join the merge from memory: writing them out
        // only to read them back would double the work of their run.
        return MergeRuns(visit, control);
    }
    std::vector<uint32_t> order;
    if (!SortHeld(order, control, true)) {
        return PlixWalkEnd::Cancelled;
    }
    if (control.status) {
        control.status("Writing...");
    }
    CPlixTreeNode node;
    for (size_t k = 0; k < order.size(); ++k) {
        Ahead(order, k);
        const Hit& hit = hits_[order[k]];
        uint64_t keywordLength = 0;
        Parts(hit, chunks_[hit.chunk].data + hit.offset, node.referenceText, node.contextText,
              keywordLength, scratch_);
        node.keywordLength = static_cast<size_t>(keywordLength);
        if (!visit(node)) {
            return PlixWalkEnd::Stopped;
        }
    }
    return PlixWalkEnd::Done;
}

PlixWalkEnd CPlixTree::MergeRuns(const std::function<bool(const CPlixTreeNode&)>& visit,
                                 const CPlixWalkControl& control)
{
    // As many runs at once as the budget gives reading buffers for; more
    // runs are first merged in groups into longer ones.
    const size_t fanIn = static_cast<size_t>(std::clamp<uint64_t>(budget_ / (64u << 10), 4, 64));
    const size_t buffer =
        static_cast<size_t>(std::clamp<uint64_t>(budget_ / (2 * fanIn), 4096, 1u << 20));
    if (!spill_.Flush() || !sideSpill_.Flush()) {
        if (error_.empty()) {
            error_ = sideSpill_.Error();
        }
        return PlixWalkEnd::Failed;
    }
    std::unique_ptr<Source> held;
    if (!hits_.empty()) {
        std::vector<uint32_t> order;
        if (!SortHeld(order, control, true)) {
            return PlixWalkEnd::Cancelled;
        }
        std::vector<std::string> comparable;
        if (keysRepeat_ && !byteOrder_) {
            comparable.resize(keys_.Size());
            for (uint32_t k = 0; k < keys_.Size(); ++k) {
                comparable[k] = CollationKey(keys_.Key(k));
            }
        }
        held = std::make_unique<Source>(spill_, *this, std::move(order), std::move(comparable));
    }
    auto merge = [&](size_t begin, size_t end, bool final, SpillRun* out) -> PlixWalkEnd {
        std::vector<std::unique_ptr<Source>> sources;
        // The last pass writes nothing to the files: each run is read ahead
        // on a thread of its own while the merge works, in larger stretches
        // (there are fewer runs to share the memory).
        const size_t stretch =
            final ? static_cast<size_t>(std::clamp<uint64_t>(budget_ / (4 * (end - begin + 1)), 4096,
                                                              size_t{8} << 20))
                  : buffer;
        for (size_t r = begin; r < end; ++r) {
            sources.push_back(std::make_unique<Source>(FileOf(r), runs_[r], stretch));
            if (final) {
                sources.back()->reader.ReadAhead();
            }
        }
        if (final && held != nullptr) {
            sources.push_back(std::move(held));  // the newest run: last among equals
        }
        auto less = [&](size_t a, size_t b) { return sources[a]->keyView < sources[b]->keyView; };
        CMergeHeap<decltype(less)> heap(less);
        for (size_t s = 0; s < sources.size(); ++s) {
            if (sources[s]->Next()) {
                heap.Push(s);
            } else if (sources[s]->damaged) {
                return PlixWalkEnd::Failed;
            }
        }
        if (final && control.status) {
            control.status("Writing...");
        }
        if (out != nullptr) {
            out->begin = spill_.Size();
        }
        std::string record;
        std::string lastKey;
        bool first = true;
        CPlixTreeNode node;
        for (size_t step = 1; !heap.Empty(); ++step) {
            Source& top = *sources[heap.Top()];
            if (final) {
                node.referenceText = top.referenceView;
                node.contextText = top.lineView;
                node.keywordLength = static_cast<size_t>(top.keywordLength);
                if (!visit(node)) {
                    return PlixWalkEnd::Stopped;
                }
            } else {
                if (Polled(step, control)) {
                    return PlixWalkEnd::Cancelled;
                }
                record.clear();
                if (!first && top.keyView == lastKey) {
                    AppendVarint(record, 0);
                } else {
                    AppendVarint(record, top.keyView.size() + 1);
                    record.append(top.keyView);
                    lastKey = top.keyView;
                }
                first = false;
                AppendVarint(record, top.referenceView.size());
                record.append(top.referenceView);
                AppendVarint(record, top.lineView.size());
                record.append(top.lineView);
                AppendVarint(record, top.keywordLength);
                if (!spill_.Append(record)) {
                    return PlixWalkEnd::Failed;
                }
            }
            if (top.Next()) {
                heap.ReplaceTop();
            } else if (top.damaged) {
                return PlixWalkEnd::Failed;
            } else {
                heap.PopTop();
            }
        }
        if (out != nullptr) {
            out->end = spill_.Size();
            if (!spill_.Flush()) {
                return PlixWalkEnd::Failed;
            }
        }
        return PlixWalkEnd::Done;
    };
    auto finished = [this](PlixWalkEnd end) {
        if (end == PlixWalkEnd::Failed && error_.empty() && !spill_.Failed()) {
            error_ = "a temporary file of the concordance was damaged";
        }
        return end;
    };
    while (runs_.size() > fanIn) {
        std::vector<SpillRun> longer;
        for (size_t begin = 0; begin < runs_.size(); begin += fanIn) {
            SpillRun run;
            const PlixWalkEnd end = merge(begin, std::min(runs_.size(), begin + fanIn), false, &run);
            if (end != PlixWalkEnd::Done) {
                return finished(end);
            }
            longer.push_back(run);
        }
        runs_.swap(longer);
        runInSide_.clear();  // the longer runs are all this tree's
    }
    return finished(merge(0, runs_.size(), true, nullptr));
}

void CPlixTree::DeleteTree()
{
    (void)JoinSpill();
    spillOk_ = true;
    side_.reset();
    ClearHeld(false);
    spill_.Close();
    sideSpill_.Close();
    runs_.clear();
    runInSide_.clear();
    writtenBySide_.clear();
    total_ = 0;
    error_.clear();
}

}  // namespace plix
