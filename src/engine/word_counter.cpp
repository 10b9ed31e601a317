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

void CWordCounter::Reserve(size_t bytes, size_t maxWords)
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

void CWordCounter::Hash(const Batch& batch, std::vector<Key>& keys)
{
    const size_t n = batch.count;
    const char* bytes = batch.bytes.data();
    keys.resize(n);
    for (size_t k = 0; k < n; ++k) {
        keys[k].hash = CStringTable::HashPadded(bytes + batch.starts[k],
                                                batch.ends[k] - batch.starts[k], keys[k].head);
    }
}

void CWordCounter::Deduplicate(Batch& batch)
{
    const size_t n = batch.count;
    size_t size = 1024;
    while (size < 2 * n) {
        size *= 2;
    }
    if (distinctTable_.size() != size) {
        distinctTable_.assign(size, DistinctSlot{});
        distinctStamp_ = 0;
    }
    if (++distinctStamp_ == 0) {
        std::fill(distinctTable_.begin(), distinctTable_.end(), DistinctSlot{});
        distinctStamp_ = 1;
    }
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
            __builtin_prefetch(&distinctTable_[home(batch.keys[k + kAhead].hash)]);
        }
        const size_t length = batch.ends[k] - batch.starts[k];
        for (size_t i = home(key.hash);; i = (i + 1) & mask) {
            DistinctSlot& slot = distinctTable_[i];
            if (slot.stamp != distinctStamp_) {
                slot.hash = key.hash;
                slot.stamp = distinctStamp_;
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
        const auto entryOf = [&](size_t k) { return distinctEntries_[batch.distinctOf[k]]; };
        for (size_t k = 0; k < n && k < 2 * kAhead; ++k) {
            index_->PrefetchEntry(entryOf(k));
        }
        size_t k = 0;
        for (const Batch::Line& line : batch.lines) {
            for (; k < line.wordsEnd; ++k) {
                if (k + 2 * kAhead < n) {
                    index_->PrefetchEntry(entryOf(k + 2 * kAhead));
                }
                if (k + kAhead < n) {
                    index_->PrefetchList(entryOf(k + kAhead));
                }
                index_->Append(entryOf(k), line.number, line.file);
            }
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
        // As for the index: every word's entry first, then its count.
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

void CWordCounter::Hand()
{
    if (filling_.Load() == 0) {
        filling_.Clear();
        return;
    }
    if (!threaded_) {
        if (!filling_.hits.empty()) {
            ScanHits(filling_, readerScan_, readerScratch_);
            newTokens_ += static_cast<int64_t>(readerScan_.count);
            newTypes_ += Enter(readerScan_, readerKeys_);
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
        Deduplicate(filling_);
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
            ScanHits(working_, workerScan_, workerScratch_);
            found = static_cast<int64_t>(workerScan_.count);
            added += Enter(workerScan_, workerKeys_);
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

void CWordCounter::ScanHits(const Batch& hits, Batch& words, Scratch& scratch) const
{
    // Each hit's line is lowered whole into `words` and split into words;
    // the collocates are the words that end before the keyword (not one
    // the keyword begins inside) and those that start after it (not the
    // rest of one it ends inside), five on each side, nearest first, and
    // never a word cut by the edge of the line.
    words.Clear();
    const size_t room = hits.used + kSlack;
    if (words.bytes.size() < room) {
        words.bytes.resize(room);
    }
    const size_t most = 10 * hits.hits.size();
    if (words.starts.size() < most) {
        words.starts.resize(most);
        words.ends.resize(most);
        words.slots.resize(most);
    }
    char* out = words.bytes.data();
    for (const Batch::Hit& hit : hits.hits) {
        const size_t n = hit.size;
        if (scratch.starts.size() < n / 2 + 2) {
            scratch.starts.resize(n / 2 + 2);
            scratch.ends.resize(n / 2 + 2);
        }
        const auto* text = reinterpret_cast<const unsigned char*>(hits.bytes.data() + hit.start);
        const size_t found = scanner_->Scan(text, n, out + words.used, words.used,
                                            scratch.starts.data(), scratch.ends.data());
        const size_t base = words.used;
        const long keyAt = hit.keywordAt;
        const long after = hit.keywordAt + static_cast<long>(hit.keywordLength);
        // The first word that does not end before the keyword.
        size_t split = 0;
        while (split < found && static_cast<long>(scratch.ends[split] - base) < keyAt) {
            ++split;
        }
        int slot = 4;
        for (size_t k = split; k-- > 0 && slot >= 0;) {
            if (scratch.starts[k] == base) {
                break;  // cut by the line's start
            }
            words.starts[words.count] = scratch.starts[k];
            words.ends[words.count] = scratch.ends[k];
            words.slots[words.count] = static_cast<uint8_t>(slot--);
            ++words.count;
        }
        slot = 5;
        for (size_t k = split; k < found && slot <= 9; ++k) {
            const long start = static_cast<long>(scratch.starts[k] - base);
            if (start <= after) {
                continue;  // inside the keyword, or the rest of a word it ends inside
            }
            if (scratch.ends[k] == base + n) {
                break;  // cut by the line's end
            }
            words.starts[words.count] = scratch.starts[k];
            words.ends[words.count] = scratch.ends[k];
            words.slots[words.count] = static_cast<uint8_t>(slot++);
            ++words.count;
        }
        words.used += n;
    }
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
