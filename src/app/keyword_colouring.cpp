#include "app/keyword_colouring.h"

#include "app/plix_doc.h"
#include "app/plix_view.h"
#include "engine/result_sort.h"
#include "settings/codec.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <string>
#include <vector>

namespace plix {

namespace {

// The position in the block's text of byte `offset` of its bytes: the same
// for ASCII, otherwise the length of the decoded bytes before it.
int TextPosition(const std::string& bytes, size_t offset)
{
    const auto end = bytes.begin() + static_cast<std::ptrdiff_t>(std::min(offset, bytes.size()));
    if (std::all_of(bytes.begin(), end,
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return static_cast<int>(offset);
    }
    return static_cast<int>(DecodeLocaleText(std::string_view(bytes).substr(0, offset)).size());
}

}  // namespace

int ColourHitKeywords(CPlixDoc& doc, const CCorpus& corpus)
{
    if (ClassifyResult(doc.LineBytes(0, static_cast<int>(kClassifyLineCount)), corpus).kind !=
        ResultKind::Concordance) {
        return 0;
    }
    const std::vector<std::string> lines = doc.LineBytes();
    const std::vector<HitKeyword> hits = FindHitKeywords(lines, corpus);
    if (hits.empty()) {
        return 0;
    }
    QTextDocument* text = doc.TextDocument();
    const bool undo = text->isUndoRedoEnabled();
    const bool modified = text->isModified();
    text->setUndoRedoEnabled(false);
    QTextCharFormat red;
    red.setForeground(CPlixView::KeywordColour());
    QTextCursor cursor(text);
    // One edit block: the layout is brought up to date once, not per keyword.
    cursor.beginEditBlock();
    // The hits come in the order of their lines: walk the blocks along.
    QTextBlock block = text->begin();
    int blockNumber = 0;
    for (const HitKeyword& hit : hits) {
        while (block.isValid() && blockNumber < static_cast<int>(hit.line)) {
            block = block.next();
            ++blockNumber;
        }
        if (!block.isValid()) {
            break;
        }
        const std::string& bytes = lines[hit.line];
        const int from = TextPosition(bytes, hit.start);
        const int to = TextPosition(bytes, hit.start + hit.length);
        cursor.setPosition(block.position() + from);
        cursor.setPosition(block.position() + to, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(red);
    }
    cursor.endEditBlock();
    text->setUndoRedoEnabled(undo);
    text->setModified(modified);
    return static_cast<int>(hits.size());
}

}  // namespace plix
