// The engine hands a result window bytes of the locale's code page with the
// keyword ranges as byte offsets; the view shows UTF-16 text in which "\r\n"
// is one line break. These check that the red ranges land on the keyword, in
// single-byte and multibyte locales alike.
#include <QtTest>

#include <clocale>

#include "app/app_fixture.h"
#include "app/result_text.h"

using namespace plix;

namespace {

// Sets a locale for the scope of a test case, back to "C" afterwards.
class LocaleScope
{
public:
    explicit LocaleScope(const char* name) : ok_(std::setlocale(LC_ALL, name) != nullptr) {}
    ~LocaleScope() { std::setlocale(LC_ALL, "C"); }
    bool ok() const { return ok_; }

private:
    bool ok_;
};

// The texts of the ranges, as the view would colour them.
QStringList RangeTexts(const DecodedBlock& block)
{
    QStringList texts;
    for (const TextRange& range : block.ranges) {
        texts.append(block.text.mid(range.position, range.length));
    }
    return texts;
}

}  // namespace

class ResultTextTest : public QObject
{
    Q_OBJECT

private slots:
    void rangesLandOnTheKeyword_data();
    void rangesLandOnTheKeyword();
    void lineEndsBecomeOneBreak();
    void viewColoursTheKeywordInUtf8();
    void laterBlocksAreColouredAtTheirOwnOffsets();
    void textAfterAKeywordIsNotRed();
    void appendingAddsNothingToUndo();
};

void ResultTextTest::rangesLandOnTheKeyword_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("coloured");
    QTest::addColumn<int>("position");

    // "é" is two bytes in UTF-8 and one character in the view.
    QTest::newRow("utf-8, é before")
        << QByteArray("en_US.UTF-8") << QByteArray("(1) \r\ncaf\xc3\xa9 the boat\r\n") << 12 << 3
        << QStringLiteral("the") << 10;
    QTest::newRow("utf-8, é in the keyword")
        << QByteArray("en_US.UTF-8") << QByteArray("a caf\xc3\xa9 b\r\n") << 2 << 5
        << QString::fromUtf8("caf\xc3\xa9") << 2;
    // Three bytes of a CJK character, still one character.
    QTest::newRow("utf-8, CJK before")
        << QByteArray("en_US.UTF-8") << QByteArray("\xe6\xb8\xaf the\r\n") << 4 << 3
        << QStringLiteral("the") << 2;
    // A four-byte character becomes a surrogate pair: two positions.
    QTest::newRow("utf-8, outside the BMP")
        << QByteArray("en_US.UTF-8") << QByteArray("\xf0\x9f\x90\x9f the\r\n") << 5 << 3
        << QStringLiteral("the") << 3;
    QTest::newRow("EUC-JP, double-byte before")
        << QByteArray("ja_JP.eucJP") << QByteArray("\xa4\xa2\xa4\xa4 the\r\n") << 5 << 3
        << QStringLiteral("the") << 3;
    QTest::newRow("GB18030, four-byte before")
        << QByteArray("zh_CN.GB18030") << QByteArray("\x95\x32\x82\x36 the\r\n") << 5 << 3
        << QStringLiteral("the") << 3;
    // Latin-1: one byte, one character.
    QTest::newRow("ISO-8859-15, é before")
        << QByteArray("en_US.ISO-8859-15") << QByteArray("caf\xe9 the\r\n") << 5 << 3
        << QStringLiteral("the") << 5;
    // A byte that does not decode stands for one character of its own.
    QTest::newRow("utf-8, stray byte before")
        << QByteArray("en_US.UTF-8") << QByteArray("\xff the\r\n") << 2 << 3
        << QStringLiteral("the") << 2;
    QTest::newRow("C locale, high byte before")
        << QByteArray("C") << QByteArray("\xe9\xe9 the\r\n") << 3 << 3 << QStringLiteral("the") << 3;
}

