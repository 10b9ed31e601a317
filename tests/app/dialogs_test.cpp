// The keyword, list-option and format dialogs: what they start with, which
// controls their switches enable, the messages that refuse or correct a value,
// and what OK and Cancel leave in the settings record.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

#include "settings/corpus.h"
#include "settings/ui/dialog_message.h"
#include "settings/ui/format_dlg.h"
#include "settings/ui/keyword_dlg.h"
#include "settings/ui/list_option_dlg.h"
#include "settings/ui/number_edit.h"

using namespace plix;

namespace {

// Collects the dialogs' messages instead of showing boxes.
class MessageCatcher
{
public:
    MessageCatcher()
        : previous_(SetDialogMessageHook(
              [this](QWidget*, const QString& text) { messages.append(text); }))
    {
    }
    ~MessageCatcher() { SetDialogMessageHook(previous_); }
    MessageCatcher(const MessageCatcher&) = delete;
    MessageCatcher& operator=(const MessageCatcher&) = delete;

    QStringList messages;

private:
    DialogMessageHook previous_;
};

// The user moves the focus from `field` to another control of the dialog.
void Leave(QWidget* field)
{
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &event);
}

// Runs `act` on the modal dialog of type T once it is up.
template <typename T>
void WhenShown(std::function<void(T*)> act)
{
    QTimer::singleShot(0, [act]() {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        act(dialog);
    });
}

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items.append(box->itemText(i));
    }
    return items;
}

}  // namespace

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void keywordDialogStartsEmptyWithTheHistory();
    void contextWordEnablesItsControls();
    void spanFieldsRefuseWhatIsNotASpan_data();
    void spanFieldsRefuseWhatIsNotASpan();
    void spansWithoutContextWordAreNotChecked();
    void keywordRequestCarriesTheDialogsValues();
    void typedKeywordIsNotCompletedFromTheHistory();
    void askKeywordRunsModally();

    void listOptionFieldsStartEmpty();
    void listOptionStoresAndPushesTheKeyword_data();
    void listOptionStoresAndPushesTheKeyword();
    void listOptionCancelChangesNothing();

    void formatDialogStartsFromTheRecord();
    void leavingPositionKeepsItBelowTheLength_data();
    void leavingPositionKeepsItBelowTheLength();
    void lengthChangedAfterPositionIsStoredAsTyped();
    void otherEnablesTheMarks();
    void otherMarksBecomeTheQuotes();
    void formatFieldsRefuseOutOfRange_data();
    void formatFieldsRefuseOutOfRange();
    void formatCancelChangesNothing();
};

void DialogsTest::keywordDialogStartsEmptyWithTheHistory()
{
    CKeywordDlg dialog({"newest", "older", "oldest"});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Keyword"));
    QCOMPARE(Items(dialog.KeywordBox()), (QStringList{"newest", "older", "oldest"}));
    QVERIFY(dialog.KeywordBox()->isEditable());
    QCOMPARE(dialog.KeywordBox()->currentText(), QString());
    for (QCheckBox* check :
         {dialog.LeftCheck(), dialog.RightCheck(), dialog.RegexCheck(), dialog.ContextCheck()}) {
        QVERIFY(!check->isChecked());
    }
    QCOMPARE(dialog.LeftCheck()->text(), QStringLiteral("&Left"));
    QCOMPARE(dialog.RightCheck()->text(), QStringLiteral("&Right"));
    QCOMPARE(dialog.RegexCheck()->text(), QStringLiteral("Regular E&xpression"));
    QCOMPARE(dialog.ContextCheck()->text(), QStringLiteral("&Context word"));
    QCOMPARE(dialog.ContextLeftSpan()->text(), QStringLiteral("0"));
    QCOMPARE(dialog.ContextRightSpan()->text(), QStringLiteral("0"));
    QCOMPARE(dialog.ContextLeftSpan()->Range().high, 10);
}

