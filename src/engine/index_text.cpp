#include "engine/index_text.h"

#include <charconv>
#include <cstring>
#include <utility>

namespace plix {

namespace {

// A block is handed over past this many bytes of occurrences (about as many
// line numbers) or entries: small enough that two blocks in flight hold
// little, large enough that handing them over costs nothing.
constexpr size_t kBlockDeltas = size_t{1} << 16;
constexpr size_t kBlockEntries = 4096;
// The line numbers of a very common word are taken this many at a time.
constexpr size_t kChunkNumbers = size_t{1} << 16;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// One to four digits of `x` (< 10000), without leading zeros.
inline char* PutShort(char* p, uint32_t x)
{
    if (x < 100) {
        if (x < 10) {
            *p = static_cast<char>('0' + x);
            return p + 1;
        }
        std::memcpy(p, kDigitPairs + 2 * x, 2);
        return p + 2;
    }
    if (x < 1000) {
        *p = static_cast<char>('0' + x / 100);
        std::memcpy(p + 1, kDigitPairs + 2 * (x % 100), 2);
        return p + 3;
    }
    std::memcpy(p, kDigitPairs + 2 * (x / 100), 2);
    std::memcpy(p + 2, kDigitPairs + 2 * (x % 100), 2);
    return p + 4;
}

// A line number in decimal: every line number of the index is written, so
// the common ones (below a hundred million) take no loop and no library call.
inline char* PutNumber(char* p, int64_t value)
{
    if (value < 0 || value >= 100000000) {
        return std::to_chars(p, p + 20, value).ptr;
    }
    const auto x = static_cast<uint32_t>(value);
    if (x < 10000) {
        return PutShort(p, x);
    }
    p = PutShort(p, x / 10000);
    const uint32_t low = x % 10000;
    std::memcpy(p, kDigitPairs + 2 * (low / 100), 2);
    std::memcpy(p + 2, kDigitPairs + 2 * (low % 100), 2);
    return p + 4;
}

}  // namespace

void CIndexTextWriter::Block::Clear()
{
    heads.clear();
    headEnds.clear();
    deltas.clear();
    pieceEnds.clear();
    piecesOf.clear();
    text.clear();
    chunk = false;
    lead.clear();
    numbers.clear();
    completes = false;
}

CIndexTextWriter::CIndexTextWriter(std::string eol, std::function<void(const std::string&)> write,
                                   std::function<void()> written, bool worker)
    : eol_(std::move(eol)),
      write_(std::move(write)),
      written_(std::move(written)),
      threaded_(worker)
{
}

CIndexTextWriter::~CIndexTextWriter()
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

void CIndexTextWriter::Add(std::string_view spelling, int64_t count, const CIndexNode& node)
{
    char digits[24];
    const std::string_view countText(
        digits,
        static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, count).ptr - digits));
    size_t deltas = 0;
    for (std::string_view piece : node.pieces) {
        deltas += piece.size();
    }
    if (deltas >= kBlockDeltas) {
        // A very common word (as many line numbers as occurrences): its
        // numbers are read off in chunks, each a block of its own, so that
        // the entry is formatted on both cores like the others and never held
        // whole. What came before it is written first.
        Flush();
        CIndexLines lines(node);
        std::string lead = std::string(spelling).append("\t").append(countText).append(eol_);
        for (;;) {
            Block& b = blocks_[filling_];
            b.chunk = true;
            b.lead.swap(lead);
            lead.clear();
            b.numbers.resize(kChunkNumbers);
            size_t got = 0;
            size_t more = 0;
            while (got < kChunkNumbers &&
                   (more = lines.NextBlock(b.numbers.data() + got, kChunkNumbers - got)) > 0) {
                got += more;
            }
            b.numbers.resize(got);
            const bool last = got < kChunkNumbers;
            b.completes = last;
            BlockFull();
            if (last) {
                return;
            }
        }
    }
    Block& b = blocks_[filling_];
    b.heads.append(spelling).append("\t").append(countText);
    b.headEnds.push_back(b.heads.size());
    for (std::string_view piece : node.pieces) {
        b.deltas.append(piece);
        b.pieceEnds.push_back(b.deltas.size());
    }
    b.piecesOf.push_back(b.pieceEnds.size());
    if (b.deltas.size() >= kBlockDeltas || b.Entries() >= kBlockEntries) {
        BlockFull();
    }
}