void ResultTextTest::rangesLandOnTheKeyword()
{
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, bytes);
    QFETCH(int, offset);
    QFETCH(int, length);
    QFETCH(QString, coloured);
    QFETCH(int, position);
    LocaleScope scope(locale.constData());
    if (!scope.ok()) {
        QSKIP("locale not installed");
    }
    DecodedBlock block = DecodeResultBlock(std::string_view(bytes.constData(), bytes.size()),
                                           {{static_cast<size_t>(offset), static_cast<size_t>(length)}});
    QCOMPARE(block.ranges.size(), size_t{1});
    QCOMPARE(block.ranges[0].position, position);
    QCOMPARE(RangeTexts(block), QStringList{coloured});
}

void ResultTextTest::lineEndsBecomeOneBreak()
{
    // Three keywords on three lines: each "\r\n" before them counts once.
    const std::string bytes = "ab the\r\nthe\r\n\r\nx the y\r\n";
    DecodedBlock block = DecodeResultBlock(bytes, {{3, 3}, {8, 3}, {17, 3}});
    QCOMPARE(block.text, QStringLiteral("ab the\nthe\n\nx the y\n"));
    QCOMPARE(RangeTexts(block), (QStringList{"the", "the", "the"}));
    // A bare "\n" (the closing line of an XML result) is one break as well.
    DecodedBlock bare = DecodeResultBlock("</plix>\nthe\r\n", {{8, 3}});
    QCOMPARE(RangeTexts(bare), QStringList{"the"});
}

void ResultTextTest::viewColoursTheKeywordInUtf8()
{
    LocaleScope scope("en_US.UTF-8");
    if (!scope.ok()) {
        QSKIP("en_US.UTF-8 not installed");
    }
    test::AppFixture fixture;
    CPlixDoc* doc = fixture.app->NewDocument();
    CPlixView* view = doc->FirstView();
    const std::string bytes = "Keyword: the\r\n\r\n\xc3\xa9t\xc3\xa9 the sea\r\n";
    view->AppendResult(bytes, {{22, 3}});
    QCOMPARE(test::LineText(view, 2), QString::fromUtf8("\xc3\xa9t\xc3\xa9 the sea"));
    const int lineStart = view->document()->findBlockByNumber(2).position();
    QVERIFY(!test::IsRed(view, lineStart + 3));
    for (int i = 4; i < 7; ++i) {
        QVERIFY2(test::IsRed(view, lineStart + i), qPrintable(QString::number(i)));
    }
    QVERIFY(!test::IsRed(view, lineStart + 7));
}

void ResultTextTest::laterBlocksAreColouredAtTheirOwnOffsets()
{
    test::AppFixture fixture;
    CPlixView* view = fixture.app->NewDocument()->FirstView();
    view->AppendResult("first the\r\n", {{6, 3}});
    view->AppendResult("second the\r\n", {{7, 3}});
    const int second = view->document()->findBlockByNumber(1).position();
    QVERIFY(test::IsRed(view, 6));
    QVERIFY(test::IsRed(view, second + 7));
    QVERIFY(!test::IsRed(view, second + 6));
    QCOMPARE(view->document()->blockCount(), 3);
}

void ResultTextTest::textAfterAKeywordIsNotRed()
{
    // A block that ends in a keyword must not make the next block red.
    test::AppFixture fixture;
    CPlixView* view = fixture.app->NewDocument()->FirstView();
    view->AppendResult("the", {{0, 3}});
    view->AppendResult(" rest\r\n", {});
    QVERIFY(test::IsRed(view, 2));
    QVERIFY(!test::IsRed(view, 3));
    QVERIFY(!test::IsRed(view, 5));
}

void ResultTextTest::appendingAddsNothingToUndo()
{
    test::AppFixture fixture;
    CPlixView* view = fixture.app->NewDocument()->FirstView();
    view->AppendResult("a result\r\n", {});
    QVERIFY(!view->document()->isUndoAvailable());
    // The window is an ordinary editor afterwards.
    view->moveCursor(QTextCursor::End);
    view->insertPlainText(QStringLiteral("typed"));
    QVERIFY(view->document()->isUndoAvailable());
}

QTEST_MAIN(ResultTextTest)
#include "result_text_test.moc"
