#include "engine/word_counter.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace plix {

CWordCounter::CWordCounter(CWordTree& tree, size_t batchWords, bool worker)
    : tree_(&tree), batchWords_(std::max<size_t>(batchWords, 1)), threaded_(worker)
{
}

CWordCounter::CWordCounter(CIndexTree& index, size_t batchWords, bool worker)
    : index_(&index), batchWords_(std::max<size_t>(batchWords, 1)), threaded_(worker)
{
}

CWordCounter::CWordCounter(CCountTree& collocates, size_t batchWords, bool worker)
    : collocates_(&collocates), batchWords_(std::max<size_t>(batchWords, 1)), threaded_(worker)
{
}

CWordCounter::~CWordCounter()
{
    if (worker_.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        worker_.join();
    }
}

void CWordCounter::MakeRoom(size_t bytes, size_t maxWords)
{
    const size_t room = bytes + kSlack;
    const size_t words = maxWords + 1;
    if (filling_.Load() >= batchWords_ || filling_.bytes.size() - filling_.used < room ||
        filling_.ends.size() - filling_.count < words) {
        Hand();
    }
    if (filling_.bytes.size() - filling_.used < room) {
        filling_.bytes.resize(std::max(filling_.used + room, batchWords_ * 16));
    }
    if (filling_.ends.size() - filling_.count < words) {
        const size_t size = std::max(filling_.count + words, batchWords_ + batchWords_ / 4);
        filling_.starts.resize(size);
        filling_.ends.resize(size);
        if (collocates_ != nullptr) {
            filling_.slots.resize(size);
        }
    }
}

void CWordCounter::Hash(const Batch& batch, const char* bytes, std::vector<Key>& keys)
{
    const size_t n = batch.count;
    if (keys.size() < n) {
        keys.resize(n);  // never shrunk: growing again would clear the keys
    }
    for (size_t k = 0; k < n; ++k) {
        keys[k].hash = CStringTable::HashPadded(bytes + batch.starts[k],
                                                batch.ends[k] - batch.starts[k], keys[k].head);
    }
}

void CWordCounter::Deduplicate(Batch& batch, DistinctTable& table)
{
    const size_t n = batch.count;
    size_t size = 1024;
    while (size < 2 * n) {
        size *= 2;
    }
    std::vector<DistinctSlot>& slots = table.slots;
    if (slots.size() != size) {
        slots.assign(size, DistinctSlot{});
        table.stamp = 0;
    }
    if (++table.stamp == 0) {
        std::fill(slots.begin(), slots.end(), DistinctSlot{});
        table.stamp = 1;
    }
    const uint32_t stamp = table.stamp;
    const size_t mask = size - 1;
    const char* bytes = batch.bytes.data();
    batch.distinctOf.resize(n);
    batch.firsts.clear();
    batch.times.clear();
    const auto home = [mask](uint64_t hash) { return (hash ^ (hash >> 32)) & mask; };
    constexpr size_t kAhead = 8;
    for (size_t k = 0; k < n; ++k) {
        const Key& key = batch.keys[k];
        if (k + kAhead < n) {
            __builtin_prefetch(&slots[home(batch.keys[k + kAhead].hash)]);
        }
        const size_t length = batch.ends[k] - batch.starts[k];
        for (size_t i = home(key.hash);; i = (i + 1) & mask) {
            DistinctSlot& slot = slots[i];
            if (slot.stamp != stamp) {
                slot.hash = key.hash;
                slot.stamp = stamp;
                slot.place = static_cast<uint32_t>(batch.firsts.size());
                batch.distinctOf[k] = slot.place;
                batch.firsts.push_back(static_cast<uint32_t>(k));
                batch.times.push_back(1);
                break;
            }
            if (slot.hash != key.hash) {
                continue;
            }
            // The first sixteen bytes are in the keys (zero-padded): a word
            // no longer than that is settled by them and its length.
            const uint32_t first = batch.firsts[slot.place];
            const Key& other = batch.keys[first];
            if (batch.ends[first] - batch.starts[first] == length && other.head[0] == key.head[0] &&
                other.head[1] == key.head[1] &&
                (length <= 16 || std::memcmp(bytes + batch.starts[first] + 16,
                                             bytes + batch.starts[k] + 16, length - 16) == 0)) {
                batch.distinctOf[k] = slot.place;
                ++batch.times[slot.place];
                break;
            }
        }
    }
    batch.deduplicated = true;
}