void DialogsTest::contextWordEnablesItsControls()
{
    CKeywordDlg dialog({});
    dialog.show();
    const QList<QWidget*> controls = {dialog.ContextWordEdit(), dialog.ContextLeftLabel(),
                                      dialog.ContextLeftSpan(), dialog.ContextRightLabel(),
                                      dialog.ContextRightSpan()};
    QCOMPARE(dialog.ContextLeftLabel()->text(), QStringLiteral("Left"));
    QCOMPARE(dialog.ContextRightLabel()->text(), QStringLiteral("Right"));
    for (bool expected : {false, true, false, true}) {
        for (QWidget* control : controls) {
            QCOMPARE(control->isEnabled(), expected);
        }
        dialog.ContextCheck()->click();
    }
    // Neither the match switches nor the regular expression take part.
    dialog.RegexCheck()->click();
    QVERIFY(!dialog.ContextWordEdit()->isEnabled());
}

void DialogsTest::spanFieldsRefuseWhatIsNotASpan_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("message");

    const QString range = QStringLiteral("Please enter an integer between 0 and 10.");
    const QString number = QStringLiteral("Please enter a positive integer.");
    QTest::newRow("both ends") << "0"
                               << "10" << QString();
    QTest::newRow("left 11") << "11"
                             << "0" << range;
    QTest::newRow("right 11") << "0"
                              << "11" << range;
    QTest::newRow("huge") << "99999999999"
                          << "0" << range;
    QTest::newRow("letters") << "abc"
                             << "0" << number;
    QTest::newRow("negative") << "0"
                              << "-1" << number;
    QTest::newRow("empty") << ""
                           << "3" << number;
}

