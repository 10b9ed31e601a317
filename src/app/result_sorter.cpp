#include "app/result_sorter.h"

#include "app/plix_doc.h"
#include "app/plix_view.h"
#include "engine/progress.h"
#include "settings/codec.h"
#include "settings/corpus.h"

#include <QPointer>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <string>
#include <vector>

namespace plix {

namespace {

// The source window's lines, as text for the new window and as bytes for the
// keys, taken once when the command starts.
struct SourceLines
{
    explicit SourceLines(const CPlixDoc& doc)
    {
        const QTextDocument* document = doc.TextDocument();
        texts.reserve(document->blockCount());
        bytes.reserve(static_cast<size_t>(document->blockCount()));
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            QString text = block.text();
            bytes.push_back(EncodeLocaleText(
                std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<size_t>(text.size()))));
            texts.append(std::move(text));
        }
    }

    QStringList texts;
    std::vector<std::string> bytes;
};

// Hands lines to the new window in large blocks: one insertion per line would
// lay the text out again for every line.
class LineWriter
{
  public:
    LineWriter(const SourceLines& lines, CPlixView& target) : lines_(lines), target_(&target) {}
    ~LineWriter() { Flush(); }
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    void Write(size_t index)
    {
        pending_ += lines_.texts[static_cast<qsizetype>(index)];
        // Lines are separated, not ended: the copy has as many lines as the
        // source, the last one (usually empty) without a break after it.
        if (++written_ < static_cast<size_t>(lines_.texts.size())) {
            pending_ += u'\n';
        }
        if (pending_.size() >= kBlockSize) {
            Flush();
        }
    }

    void WriteRange(size_t from, size_t to)
    {
        for (size_t i = from; i < to; ++i) {
            Write(i);
        }
    }

    void Flush()
    {
        if (target_ && !pending_.isEmpty()) {
            target_->AppendText(pending_);
        }
        pending_.clear();
    }

  private:
    static constexpr qsizetype kBlockSize = 1 << 20;

    const SourceLines& lines_;
    QPointer<CPlixView> target_;
    QString pending_;
    size_t written_ = 0;
};

int Percent(size_t done, size_t total)
{
    return total == 0 ? 100 : static_cast<int>(std::min<size_t>(100, done * 100 / total));
}

SortProgress Asking(CProgress& progress)
{
    return [&progress](int percent) {
        progress.SetPos(percent);
        return !progress.IsCancelled();
    };
}

// Writes the lines of the sorted block in their new order; false when cancelled.
bool WriteSorted(LineWriter& writer, const std::vector<size_t>& firsts, size_t linesEach,
                 size_t blockEnd, CProgress& progress)
{
    for (size_t k = 0; k < firsts.size(); ++k) {
        writer.WriteRange(firsts[k], std::min(firsts[k] + linesEach, blockEnd));
        progress.SetPos(Percent(k + 1, firsts.size()));
        if (progress.IsCancelled()) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsWordListSort(SortCommand command)
{
    return command == SortCommand::Alphabet || command == SortCommand::Frequency;
}

int SortModeOf(SortCommand command)
{
    switch (command) {
        case SortCommand::Left:
            return kSortLeft;
        case SortCommand::Right:
            return kSortRight;
        default:
            return kSortKeyword;
    }
}

bool ResortWordList(const CPlixDoc& source, CPlixView& target, WordListOrder order,
                    CProgress& progress)
{
    const SourceLines lines(source);
    target.GetDocument()->SetLineEnd(source.GetLineEnd());
    LineWriter writer(lines, target);
    const WordListLayout layout = FindWordListBlock(lines.bytes);
    writer.WriteRange(0, layout.blockBegin);
    writer.Flush();
    std::optional<std::vector<size_t>> sorted =
        SortWordList(lines.bytes, layout, order, Asking(progress));
    if (!sorted || !WriteSorted(writer, *sorted, 1, layout.blockEnd, progress)) {
        return false;
    }
    writer.WriteRange(layout.blockEnd, lines.bytes.size());
    return true;
}

bool ResortConcordance(const CPlixDoc& source, CPlixView& target, int sortMode,
                       const CCorpus& corpus, CProgress& progress, ConcordanceSortInfo* info)
{
    const SourceLines lines(source);
    target.GetDocument()->SetLineEnd(source.GetLineEnd());
    LineWriter writer(lines, target);
    const ConcordanceLayout layout = FindConcordanceLayout(lines.bytes);
    if (info != nullptr) {
        std::u16string keyword = DecodeLocaleText(layout.sortKeyword);
        info->sortKeyword = QString(reinterpret_cast<const QChar*>(keyword.data()),
                                    static_cast<qsizetype>(keyword.size()));
        info->sortKeywordPosition = layout.sortKeywordPosition;
        info->singleLineHits = layout.singleLineHits ? 1 : 0;
        info->hitFormat = layout.hitFormat;
    }
    // The header, and whatever stands between it and the first hit.
    writer.WriteRange(0, layout.firstHit);
    writer.Flush();
    if (layout.Sortable()) {
        std::optional<std::vector<size_t>> sorted = SortConcordance(
            lines.bytes, layout, sortMode, corpus.GetSortColumn(), corpus, Asking(progress));
        if (!sorted || !WriteSorted(writer, *sorted, static_cast<size_t>(layout.LinesPerHit()),
                                    layout.blockEnd, progress)) {
            return false;
        }
    }
    writer.WriteRange(layout.blockEnd, lines.bytes.size());
    return true;
}

}  // namespace plix