void CWordCounter::GroupOccurrences(Batch& batch)
{
    const size_t d = batch.firsts.size();
    batch.groupEnds.resize(d);
    size_t sum = 0;
    for (size_t k = 0; k < d; ++k) {
        batch.groupEnds[k] = sum;  // where the group starts, until it is filled
        sum += batch.times[k];
    }
    batch.grouped.resize(batch.count);
    size_t k = 0;
    for (const Batch::Line& line : batch.lines) {
        for (; k < line.wordsEnd; ++k) {
            batch.grouped[batch.groupEnds[batch.distinctOf[k]]++] = {line.number, line.file};
        }
    }
}

int64_t CWordCounter::Enter(const Batch& batch, std::vector<Key>& own)
{
    const size_t n = batch.count;
    const char* bytes = batch.bytes.data();
    if (!batch.hashed) {
        Hash(batch, own);
    }
    const std::vector<Key>& keys = batch.hashed ? batch.keys : own;
    // The table is bigger than the cache: ask for the slots of words a little
    // ahead so that their memory waits overlap with the work on this one.
    constexpr size_t kAhead = 8;
    if (index_ != nullptr && batch.deduplicated) {
        // Each distinct word's entry once, in the order the words first
        // stand (so the table grows as word by word), then every occurrence.
        const size_t d = batch.firsts.size();
        for (size_t k = 0; k < d && k < kAhead; ++k) {
            index_->Prefetch(keys[batch.firsts[k]].hash);
        }
        distinctEntries_.resize(d);
        for (size_t k = 0; k < d; ++k) {
            if (k + kAhead < d) {
                index_->Prefetch(keys[batch.firsts[k + kAhead]].hash);
            }
            const size_t w = batch.firsts[k];
            std::string_view word(bytes + batch.starts[w], batch.ends[w] - batch.starts[w]);
            distinctEntries_[k] = index_->Find(word, keys[w].hash, keys[w].head, batch.times[k]);
        }
        // The occurrences come grouped by word (each group in the order
        // met), so that each list is reached once a batch.
        const std::vector<CIndexTree::Occurrence>& grouped = batch.grouped;
        for (size_t g = 0; g < d && g < 2 * kAhead; ++g) {
            index_->PrefetchEntry(distinctEntries_[g]);
        }
        for (size_t g = 0; g < d; ++g) {
            if (g + 2 * kAhead < d) {
                index_->PrefetchEntry(distinctEntries_[g + 2 * kAhead]);
            }
            if (g + kAhead < d) {
                index_->PrefetchList(distinctEntries_[g + kAhead]);
            }
            index_->Append(distinctEntries_[g], grouped.data() + batch.groupEnds[g] - batch.times[g],
                           batch.times[g]);
        }
        index_->CheckBudget();
        return 0;
    }
    if (index_ != nullptr) {
        // First every word's entry, then every occurrence: each step asks for
        // the memory of the words a little ahead, so that the waits overlap.
        for (size_t k = 0; k < n && k < kAhead; ++k) {
            index_->Prefetch(keys[k].hash);
        }
        entries_.resize(n);
        for (size_t k = 0; k < n; ++k) {
            if (k + kAhead < n) {
                index_->Prefetch(keys[k + kAhead].hash);
            }
            std::string_view word(bytes + batch.starts[k], batch.ends[k] - batch.starts[k]);
            entries_[k] = index_->Find(word, keys[k].hash, keys[k].head);
        }
        for (size_t k = 0; k < n && k < 2 * kAhead; ++k) {
            index_->PrefetchEntry(entries_[k]);
        }
        size_t k = 0;
        for (const Batch::Line& line : batch.lines) {
            for (; k < line.wordsEnd; ++k) {
                if (k + 2 * kAhead < n) {
                    index_->PrefetchEntry(entries_[k + 2 * kAhead]);
                }
                if (k + kAhead < n) {
                    index_->PrefetchList(entries_[k + kAhead]);
                }
                index_->Append(entries_[k], line.number, line.file);
            }
        }
        // A run goes to disk between batches, never between a word's two steps.
        index_->CheckBudget();
        return 0;
    }
    if (collocates_ != nullptr) {
        return EnterCollocates(batch, bytes, keys);
    }
    for (size_t k = 0; k < n && k < kAhead; ++k) {
        tree_->Prefetch(keys[k].hash);
    }
    int64_t added = 0;
    for (size_t k = 0; k < n; ++k) {
        if (k + kAhead < n) {
            tree_->Prefetch(keys[k + kAhead].hash);
        }
        std::string_view word(bytes + batch.starts[k], batch.ends[k] - batch.starts[k]);
        if (tree_->Insert(word, keys[k].hash, keys[k].head)) {
            ++added;
        }
    }
    return added;
}