void DialogsTest::spanFieldsRefuseWhatIsNotASpan()
{
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(QString, message);
    MessageCatcher catcher;
    CKeywordDlg dialog({});
    dialog.show();
    dialog.KeywordBox()->setEditText(QStringLiteral("cat"));
    dialog.ContextCheck()->click();
    dialog.ContextWordEdit()->setText(QStringLiteral("dog"));
    dialog.ContextLeftSpan()->SetText(left);
    dialog.ContextRightSpan()->SetText(right);
    dialog.accept();
    if (message.isEmpty()) {
        QVERIFY(catcher.messages.isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Request().contextLeft, left.toInt());
        QCOMPARE(dialog.Request().contextRight, right.toInt());
    } else {
        QCOMPARE(catcher.messages, QStringList{message});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
}

void DialogsTest::spansWithoutContextWordAreNotChecked()
{
    MessageCatcher catcher;
    CKeywordDlg dialog({});
    dialog.show();
    dialog.ContextCheck()->click();
    dialog.ContextLeftSpan()->SetText(QStringLiteral("12"));
    dialog.ContextCheck()->click();
    dialog.accept();
    QVERIFY(catcher.messages.isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.Request().useContextWord);
    QCOMPARE(dialog.Request().contextLeft, 0);
}

void DialogsTest::keywordRequestCarriesTheDialogsValues()
{
    // A history entry with a byte of the upper half comes back byte for byte.
    const std::string accented = "caf\xe9";
    CKeywordDlg dialog({accented, "other"});
    dialog.show();
    dialog.KeywordBox()->setCurrentIndex(0);
    dialog.RightCheck()->click();
    dialog.RegexCheck()->click();
    dialog.ContextCheck()->click();
    dialog.ContextWordEdit()->setText(QStringLiteral("Dog"));
    dialog.ContextLeftSpan()->SetText(QStringLiteral("3"));
    dialog.ContextRightSpan()->stepBy(4);
    dialog.accept();
    const KeywordRequest request = dialog.Request();
    QCOMPARE(request.keyword, accented);
    QVERIFY(!request.matchLeft);
    QVERIFY(request.matchRight);
    QVERIFY(request.regex);
    QVERIFY(request.useContextWord);
    QCOMPARE(request.contextWord, std::string("Dog"));
    QCOMPARE(request.contextLeft, 3);
    QCOMPARE(request.contextRight, 4);

    // The arrows stay within the range.
    dialog.ContextRightSpan()->stepBy(100);
    QCOMPARE(dialog.ContextRightSpan()->text(), QStringLiteral("10"));
    dialog.ContextRightSpan()->stepBy(-100);
    QCOMPARE(dialog.ContextRightSpan()->text(), QStringLiteral("0"));
}

void DialogsTest::typedKeywordIsNotCompletedFromTheHistory()
{
    const std::vector<std::string> history = {"Cat", "there"};
    CKeywordDlg keyword(history);
    CListOptionDlg list(history);
    for (QDialog* dialog : {static_cast<QDialog*>(&keyword), static_cast<QDialog*>(&list)}) {
        dialog->show();
        QComboBox* box = dialog == &keyword ? keyword.KeywordBox() : list.KeywordBox();
        for (const char* typed : {"ca", "the"}) {
            box->clearEditText();
            QTest::keyClicks(box->lineEdit(), QString::fromLatin1(typed));
            QCOMPARE(box->currentText(), QString::fromLatin1(typed));
        }
        dialog->reject();
    }
}

void DialogsTest::askKeywordRunsModally()
{
    CCorpus corpus;
    corpus.keywordHistory = {"before"};
    WhenShown<CKeywordDlg>([](CKeywordDlg* dialog) {
        QCOMPARE(dialog->KeywordBox()->count(), 1);
        dialog->KeywordBox()->setEditText(QStringLiteral("Cat"));
        dialog->LeftCheck()->click();
        dialog->accept();
    });
    std::optional<KeywordRequest> request = AskKeyword(corpus, nullptr);
    QVERIFY(request.has_value());
    QCOMPARE(request->keyword, std::string("Cat"));
    QVERIFY(request->matchLeft);
    // The engine pushes the keyword when it takes it; the dialog does not.
    QCOMPARE(corpus.keywordHistory, std::vector<std::string>{"before"});

    WhenShown<CKeywordDlg>([](CKeywordDlg* dialog) {
        dialog->KeywordBox()->setEditText(QStringLiteral("Cat"));
        dialog->reject();
    });
    QVERIFY(!AskKeyword(corpus, nullptr).has_value());
}

void DialogsTest::listOptionFieldsStartEmpty()
{
    CCorpus corpus;
    corpus.keyword = "stored";
    corpus.matchLeft = 1;
    corpus.keywordRegex = 1;
    corpus.keywordHistory = {"stored", "older"};
    WhenShown<CListOptionDlg>([](CListOptionDlg* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Keyword"));
        QCOMPARE(Items(dialog->KeywordBox()), (QStringList{"stored", "older"}));
        QCOMPARE(dialog->KeywordBox()->currentText(), QString());
        QVERIFY(!dialog->LeftCheck()->isChecked());
        QVERIFY(!dialog->RightCheck()->isChecked());
        QVERIFY(!dialog->RegexCheck()->isChecked());
        dialog->reject();
    });
    ListOptionDialog(corpus, nullptr);
}

void DialogsTest::listOptionStoresAndPushesTheKeyword_data()
{
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("left");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<QStringList>("expectedHistory");

    QTest::newRow("empty keyword is pushed")
        << QStringList{"a"} << "" << false << false << QStringList{"", "a"};
    QTest::newRow("empty front stays single")
        << QStringList{"", "a"} << "" << false << false << QStringList{"", "a"};
    QTest::newRow("same as front")
        << QStringList{"Cat"} << "Cat" << true << false << QStringList{"Cat"};
    QTest::newRow("new keyword") << QStringList{"a"} << "^th" << false << true
                                 << QStringList{"^th", "a"};
}

void DialogsTest::listOptionStoresAndPushesTheKeyword()
{
    QFETCH(QStringList, history);
    QFETCH(QString, typed);
    QFETCH(bool, left);
    QFETCH(bool, regex);
    QFETCH(QStringList, expectedHistory);

    CCorpus corpus;
    corpus.keyword = "previous";
    for (const QString& entry : history) {
        corpus.keywordHistory.push_back(entry.toStdString());
    }
    WhenShown<CListOptionDlg>([&](CListOptionDlg* dialog) {
        dialog->KeywordBox()->setEditText(typed);
        if (left) {
            dialog->LeftCheck()->click();
        }
        if (regex) {
            dialog->RegexCheck()->click();
        }
        dialog->accept();
    });
    ListOptionDialog(corpus, nullptr);
    QCOMPARE(QString::fromStdString(corpus.keyword), typed);
    QCOMPARE(corpus.keywordLength, int(typed.size()));
    QCOMPARE(corpus.matchLeft, left ? 1 : 0);
    QCOMPARE(corpus.matchRight, 0);
    QCOMPARE(corpus.keywordRegex, regex ? 1 : 0);
    QStringList stored;
    for (const std::string& entry : corpus.keywordHistory) {
        stored.append(QString::fromStdString(entry));
    }
    QCOMPARE(stored, expectedHistory);
}

void DialogsTest::listOptionCancelChangesNothing()
{
    CCorpus corpus;
    corpus.keyword = "kept";
    corpus.keywordHistory = {"kept"};
    WhenShown<CListOptionDlg>([](CListOptionDlg* dialog) {
        dialog->KeywordBox()->setEditText(QStringLiteral("other"));
        dialog->LeftCheck()->click();
        dialog->reject();
    });
    ListOptionDialog(corpus, nullptr);
    QCOMPARE(corpus.keyword, std::string("kept"));
    QCOMPARE(corpus.matchLeft, 0);
    QCOMPARE(corpus.keywordHistory, std::vector<std::string>{"kept"});
}

void DialogsTest::formatDialogStartsFromTheRecord()
{
    CCorpus corpus;
    corpus.SetMarks("<", ">");
    corpus.SetOutputType(kOutputTagged);
    corpus.SetLineFormat(80, 40);
    corpus.sortColumn = 3;
    corpus.suppressHeaders = 1;
    CFormatDlg dialog(corpus);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("PLIX Format"));
    const char* captions[] = {"&Text", "&Comma Separated", "Ta&b Separated", "Ta&gged", "&Xml",
                              "&Other"};
    for (int code = 0; code < kOutputTypeCount; ++code) {
        QCOMPARE(dialog.TypeButton(code)->text(), QString::fromLatin1(captions[code]));
        QCOMPARE(dialog.TypeButton(code)->isChecked(), code == kOutputTagged);
    }
    QCOMPARE(dialog.StartMarkEdit()->text(), QStringLiteral("<"));
    QCOMPARE(dialog.EndMarkEdit()->text(), QStringLiteral(">"));
    QCOMPARE(dialog.LengthEdit()->text(), QStringLiteral("80"));
    QCOMPARE(dialog.PositionEdit()->text(), QStringLiteral("40"));
    QCOMPARE(dialog.SortColumnEdit()->text(), QStringLiteral("3"));
    QVERIFY(dialog.SuppressHeadersCheck()->isChecked());
    QCOMPARE(dialog.SuppressHeadersCheck()->text(), QStringLiteral("&Suppress Headers"));
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labels.append(label->text());
    }
    for (const char* range : {"20-500", "10-250", "0-5"}) {
        QVERIFY2(labels.contains(QString::fromLatin1(range)), range);
    }
}

