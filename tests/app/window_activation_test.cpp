// The window a run opens is the one the user sees when the run ends: in
// front, active and with the keyboard focus, also once the main window is
// activated again (as a window manager does when the progress dialog goes),
// whatever window was active before.
#include <QtTest>

#include "app/app_fixture.h"
#include "app/child_frame.h"

#include <QMdiArea>
#include <QMdiSubWindow>

using namespace plix;
using test::AppFixture;

namespace {

const QByteArray kHarbour =
    "The harbour wakes before the town.\n"
    "Boats slip out at five.\n"
    "Gulls follow the boats and the nets.\n";

QMdiSubWindow* Newest(QMdiArea* area)
{
    const QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::CreationOrder);
    return windows.isEmpty() ? nullptr : windows.last();
}

bool Activate(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

}  // namespace

class WindowActivationTest : public QObject
{
    Q_OBJECT

  private slots:
    void newResultIsInFrontWithTheFocus_data();
    void newResultIsInFrontWithTheFocus();
};

void WindowActivationTest::newResultIsInFrontWithTheFocus_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("earlierResult");
    QTest::newRow("word list over the first empty window") << int(Cmd::Wordlist) << false;
    QTest::newRow("concordance over an earlier result") << int(Cmd::Concordance) << true;
    QTest::newRow("index over an earlier result") << int(Cmd::Index) << true;
    QTest::newRow("sort of the earlier result") << int(Cmd::SortAlphabet) << true;
    QTest::newRow("quick PLIX of the earlier result") << int(Cmd::QuickPlix) << true;
    QTest::newRow("quick word list of the first window") << int(Cmd::QuickWordlist) << false;
}

void WindowActivationTest::newResultIsInFrontWithTheFocus()
{
    QFETCH(int, command);
    QFETCH(bool, earlierResult);
    AppFixture fixture;
    fixture.AddCorpusFile(QStringLiteral("harbour.txt"), kHarbour);
    fixture.AnswerKeyword("the");
    CMainFrame* frame = fixture.Frame();
    QMdiArea* area = frame->MdiArea();
    QVERIFY(Activate(frame));
    QMdiSubWindow* first = Newest(area);
    QVERIFY(first != nullptr);
    first->widget()->setFocus();
    if (earlierResult) {
        frame->OnCommand(Cmd::Wordlist);
        QTest::qWait(20);
    }
    QMdiSubWindow* before = Newest(area);
    QTRY_COMPARE(QApplication::focusWidget(), before->widget());

    frame->OnCommand(static_cast<Cmd>(command));

    QMdiSubWindow* made = Newest(area);
    QVERIFY(made != before);
    auto check = [&](const char* when) {
        QVERIFY2(area->activeSubWindow() == made, when);
        QVERIFY2(QApplication::focusWidget() == made->widget(), when);
        // In front of the others in the area.
        const QList<QMdiSubWindow*> stacking = area->subWindowList(QMdiArea::StackingOrder);
        QVERIFY2(stacking.last() == made, when);
    };
    // When the dialog has gone and the main window is active again.
    QTRY_VERIFY(frame->isActiveWindow());
    QTest::qWait(20);
    check("after the run");

    // Another window in between, then the main window again, as a window
    // manager hands the activation back.
    QWidget other;
    other.resize(200, 100);
    other.show();
    QVERIFY(Activate(&other));
    QVERIFY(Activate(frame));
    check("after the main window was activated again");
}

QTEST_MAIN(WindowActivationTest)
#include "window_activation_test.moc"