int64_t CWordCounter::EnterHits(const Batch& hits, Batch& words, std::vector<Key>& keys)
{
    ScanHits(hits, words);
    Hash(words, hits.bytes.data(), keys);
    return EnterCollocates(words, hits.bytes.data(), keys);
}

int64_t CWordCounter::EnterCollocates(const Batch& batch, const char* bytes,
                                      const std::vector<Key>& keys)
{
    // Every word's entry first, then its count, each step asking for the
    // memory of the words a little ahead.
    constexpr size_t kAhead = 8;
    const size_t n = batch.count;
    for (size_t k = 0; k < n && k < kAhead; ++k) {
        collocates_->Prefetch(keys[k].hash);
    }
    entries_.resize(n);
    int64_t added = 0;
    for (size_t k = 0; k < n; ++k) {
        if (k + kAhead < n) {
            collocates_->Prefetch(keys[k + kAhead].hash);
        }
        std::string_view word(bytes + batch.starts[k], batch.ends[k] - batch.starts[k]);
        bool inserted = false;
        entries_[k] = collocates_->Enter(word, keys[k].hash, keys[k].head, inserted);
        added += inserted ? 1 : 0;
    }
    for (size_t k = 0; k < n && k < kAhead; ++k) {
        collocates_->PrefetchCounts(entries_[k]);
    }
    for (size_t k = 0; k < n; ++k) {
        if (k + kAhead < n) {
            collocates_->PrefetchCounts(entries_[k + kAhead]);
        }
        collocates_->Count(entries_[k], batch.slots[k]);
    }
    return added;
}

void CWordCounter::Hand()
{
    if (filling_.Load() == 0) {
        filling_.Clear();
        return;
    }
    if (!threaded_) {
        if (!filling_.hits.empty()) {
            newTypes_ += EnterHits(filling_, readerScan_, readerKeys_);
            newTokens_ += static_cast<int64_t>(readerScan_.count);
        }
        newTypes_ += Enter(filling_, readerKeys_);
        filling_.Clear();
        return;
    }
    if (!worker_.joinable()) {
        worker_ = std::thread([this] { Work(); });
    }
    if (index_ != nullptr) {
        // The index's worker also appends every occurrence: the reader,
        // which only splits lines, takes the hashing off it, and the finding
        // of the words that repeat within the batch.
        Hash(filling_, filling_.keys);
        filling_.hashed = true;
        Deduplicate(filling_, readerDistinct_);
        GroupOccurrences(filling_);
    }
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return pending_.size() < kQueued; });
    pending_.push_back(std::move(filling_));
    if (!spare_.empty()) {
        filling_ = std::move(spare_.back());
        spare_.pop_back();
    } else {
        filling_ = Batch{};
    }
    lock.unlock();
    changed_.notify_all();
    filling_.Clear();
}

void CWordCounter::Work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || !pending_.empty(); });
        if (pending_.empty()) {
            return;  // stopped with nothing left
        }
        std::swap(working_, pending_.front());
        pending_.pop_front();
        busy_ = true;
        lock.unlock();
        changed_.notify_all();
        int64_t found = 0;
        int64_t added = 0;
        if (!working_.hits.empty()) {
            added += EnterHits(working_, workerScan_, workerKeys_);
            found = static_cast<int64_t>(workerScan_.count);
        }
        added += Enter(working_, workerKeys_);
        working_.Clear();
        lock.lock();
        spare_.push_back(std::move(working_));
        working_ = Batch{};
        newTypes_ += added;
        newTokens_ += found;
        busy_ = false;
        changed_.notify_all();
    }
}

int64_t CWordCounter::Finish(int64_t& tokens)
{
    int64_t added = Finish();
    tokens += newTokens_;
    newTokens_ = 0;
    return added;
}

void CWordCounter::SetByteTables(const bool wordChar[256], const unsigned char lower[256])
{
    // Hits already handed over are scanned with the tables they were made with.
    Hand();
    if (worker_.joinable()) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return pending_.empty() && !busy_; });
    }
    std::array<uint16_t, 256> wordLower{};
    for (int b = 0; b < 256; ++b) {
        // A NUL ends the text of a context line: never part of a word.
        const bool word = b != 0 && wordChar[b];
        wordLower[static_cast<size_t>(b)] = static_cast<uint16_t>((word ? 0x100 : 0) | lower[b]);
    }
    scanner_ = std::make_unique<CWordScanner>(wordLower);
}

