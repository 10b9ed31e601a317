// The commands of a result view that work on its text: jump to a line, tag
// jump to the corpus line of a Tagged hit, find and replace, a second window
// on the same document.
#include <QtTest>

#include "app/app_fixture.h"
#include "app/child_frame.h"
#include "app/find_dlg.h"
#include "app/jump_dlg.h"
#include "settings/ui/dialog_message.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>

using namespace plix;
using test::AppFixture;

namespace {

int WindowCount(AppFixture& fixture)
{
    return static_cast<int>(fixture.Frame()->MdiArea()->subWindowList().size());
}

// Runs `act` on the first modal dialog of type T that comes up.
template <typename T, typename Act>
void WhenShown(Act act)
{
    QTimer::singleShot(0, [act]() {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            act(dialog);
        }
    });
}

}  // namespace

class ViewCommandsTest : public QObject
{
    Q_OBJECT

  private slots:
    void wordListCountsLineUp_data();
    void wordListCountsLineUp();
    void goToLine_data();
    void goToLine();
    void jumpDialogTakesSignedIntegersOnly_data();
    void jumpDialogTakesSignedIntegersOnly();
    void jumpCommandStartsAtTheCaretLine();
    void tagJumpOpensTheFileAtTheHitsLine();
    void tagJumpActivatesAnOpenFile();
    void tagJumpWithoutAReferenceDoesNothing_data();
    void tagJumpWithoutAReferenceDoesNothing();
    void findNext_data();
    void findNext();
    void replaceAllIsOneUndoStep();
    void findDialogAndF3();
    void replaceDialogReplacesOneThenAll();
    void newWindowShowsTheSameDocument();
};

void ViewCommandsTest::goToLine_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("caretLine");
    QTest::newRow("line 1: the very start") << 1 << 1;
    QTest::newRow("line N") << 4 << 4;
    QTest::newRow("the last line") << 6 << 6;
    // Outside the text the caret goes to its nearest end.
    QTest::newRow("0") << 0 << 1;
    QTest::newRow("negative") << -5 << 1;
    QTest::newRow("past the end") << 1000 << 6;
}

void ViewCommandsTest::goToLine()
{
    QFETCH(int, line);
    QFETCH(int, caretLine);
    AppFixture fixture;
    CPlixView* view = fixture.Frame()->ActiveView();
    view->setPlainText(QStringLiteral("one\ntwo\nthree\nfour\nfive\nsix"));
    QTextCursor selection = view->textCursor();
    selection.setPosition(5);
    selection.setPosition(9, QTextCursor::KeepAnchor);
    view->setTextCursor(selection);
    view->GoToLine(line);
    QCOMPARE(view->CaretLine(), caretLine);
    QCOMPARE(view->textCursor().positionInBlock(), 0);
    QVERIFY(!view->textCursor().hasSelection());
    QCOMPARE(fixture.Frame()->LinePane()->text(), QStringLiteral(" %1").arg(caretLine));
}

void ViewCommandsTest::jumpDialogTakesSignedIntegersOnly_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("line");
    QTest::newRow("a number") << "12" << true << 12;
    QTest::newRow("blanks around it") << " 7 " << true << 7;
    QTest::newRow("signed") << "-3" << true << -3;
    QTest::newRow("words") << "twelve" << false << 0;
    QTest::newRow("a number and more") << "12a" << false << 0;
    QTest::newRow("nothing") << "" << false << 0;
}

void ViewCommandsTest::jumpDialogTakesSignedIntegersOnly()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(int, line);
    QStringList messages;
    DialogMessageHook saved =
        SetDialogMessageHook([&](QWidget*, const QString& text) { messages.append(text); });
    CJumpDlg dialog(5, nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Jump"));
    QCOMPARE(dialog.LineEdit()->text(), QStringLiteral("5"));
    dialog.LineEdit()->setText(typed);
    dialog.accept();
    SetDialogMessageHook(saved);
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    QCOMPARE(messages,
             accepted ? QStringList() : QStringList{QStringLiteral("Please enter an integer.")});
    if (accepted) {
        QCOMPARE(dialog.Line(), line);
    }
}