void CIndexTextWriter::BlockFull()
{
    Block& b = blocks_[filling_];
    if (!threaded_) {
        Format(b);
        Write(b);
        return;
    }
    if (!handed_) {
        // The other block is free: this one goes to the worker, and Add
        // fills the other.
        if (!worker_.joinable()) {
            worker_ = std::thread([this] { Work(); });
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            handed_ = true;
            handedBlock_ = filling_;
            working_ = true;
        }
        changed_.notify_all();
        filling_ = 1 - filling_;
        return;
    }
    // This block follows the worker's: format it here meanwhile, then write
    // the two in order.
    Format(b);
    Block& other = blocks_[1 - filling_];
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !working_; });
        handed_ = false;
    }
    Write(other);
    Write(b);
    filling_ = 1 - filling_;
}

void CIndexTextWriter::Flush()
{
    Block& b = blocks_[filling_];
    if (handed_) {
        Block& other = blocks_[1 - filling_];
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return !working_; });
            handed_ = false;
        }
        Write(other);
    }
    if (b.chunk || b.Entries() > 0) {
        Format(b);
        Write(b);
    }
}

void CIndexTextWriter::Format(Block& block) const
{
    std::string& text = block.text;
    text.clear();
    if (block.chunk) {
        text.append(block.lead);
        AppendNumbers(block.numbers.data(), block.numbers.size(), text);
        if (block.completes) {
            text.append(eol_);
        }
        return;
    }
    CIndexNode node;
    size_t head = 0;
    size_t piece = 0;
    size_t deltasAt = 0;
    for (size_t e = 0; e < block.Entries(); ++e) {
        text.append(block.heads, head, block.headEnds[e] - head).append(eol_);
        head = block.headEnds[e];
        node.pieces.clear();
        for (; piece < block.piecesOf[e]; ++piece) {
            node.pieces.emplace_back(block.deltas.data() + deltasAt,
                                     block.pieceEnds[piece] - deltasAt);
            deltasAt = block.pieceEnds[piece];
        }
        AppendLines(node, text);
        text.append(eol_);
    }
}

void CIndexTextWriter::AppendLines(const CIndexNode& node, std::string& text) const
{
    int64_t numbers[256];
    CIndexLines lines(node);
    size_t got = 0;
    while ((got = lines.NextBlock(numbers, 256)) > 0) {
        AppendNumbers(numbers, got, text);
    }
}

void CIndexTextWriter::AppendNumbers(const int64_t* numbers, size_t n, std::string& text)
{
    // Formatted into a buffer of our own and appended a buffer at a time:
    // no room is cleared in the text only to be written over.
    char buffer[4096];
    constexpr size_t kMost = 21;  // a blank and twenty digits
    size_t k = 0;
    while (k < n) {
        char* p = buffer;
        for (; k < n && p + kMost <= buffer + sizeof buffer; ++k) {
            *p++ = ' ';
            p = PutNumber(p, numbers[k]);
        }
        text.append(buffer, static_cast<size_t>(p - buffer));
    }
}

void CIndexTextWriter::Write(Block& block)
{
    write_(block.text);
    const size_t entries = block.chunk ? (block.completes ? 1 : 0) : block.Entries();
    for (size_t e = 0; e < entries; ++e) {
        written_();
    }
    block.Clear();
}

void CIndexTextWriter::Work()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || working_; });
        if (stop_ && !working_) {
            return;
        }
        // Add does not touch the handed block until `working_` is false again.
        Block& block = blocks_[handedBlock_];
        lock.unlock();
        Format(block);
        lock.lock();
        working_ = false;
        changed_.notify_all();
    }
}

}  // namespace plix