namespace {

// Over the bits of `masks` (word characters), below `p` or from `p` on:
// where the nearest set or clear bit stands; -1 below, `n` above when there
// is none. The bits from n on are clear.
template <bool kSet>
inline __attribute__((always_inline)) long BitBelow(const uint64_t* masks, long p)
{
    while (p > 0) {
        const size_t w = static_cast<size_t>(p - 1) / 64;
        const unsigned top = static_cast<unsigned>(p - 1) % 64;
        const uint64_t keep = top == 63 ? ~uint64_t{0} : (uint64_t{2} << top) - 1;
        const uint64_t bits = (kSet ? masks[w] : ~masks[w]) & keep;
        if (bits != 0) {
            return static_cast<long>(w * 64 + 63 - static_cast<size_t>(__builtin_clzll(bits)));
        }
        p = static_cast<long>(w * 64);
    }
    return -1;
}

template <bool kSet>
inline __attribute__((always_inline)) long BitFrom(const uint64_t* masks, long p, long n)
{
    while (p < n) {
        const size_t w = static_cast<size_t>(p) / 64;
        const uint64_t bits = (kSet ? masks[w] : ~masks[w]) & (~uint64_t{0} << (p % 64));
        if (bits != 0) {
            return std::min(n, static_cast<long>(w * 64 + static_cast<size_t>(__builtin_ctzll(bits))));
        }
        p = static_cast<long>((w + 1) * 64);
    }
    return n;
}


// The bits [b, b + 64) of a line's `masks` (n bits; none outside them).
inline uint64_t BitWindow(const uint64_t* masks, size_t n, long b)
{
    const size_t words = (n + 63) / 64;
    if (b < 0) {
        return b <= -64 ? 0 : masks[0] << static_cast<unsigned>(-b);
    }
    const size_t w = static_cast<size_t>(b) / 64;
    const unsigned shift = static_cast<unsigned>(b) % 64;
    const uint64_t low = w < words ? masks[w] : 0;
    if (shift == 0) {
        return low;
    }
    const uint64_t high = w + 1 < words ? masks[w + 1] : 0;
    return (low >> shift) | (high << (64 - shift));
}

inline uint64_t ShiftUp(uint64_t x, unsigned by)
{
    return by >= 64 ? 0 : x << by;
}

inline uint64_t ShiftDown(uint64_t x, unsigned by)
{
    return by >= 64 ? 0 : x >> by;
}

// The (up to five) words below `p`, nearest first, found in the 64 bits
// below it: false, with some given to `add` already, when they reach past
// those bits and the line goes on below them.
template <typename Add>
inline __attribute__((always_inline)) bool LeftWords(const uint64_t* masks, size_t n, long p,
                                                     bool skipFirst, Add& add)
{
    uint64_t x = BitWindow(masks, n, p - 64);  // the top bit is p - 1
    const bool toStart = p <= 64;               // the bits reach the line's start
    long c = 0;                                 // bits taken from the top
    if (skipFirst) {
        const unsigned ones = x == ~uint64_t{0} ? 64 : static_cast<unsigned>(__builtin_clzll(~x));
        if (ones == 64 && !toStart) {
            return false;
        }
        c += ones;
        x = ShiftUp(x, ones);
    }
    for (int slot = 4; slot >= 0; --slot) {
        if (x == 0) {
            return toStart;
        }
        const unsigned gap = static_cast<unsigned>(__builtin_clzll(x));
        x <<= gap;
        c += gap;
        const long end = p - c;
        const unsigned ones = x == ~uint64_t{0} ? 64 : static_cast<unsigned>(__builtin_clzll(~x));
        x = ShiftUp(x, ones);
        c += ones;
        if (c >= 64 && !toStart) {
            return false;
        }
        const long start = p - c;
        if (start <= 0) {
            return true;  // cut by the line's start
        }
        add(start, end, slot);
    }
    return true;
}

// The same for the words from `q` on, in the 64 bits from it.
template <typename Add>
inline __attribute__((always_inline)) bool RightWords(const uint64_t* masks, size_t n, long q,
                                                      Add& add)
{
    const long size = static_cast<long>(n);
    uint64_t y = BitWindow(masks, n, q);  // the low bit is q
    const bool toEnd = q + 64 >= size;     // the bits reach the line's end
    long c = 0;
    if ((y & 1) != 0) {
        const unsigned ones = y == ~uint64_t{0} ? 64 : static_cast<unsigned>(__builtin_ctzll(~y));
        if (ones == 64 && !toEnd) {
            return false;
        }
        c += ones;
        y = ShiftDown(y, ones);
    }
    for (int slot = 5; slot <= 9; ++slot) {
        if (y == 0) {
            return toEnd;
        }
        const unsigned gap = static_cast<unsigned>(__builtin_ctzll(y));
        y >>= gap;
        c += gap;
        const long first = q + c;
        const unsigned ones = y == ~uint64_t{0} ? 64 : static_cast<unsigned>(__builtin_ctzll(~y));
        y = ShiftDown(y, ones);
        c += ones;
        if (c >= 64 && !toEnd) {
            return false;
        }
        const long after = q + c;
        if (after >= size) {
            return true;  // cut by the line's end
        }
        add(first, after, slot);
    }
    return true;
}

}  // namespace