void ViewCommandsTest::jumpCommandStartsAtTheCaretLine()
{
    AppFixture fixture;
    CPlixView* view = fixture.Frame()->ActiveView();
    view->setPlainText(QStringLiteral("a\nb\nc\nd\ne\n"));
    view->GoToLine(4);
    QString offered;
    WhenShown<CJumpDlg>([&](CJumpDlg* dialog) {
        offered = dialog->LineEdit()->text();
        dialog->LineEdit()->setText(QStringLiteral("2"));
        dialog->accept();
    });
    fixture.Frame()->OnCommand(Cmd::Jump);
    QCOMPARE(offered, QStringLiteral("4"));
    QCOMPARE(view->CaretLine(), 2);
    QCOMPARE(view->textCursor().position(), 2);
}

void ViewCommandsTest::tagJumpOpensTheFileAtTheHitsLine()
{
    AppFixture fixture;
    QByteArray corpus;
    for (int i = 1; i <= 130; ++i) {
        corpus += i == 120 ? QByteArray("ships in the harbour at dawn\n")
                           : "line " + QByteArray::number(i) + "\n";
    }
    const QString path = fixture.AddCorpusFile(QStringLiteral("a.txt"), corpus);
    fixture.app->Corpus().SetOutputType(kOutputTagged);
    fixture.AnswerKeyword("harbour");
    QVERIFY(fixture.app->RunAnalysis(AnalysisCommand::Concordance).completed);
    CPlixView* result = fixture.Frame()->ActiveView();
    int hitLine = -1;
    for (int i = 0; i < result->document()->blockCount(); ++i) {
        if (test::LineText(result, i).contains(QStringLiteral("(120):"))) {
            hitLine = i;
        }
    }
    QVERIFY(hitLine >= 0);
    QVERIFY(test::LineText(result, hitLine).startsWith(path + QStringLiteral("(120):")));
    result->GoToLine(hitLine + 1);
    // Anywhere on the line will do.
    result->moveCursor(QTextCursor::EndOfBlock);
    fixture.Frame()->OnCommand(Cmd::TagJump);
    CPlixView* opened = fixture.Frame()->ActiveView();
    QVERIFY(opened != result);
    QCOMPARE(opened->GetDocument()->GetPathName(), QFileInfo(path).absoluteFilePath());
    QCOMPARE(opened->CaretLine(), 120);
    QCOMPARE(opened->textCursor().positionInBlock(), 0);
    QCOMPARE(opened->CaretLineText(), QStringLiteral("ships in the harbour at dawn"));
}

void ViewCommandsTest::tagJumpActivatesAnOpenFile()
{
    AppFixture fixture;
    const QString path = fixture.WriteFile(QStringLiteral("b.txt"), "one\ntwo\nthree\nfour\n");
    CPlixDoc* open = fixture.app->OpenDocument(path);
    CPlixView* result = fixture.app->NewDocument()->FirstView();
    result->setPlainText(path + QStringLiteral("(3): two three four"));
    const int windows = WindowCount(fixture);
    fixture.Frame()->OnCommand(Cmd::TagJump);
    QCOMPARE(WindowCount(fixture), windows);
    QCOMPARE(fixture.Frame()->ActiveView(), open->FirstView());
    QCOMPARE(open->FirstView()->CaretLine(), 3);
}

void ViewCommandsTest::tagJumpWithoutAReferenceDoesNothing_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("a Text reference line") << "(120) ";
    QTest::newRow("no \"):\"") << "a.txt(120) the text";
    QTest::newRow("no number") << "a.txt(x):the text";
    QTest::newRow("an empty line") << "";
}

void ViewCommandsTest::tagJumpWithoutAReferenceDoesNothing()
{
    QFETCH(QString, line);
    AppFixture fixture;
    CPlixView* view = fixture.Frame()->ActiveView();
    view->setPlainText(line + QStringLiteral("\nnext line"));
    view->moveCursor(QTextCursor::Start);
    test::MessageBoxCloser boxes;
    fixture.Frame()->OnCommand(Cmd::TagJump);
    QCOMPARE(WindowCount(fixture), 1);
    QCOMPARE(fixture.Frame()->ActiveView(), view);
    QCOMPARE(view->textCursor().position(), 0);
    QCOMPARE(boxes.texts, QStringList());
}

