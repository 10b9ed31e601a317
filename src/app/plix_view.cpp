#include "app/plix_view.h"

#include "app/plix_doc.h"
#include "app/result_text.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>

namespace plix {

CPlixView::CPlixView(CPlixDoc* doc, QWidget* parent) : QPlainTextEdit(parent), doc_(doc)
{
    setDocument(doc_->TextDocument());
    // Concordance lines put the keyword at a fixed column: they only line up in
    // a fixed-pitch font.
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    UpdateTabStops();
    setLineWrapMode(QPlainTextEdit::NoWrap);
    doc_->AddView(this);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this]() {
        int line = CaretLine();
        if (line != lastCaretLine_) {
            lastCaretLine_ = line;
            emit caretLineChanged(line);
        }
    });
    lastCaretLine_ = CaretLine();
}

CPlixView::~CPlixView()
{
    doc_->RemoveView(this);
}

void CPlixView::AppendResult(std::string_view text, const std::vector<HighlightRange>& highlights)
{
    if (text.empty()) {
        return;
    }
    DecodedBlock block = DecodeResultBlock(text, highlights);
    QTextDocument* document = doc_->TextDocument();
    // A result is not an edit the user can take back; leaving it out of the
    // undo stack also keeps a large result from being held twice.
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);

    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    // One edit block per append: the layout is updated once, not once per
    // line or per coloured range (which would be quadratic).
    cursor.beginEditBlock();
    const int base = cursor.position();
    cursor.insertText(block.text, QTextCharFormat());
    QTextCharFormat red;
    red.setForeground(KeywordColour());
    for (const TextRange& range : block.ranges) {
        if (range.length <= 0) {
            continue;
        }
        cursor.setPosition(base + range.position);
        cursor.setPosition(base + range.position + range.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(red);
    }
    cursor.endEditBlock();

    document->setUndoRedoEnabled(undo);
    // A result is new, unsaved work: closing its window asks first.
    document->setModified(true);
}

void CPlixView::AppendText(const QString& text)
{
    if (text.isEmpty()) {
        return;
    }
    QTextDocument* document = doc_->TextDocument();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    cursor.insertText(text, QTextCharFormat());
    cursor.endEditBlock();
    document->setUndoRedoEnabled(undo);
    document->setModified(true);
}

void CPlixView::UpdateTabStops()
{
    // A word list puts a TAB between each word and its count, a backward list
    // one before the word as well: their counts line up in a column of their
    // own for words of up to kListWordColumns characters. Further TABs (the
    // count columns of a collocation) stop every 8 characters.
    const qreal column = QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0'));
    QTextOption option = document()->defaultTextOption();
    option.setTabs({QTextOption::Tab((kListWordColumns + 1) * column, QTextOption::LeftTab),
                    QTextOption::Tab(2 * (kListWordColumns + 1) * column, QTextOption::LeftTab)});
    option.setTabStopDistance(8 * column);
    document()->setDefaultTextOption(option);
}

void CPlixView::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateTabStops();
    }
}

void CPlixView::GoToLine(int line)
{
    const int count = document()->blockCount();
    const int target = std::clamp(line, 1, std::max(1, count));
    QTextCursor cursor(document()->findBlockByNumber(target - 1));
    cursor.movePosition(QTextCursor::StartOfBlock);
    setTextCursor(cursor);
    ensureCursorVisible();
}

QString CPlixView::CaretLineText() const
{
    return textCursor().block().text();
}

void CPlixView::SetSortFields(const QString& keyword, int keywordPosition, int singleLineHits, int sortMode,
                              int hitFormat)
{
    sortKeyword_ = keyword;
    sortKeywordPosition_ = keywordPosition;
    singleLineHits_ = singleLineHits;
    sortMode_ = sortMode;
    hitFormat_ = hitFormat;
}

int CPlixView::CaretLine() const
{
    return textCursor().blockNumber() + 1;
}

void CPlixView::SetWordWrap(int wrap)
{
    wordWrap_ = wrap ? 1 : 0;
    setLineWrapMode(wordWrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

namespace {

bool CarriesFiles(const QMimeData* mime)
{
    if (mime == nullptr || !mime->hasUrls()) {
        return false;
    }
    const QList<QUrl> urls = mime->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

}  // namespace

bool CPlixView::IsReserved(const QKeyEvent* event) const
{
    if (reservedKeys_.isEmpty()) {
        return false;
    }
    QKeySequence pressed(event->keyCombination());
    return reservedKeys_.contains(pressed);
}

bool CPlixView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && IsReserved(static_cast<QKeyEvent*>(event))) {
        // Not ours: let the accelerator have it (Ctrl+K would otherwise
        // delete to the end of the line instead of starting a concordance).
        event->ignore();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void CPlixView::keyPressEvent(QKeyEvent* event)
{
    if (IsReserved(event)) {
        // The accelerator's command is disabled: the key does nothing.
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CPlixView::dragEnterEvent(QDragEnterEvent* event)
{
    if (CarriesFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dragEnterEvent(event);
}

void CPlixView::dragMoveEvent(QDragMoveEvent* event)
{
    if (CarriesFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dragMoveEvent(event);
}

void CPlixView::dropEvent(QDropEvent* event)
{
    if (CarriesFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dropEvent(event);
}

void CPlixView::contextMenuEvent(QContextMenuEvent* event)
{
    if (!contextMenuFiller_) {
        QPlainTextEdit::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    contextMenuFiller_(menu);
    menu.exec(event->globalPos());
}

}  // namespace plix