void DialogsTest::leavingPositionKeepsItBelowTheLength_data()
{
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("positionAfter");

    const QString below = QStringLiteral("Position should be less than the length");
    QTest::newRow("100/100") << "100"
                             << "100" << below << "50";
    QTest::newRow("25/30") << "25"
                           << "30" << below << "12";
    QTest::newRow("21/20") << "21"
                           << "20" << QString() << "20";
    QTest::newRow("100/49") << "100"
                            << "49" << QString() << "49";
    QTest::newRow("position not a number")
        << "100"
        << "x" << QStringLiteral("Please enter a positive integer.") << "x";
    QTest::newRow("length out of range")
        << "600"
        << "50" << QStringLiteral("Please enter an integer between 20 and 500.") << "50";
}

void DialogsTest::leavingPositionKeepsItBelowTheLength()
{
    QFETCH(QString, length);
    QFETCH(QString, position);
    QFETCH(QString, message);
    QFETCH(QString, positionAfter);
    MessageCatcher catcher;
    CCorpus corpus;
    CFormatDlg dialog(corpus);
    dialog.show();
    dialog.LengthEdit()->SetText(length);
    dialog.PositionEdit()->SetText(position);
    Leave(dialog.PositionEdit());
    QCOMPARE(catcher.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(dialog.PositionEdit()->text(), positionAfter);

    // Leaving the length field checks nothing.
    catcher.messages.clear();
    Leave(dialog.LengthEdit());
    QVERIFY(catcher.messages.isEmpty());
}

void DialogsTest::lengthChangedAfterPositionIsStoredAsTyped()
{
    MessageCatcher catcher;
    CCorpus corpus;
    corpus.SetLineFormat(100, 50);
    CFormatDlg dialog(corpus);
    dialog.show();
    dialog.LengthEdit()->SetText(QStringLiteral("30"));
    Leave(dialog.LengthEdit());
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(catcher.messages.isEmpty());
    dialog.StoreInto(corpus);
    QCOMPARE(corpus.GetLineLength(), 30);
    QCOMPARE(corpus.GetKeywordPosition(), 50);
}

void DialogsTest::otherEnablesTheMarks()
{
    for (int initial : {int(kOutputText), int(kOutputOther)}) {
        CCorpus corpus;
        corpus.SetOutputType(initial);
        CFormatDlg dialog(corpus);
        dialog.show();
        const bool other = initial == kOutputOther;
        QCOMPARE(dialog.StartMarkEdit()->isEnabled(), other);
        QCOMPARE(dialog.EndMarkEdit()->isEnabled(), other);
        for (int code : {5, 2, 5, 0, 4, 5, 3, 1}) {
            dialog.TypeButton(code)->click();
            QCOMPARE(dialog.StartMarkEdit()->isEnabled(), code == kOutputOther);
            QCOMPARE(dialog.EndMarkEdit()->isEnabled(), code == kOutputOther);
        }
    }
}

void DialogsTest::otherMarksBecomeTheQuotes()
{
    CCorpus corpus;
    corpus.SetOutputType(kOutputText);
    WhenShown<CFormatDlg>([](CFormatDlg* dialog) {
        dialog->TypeButton(kOutputOther)->click();
        dialog->StartMarkEdit()->setText(QStringLiteral("["));
        dialog->EndMarkEdit()->setText(QStringLiteral("]"));
        dialog->SortColumnEdit()->SetText(QStringLiteral("4"));
        dialog->SuppressHeadersCheck()->click();
        dialog->accept();
    });
    FormatDialog(corpus, nullptr);
    QCOMPARE(corpus.GetOutputType(), int(kOutputOther));
    QCOMPARE(corpus.FormatField("value"), std::string("[value] "));
    QCOMPARE(corpus.GetSortColumn(), 4);
    QCOMPARE(corpus.GetSuppressHeaders(), 1);
}

void DialogsTest::formatFieldsRefuseOutOfRange_data()
{
    QTest::addColumn<int>("field");  // 0 length, 1 position, 2 sort column
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    QTest::newRow("length 19") << 0 << "19"
                               << "Please enter an integer between 20 and 500.";
    QTest::newRow("length 501") << 0 << "501"
                                << "Please enter an integer between 20 and 500.";
    QTest::newRow("length words") << 0 << "long"
                                  << "Please enter a positive integer.";
    QTest::newRow("position 9") << 1 << "9"
                                << "Please enter an integer between 10 and 250.";
    QTest::newRow("position 251") << 1 << "251"
                                  << "Please enter an integer between 10 and 250.";
    QTest::newRow("sort 6") << 2 << "6"
                            << "Please enter an integer between 0 and 5.";
    QTest::newRow("sort empty") << 2 << ""
                                << "Please enter a positive integer.";
    QTest::newRow("length 500") << 0 << "500"
                                << "";
    QTest::newRow("sort 0") << 2 << "0"
                            << "";
}

void DialogsTest::formatFieldsRefuseOutOfRange()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    MessageCatcher catcher;
    CCorpus corpus;
    CFormatDlg dialog(corpus);
    dialog.show();
    CSpinEdit* edits[] = {dialog.LengthEdit(), dialog.PositionEdit(), dialog.SortColumnEdit()};
    edits[field]->SetText(text);
    dialog.accept();
    if (message.isEmpty()) {
        QVERIFY(catcher.messages.isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    } else {
        QCOMPARE(catcher.messages, QStringList{message});
        QVERIFY(dialog.isVisible());
    }
}

void DialogsTest::formatCancelChangesNothing()
{
    CCorpus corpus;
    corpus.SetOutputType(kOutputComma);
    WhenShown<CFormatDlg>([](CFormatDlg* dialog) {
        dialog->TypeButton(kOutputOther)->click();
        dialog->StartMarkEdit()->setText(QStringLiteral("{"));
        dialog->LengthEdit()->SetText(QStringLiteral("300"));
        dialog->reject();
    });
    FormatDialog(corpus, nullptr);
    QCOMPARE(corpus.GetOutputType(), int(kOutputComma));
    QCOMPARE(corpus.GetStartMark(), std::string());
    QCOMPARE(corpus.GetLineLength(), 100);
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
