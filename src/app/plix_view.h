// CPlixView: the text view of a result window. Results arrive at the end in
// large blocks with their keyword ranges coloured red; afterwards the window
// is an ordinary plain-text editor. The result commands that work on the
// displayed text (jump, tag jump, sort, quick) are built on the line access
// given here.
#pragma once

#include <QColor>
#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>

#include <functional>
#include <string_view>
#include <vector>

#include "engine/result_target.h"

namespace plix {

class CPlixDoc;

class CPlixView : public QPlainTextEdit
{
    Q_OBJECT

public:
    CPlixView(CPlixDoc* doc, QWidget* parent);
    ~CPlixView() override;

    CPlixDoc* GetDocument() const { return doc_; }

    // Appends a block of result text (bytes of the locale's code page) at the
    // end and colours the given byte ranges of it red. Adds nothing to undo.
    void AppendResult(std::string_view text, const std::vector<HighlightRange>& highlights);
    // Appends plain text at the end ("\n" between lines), as a re-sort fills
    // its window. Adds nothing to undo.
    void AppendText(const QString& text);

    // Puts the caret at the start of `line` (counted from 1; kept within the
    // text), nothing selected, and scrolls it into view.
    void GoToLine(int line);
    // The text of the caret's line.
    QString CaretLineText() const;

    // The caret's line, counted from 1.
    int CaretLine() const;

    // 0: lines are not wrapped (every new window); 1: wrapped to the window.
    int GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(int wrap);

    // What the last sort command read from this window's text.
    QString GetSortKeyword() const { return sortKeyword_; }
    int GetSortKeywordPosition() const { return sortKeywordPosition_; }
    int GetSingleLineHits() const { return singleLineHits_; }
    int GetSortMode() const { return sortMode_; }
    int GetHitFormat() const { return hitFormat_; }
    void SetSortFields(const QString& keyword, int keywordPosition, int singleLineHits, int sortMode,
                       int hitFormat);

    // The longest word whose count still stands in the count column of a
    // word list.
    static constexpr int kListWordColumns = 24;

    // The colour of keywords in a result: pure red.
    static QColor KeywordColour() { return QColor(255, 0, 0); }

    // The main frame fills the context menu with its own commands.
    using ContextMenuFiller = std::function<void(QMenu& menu)>;
    void SetContextMenuFiller(ContextMenuFiller filler) { contextMenuFiller_ = std::move(filler); }

    // Keys of the program's accelerator table: they start commands even while
    // the view has the focus (and never edit the text, also when the command
    // is disabled).
    void SetReservedKeys(QList<QKeySequence> keys) { reservedKeys_ = std::move(keys); }

signals:
    void caretLineChanged(int line);

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Files dropped on a view are opened, not pasted as text: they go on to
    // the main frame.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    CPlixDoc* doc_;
    int wordWrap_ = 0;
    QString sortKeyword_;
    int sortKeywordPosition_ = 0;
    int singleLineHits_ = 0;
    int sortMode_ = 0;
    int hitFormat_ = 0;
    int lastCaretLine_ = 0;
    ContextMenuFiller contextMenuFiller_;
    QList<QKeySequence> reservedKeys_;
    bool IsReserved(const QKeyEvent* event) const;
    void UpdateTabStops();
};

}  // namespace plix