void CWordCounter::AddHit(std::string_view line, long keywordAt, size_t keywordLength)
{
    const size_t n = line.size();
    Reserve(n, 0);
    const size_t words = (n + 63) / 64;
    std::vector<uint64_t>& masks = filling_.masks;
    if (masks.size() - filling_.masksUsed < words) {
        masks.resize(std::max(2 * masks.size(), filling_.masksUsed + words + 1024));
    }
    scanner_->Lower(reinterpret_cast<const unsigned char*>(line.data()), n, Bytes(),
                    masks.data() + filling_.masksUsed);
    filling_.hits.push_back({filling_.used, n, keywordAt, keywordLength, filling_.masksUsed});
    filling_.masksUsed += words;
    filling_.used += n;
}

void CWordCounter::ScanHits(const Batch& hits, Batch& words)
{
    // Each hit's line came lowered, its word characters noted as bits; the
    // collocates are the words that end before the keyword (not one the
    // keyword begins inside) and those that start after it (not the rest of
    // one it ends inside), five on each side, nearest first, and never a word
    // cut by the edge of the line. Only those ten are looked for, from the
    // keyword outwards.
    words.Clear();
    const size_t most = 10 * hits.hits.size();
    if (words.starts.size() < most) {
        words.starts.resize(most);
        words.ends.resize(most);
        words.slots.resize(most);
    }
    // Kept in locals: the stores through these would otherwise make the
    // compiler read the vectors' pointers again after each word.
    size_t* starts = words.starts.data();
    size_t* ends = words.ends.data();
    uint8_t* slots = words.slots.data();
    size_t count = 0;
    for (const Batch::Hit& hit : hits.hits) {
        const size_t n = hit.size;
        const uint64_t* masks = hits.masks.data() + hit.masks;
        const size_t base = hit.start;
        const long size = static_cast<long>(n);
        const auto add = [&](long start, long end, int slot) {
            starts[count] = base + static_cast<size_t>(start);
            ends[count] = base + static_cast<size_t>(end);
            slots[count] = static_cast<uint8_t>(slot);
            ++count;
        };
        // Left: below `p`, which starts before a word the keyword begins inside.
        // First within the 64 bytes before `p`; only words that reach past
        // them (a long left context) take the general way.
        const long p0 = std::min(hit.keywordAt, size);
        const bool insideAtLeft = p0 > 0 && hit.keywordAt <= size &&
                                  ((masks[(p0 - 1) / 64] >> ((p0 - 1) % 64)) & 1) != 0;
        const size_t leftFrom = count;
        if (p0 > 0 && !LeftWords(masks, n, p0, insideAtLeft, add)) {
            count = leftFrom;
            long p = p0;
            if (insideAtLeft) {
                p = BitBelow<false>(masks, p);
            }
            for (int slot = 4; slot >= 0 && p > 0; --slot) {
                const long last = BitBelow<true>(masks, p);
                if (last < 0) {
                    break;
                }
                const long before = BitBelow<false>(masks, last);
                if (before < 0) {
                    break;  // cut by the line's start
                }
                add(before + 1, last + 1, slot);
                p = before;
            }
        }
        // Right: from `q`, which starts after a word the keyword ends inside.
        const long q0 = std::max(0L, hit.keywordAt + static_cast<long>(hit.keywordLength));
        const size_t rightFrom = count;
        if (q0 < size && !RightWords(masks, n, q0, add)) {
            count = rightFrom;
            long q = q0;
            if (((masks[q / 64] >> (q % 64)) & 1) != 0) {
                q = BitFrom<false>(masks, q, size);
            }
            for (int slot = 5; slot <= 9 && q < size; ++slot) {
                const long first = BitFrom<true>(masks, q, size);
                if (first >= size) {
                    break;
                }
                const long after = BitFrom<false>(masks, first, size);
                if (after >= size) {
                    break;  // cut by the line's end
                }
                add(first, after, slot);
                q = after;
            }
        }
    }
    words.count = count;
}

int64_t CWordCounter::Finish()
{
    Hand();
    if (worker_.joinable()) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return pending_.empty() && !busy_; });
    }
    int64_t added = newTypes_;
    newTypes_ = 0;
    return added;
}

}  // namespace plix