void ViewCommandsTest::findNext_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<bool>("backward");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("found");  // start of the selection found, -1 for none
    // 0         1         2         3
    // 0123456789012345678901234567890123
    // The cat sat. the CATALOG\nthe end
    QTest::newRow("any case") << "the" << false << false << false << 1 << 13;
    QTest::newRow("matching case") << "The" << true << false << false << 1 << 0;
    QTest::newRow("wraps round the end") << "cat" << true << false << false << 10 << 4;
    QTest::newRow("part of a word") << "cat" << false << false << false << 8 << 17;
    QTest::newRow("whole words only") << "cat" << false << true << false << 8 << 4;
    QTest::newRow("upwards") << "the" << false << false << true << 20 << 13;
    QTest::newRow("upwards, wrapping") << "the" << false << false << true << 0 << 25;
    QTest::newRow("over the line end") << "end" << false << true << false << 0 << 29;
    QTest::newRow("not there") << "dog" << false << false << false << 0 << -1;
}

void ViewCommandsTest::findNext()
{
    QFETCH(QString, what);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(bool, backward);
    QFETCH(int, from);
    QFETCH(int, found);
    AppFixture fixture;
    CPlixView* view = fixture.Frame()->ActiveView();
    view->setPlainText(QStringLiteral("The cat sat. the CATALOG\nthe end"));
    QTextCursor cursor = view->textCursor();
    cursor.setPosition(from);
    view->setTextCursor(cursor);
    FindOptions options;
    options.what = what;
    options.matchCase = matchCase;
    options.wholeWord = wholeWord;
    options.backward = backward;
    QCOMPARE(FindNextIn(view, options), found >= 0);
    if (found >= 0) {
        QCOMPARE(view->textCursor().selectionStart(), found);
        QCOMPARE(view->textCursor().selectedText().toLower(), what.toLower());
    } else {
        QCOMPARE(view->textCursor().position(), from);
    }
}

void ViewCommandsTest::replaceAllIsOneUndoStep()
{
    AppFixture fixture;
    CPlixView* view = fixture.Frame()->ActiveView();
    const QString text = QStringLiteral("a cat, a Cat\nand a catalog");
    view->setPlainText(text);
    FindOptions options;
    options.what = QStringLiteral("cat");
    // A replacement that holds the text searched for is not searched again.
    options.with = QStringLiteral("cat cat");
    options.wholeWord = true;
    QCOMPARE(ReplaceAllIn(view, options), 2);
    QCOMPARE(view->toPlainText(), QStringLiteral("a cat cat, a cat cat\nand a catalog"));
    view->undo();
    QCOMPARE(view->toPlainText(), text);
}

void ViewCommandsTest::findDialogAndF3()
{
    AppFixture fixture;
    CPlixView* view = fixture.Frame()->ActiveView();
    view->setPlainText(QStringLiteral("sea one\nsea two\nsea three"));
    view->moveCursor(QTextCursor::Start);
    // F3 with nothing searched yet opens the dialog.
    fixture.Frame()->OnCommand(Cmd::FindNext);
    CFindReplaceDlg* dialog = fixture.Frame()->FindDialog();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
    QVERIFY(!dialog->FindNextButton()->isEnabled());
    dialog->WhatEdit()->setText(QStringLiteral("sea"));
    dialog->FindNextButton()->click();
    QCOMPARE(view->CaretLine(), 1);
    QCOMPARE(view->textCursor().selectedText(), QStringLiteral("sea"));
    fixture.Frame()->OnCommand(Cmd::FindNext);
    QCOMPARE(view->CaretLine(), 2);
    for (QAction* f3 : fixture.Frame()->Accelerators(Cmd::FindNext)) {
        f3->trigger();
    }
    QCOMPARE(view->CaretLine(), 3);
    dialog->WhatEdit()->setText(QStringLiteral("whale"));
    dialog->FindNextButton()->click();
    QCOMPARE(view->CaretLine(), 3);
    QVERIFY(fixture.Frame()->statusBar()->currentMessage().contains(QStringLiteral("whale")));
}

