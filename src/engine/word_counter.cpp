#include "engine/word_counter.h"

#include <algorithm>
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
    if (filling_.count >= batchWords_ || filling_.bytes.size() - filling_.used < room ||
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
    }
}

int64_t CWordCounter::Enter(const Batch& batch, std::vector<Key>& keys)
{
    const size_t n = batch.count;
    const char* bytes = batch.bytes.data();
    keys.resize(n);
    for (size_t k = 0; k < n; ++k) {
        keys[k].hash = CStringTable::HashPadded(bytes + batch.starts[k],
                                                batch.ends[k] - batch.starts[k], keys[k].head);
    }
    // The table is bigger than the cache: ask for the slots of words a little
    // ahead so that their memory waits overlap with the work on this one.
    constexpr size_t kAhead = 8;
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
    if (filling_.count == 0) {
        filling_.Clear();
        return;
    }
    if (!threaded_) {
        newTypes_ += Enter(filling_, readerKeys_);
        filling_.Clear();
        return;
    }
    if (!worker_.joinable()) {
        worker_ = std::thread([this] { Work(); });
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
        int64_t added = Enter(working_, workerKeys_);
        working_.Clear();
        lock.lock();
        spare_.push_back(std::move(working_));
        working_ = Batch{};
        newTypes_ += added;
        busy_ = false;
        changed_.notify_all();
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