void ViewCommandsTest::replaceDialogReplacesOneThenAll()
{
    AppFixture fixture;
    CPlixView* view = fixture.Frame()->ActiveView();
    view->setPlainText(QStringLiteral("Sea sea SEA sea"));
    view->moveCursor(QTextCursor::Start);
    fixture.Frame()->OnCommand(Cmd::Replace);
    CFindReplaceDlg* dialog = fixture.Frame()->ReplaceDialog();
    QVERIFY(dialog != nullptr && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Replace"));
    dialog->WhatEdit()->setText(QStringLiteral("sea"));
    dialog->WithEdit()->setText(QStringLiteral("lake"));
    dialog->MatchCaseCheck()->setChecked(true);
    // The first press finds, the second replaces what was found.
    dialog->ReplaceButton()->click();
    QCOMPARE(view->toPlainText(), QStringLiteral("Sea sea SEA sea"));
    QCOMPARE(view->textCursor().selectionStart(), 4);
    dialog->ReplaceButton()->click();
    QCOMPARE(view->toPlainText(), QStringLiteral("Sea lake SEA sea"));
    dialog->MatchCaseCheck()->setChecked(false);
    dialog->ReplaceAllButton()->click();
    QCOMPARE(view->toPlainText(), QStringLiteral("lake lake lake lake"));
}

void ViewCommandsTest::newWindowShowsTheSameDocument()
{
    AppFixture fixture;
    CPlixView* first = fixture.Frame()->ActiveView();
    first->insertPlainText(QStringLiteral("shared text"));
    fixture.Frame()->OnCommand(Cmd::WordWrap);
    fixture.Frame()->OnCommand(Cmd::NewWindow);
    CPlixView* second = fixture.Frame()->ActiveView();
    QVERIFY(second != first);
    QCOMPARE(second->GetDocument(), first->GetDocument());
    QCOMPARE(ShownTitle(first->parentWidget()), QStringLiteral("PLIX1:1*"));
    QCOMPARE(ShownTitle(second->parentWidget()), QStringLiteral("PLIX1:2*"));
    // The wrapping belongs to the text, which both windows show.
    QCOMPARE(second->GetWordWrap(), 1);
    second->moveCursor(QTextCursor::End);
    second->insertPlainText(QStringLiteral(", typed in the second"));
    QCOMPARE(first->toPlainText(), QStringLiteral("shared text, typed in the second"));
    fixture.Frame()->OnCommand(Cmd::WordWrap);
    QCOMPARE(first->GetWordWrap(), 0);
    QCOMPARE(first->lineWrapMode(), QPlainTextEdit::NoWrap);
    // Closing one of the two windows of a modified document asks nothing.
    test::QuestionAnswerer answerer(QMessageBox::Cancel);
    second->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(answerer.questions, QStringList());
    QCOMPARE(WindowCount(fixture), 1);
    QCOMPARE(ShownTitle(first->parentWidget()), QStringLiteral("PLIX1*"));
}

void ViewCommandsTest::wordListCountsLineUp_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("word list") << int(AnalysisCommand::Wordlist);
    QTest::newRow("backward list") << int(AnalysisCommand::BackwardList);
    QTest::newRow("descending") << int(AnalysisCommand::DescendingWordlist);
}

void ViewCommandsTest::wordListCountsLineUp()
{
    QFETCH(int, command);
    AppFixture fixture;
    // Words of 1 to 24 letters, counted up to 120 times.
    QByteArray corpus;
    for (int length = 1; length <= CPlixView::kListWordColumns; ++length) {
        const QByteArray word(length, static_cast<char>('a' + length % 26));
        corpus += (word + ' ').repeated(length * 5) + '\n';
    }
    fixture.AddCorpusFile(QStringLiteral("words.txt"), corpus);
    QVERIFY(fixture.app->RunAnalysis(static_cast<AnalysisCommand>(command)).completed);
    CPlixView* view = fixture.Frame()->ActiveView();
    // Where each count starts on the screen.
    QList<int> columns;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const int tab = text.lastIndexOf(u'\t');
        if (tab <= 0 || text.startsWith(QStringLiteral("Total"))) {
            continue;
        }
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + tab + 1);
        columns.append(view->cursorRect(cursor).left());
    }
    QCOMPARE(columns.size(), CPlixView::kListWordColumns);
    for (int left : columns) {
        QCOMPARE(left, columns.front());
    }
}

QTEST_MAIN(ViewCommandsTest)
#include "view_commands_test.moc"
