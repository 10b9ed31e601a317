// The settings record through the per-user store the desktop program and
// plix-cli --saved use: a full round trip with awkward bytes, the numbered
// entries of a shrinking list gone from the file, and a damaged file.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

#include "settings/qt/qt_settings_store.h"
#include "settings/corpus.h"
#include "settings/persistence.h"

using namespace plix;

namespace {

QSettings UserFile()
{
    return QSettings(QStringLiteral("PLIX"), QStringLiteral("plix"));
}

CCorpus RecordWithFiles(int count)
{
    CCorpus c;
    for (int i = 1; i <= count; ++i) {
        c.AddInputFile("/corpus/" + std::to_string(i) + ".txt");
        c.AddOutputFile("/corpus/" + std::to_string(i) + ".plx");
    }
    return c;
}

void Save(const CCorpus& corpus)
{
    CQtSettingsStore store;
    SaveSettings(corpus, store);
    store.Sync();
}

CCorpus Load()
{
    CQtSettingsStore store;
    CCorpus corpus;
    LoadSettings(corpus, store);
    return corpus;
}

}  // namespace

class SavedSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void storeLivesInThePrivateConfigFolder();
    void roundTripKeepsEveryByte();
    void shrinkingListLeavesOnlyItsEntries();
    void damagedFileLoadsTheDefaults();
};

void SavedSettingsTest::init()
{
    QSettings file = UserFile();
    file.clear();
    file.sync();
}

void SavedSettingsTest::storeLivesInThePrivateConfigFolder()
{
    const QString home = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    QVERIFY2(!home.isEmpty(), "the tests run with a private XDG_CONFIG_HOME");
    QVERIFY(UserFile().fileName().startsWith(QDir(home).absolutePath() + QStringLiteral("/PLIX/")));
}

void SavedSettingsTest::roundTripKeepsEveryByte()
{
    // Paths and keywords are bytes of the locale's code page; the INI syntax's
    // own characters must not get in the way either.
    const std::vector<std::string> awkward = {"/data/caf\xe9 corpus/a,b;c.txt",
                                              " leading and trailing ",
                                              "\"quoted\" = \\back\\",
                                              "\xff\x80\xa0",
                                              "#not a comment",
                                              "[not a section]"};
    CCorpus saved;
    for (const std::string& path : awkward) {
        saved.AddInputFile(path);
        saved.AddOutputFile(CCorpus::DefaultOutputPath(path));
    }
    saved.SetOutputAsFiles(1);
    saved.SetAsWhole(1);
    saved.language = "ASCII";
    saved.SetCorpusType(kTypeLob);
    saved.SetMarks("\xab", "\xbb ;");
    saved.SetOutputType(kOutputOther);
    saved.SetLineFormat(250, 125);
    saved.SetInfoRange(7, 500);
    for (auto it = awkward.rbegin(); it != awkward.rend(); ++it) {
        saved.PushHistoryKeyword(*it);
    }
    Save(saved);

    const CCorpus loaded = Load();
    QCOMPARE(loaded.GetFileCount(), int(awkward.size()));
    QVERIFY(loaded.inputFiles == saved.inputFiles);
    QVERIFY(loaded.outputFiles == saved.outputFiles);
    QCOMPARE(loaded.GetOutputAsFiles(), 1);
    QCOMPARE(loaded.GetAsWhole(), 1);
    QCOMPARE(loaded.GetLanguage(), std::string("ASCII"));
    QCOMPARE(loaded.GetCorpusType(), int(kTypeLob));
    QCOMPARE(loaded.GetStartMark(), saved.GetStartMark());
    QCOMPARE(loaded.GetEndMark(), saved.GetEndMark());
    QCOMPARE(loaded.openQuote, saved.GetStartMark());
    QCOMPARE(loaded.GetLineLength(), 250);
    QCOMPARE(loaded.GetKeywordPosition(), 125);
    QCOMPARE(loaded.GetInfoStart(), 7);
    QCOMPARE(loaded.GetInfoEnd(), 500);
    QVERIFY(loaded.keywordHistory == awkward);
    CCorpus().SetLanguage("System");
}

void SavedSettingsTest::shrinkingListLeavesOnlyItsEntries()
{
    Save(RecordWithFiles(5));
    Save(RecordWithFiles(2));
    QSettings file = UserFile();
    for (const char* section : {"Input", "Output"}) {
        file.beginGroup(QString::fromLatin1(section));
        QStringList keys = file.childKeys();
        keys.sort();
        QCOMPARE(keys, (QStringList{QString::fromLatin1(section) + "1",
                                    QString::fromLatin1(section) + "2"}));
        file.endGroup();
    }
    Save(RecordWithFiles(4));
    QCOMPARE(Load().inputFiles, RecordWithFiles(4).inputFiles);
}

void SavedSettingsTest::damagedFileLoadsTheDefaults()
{
    const QString path = UserFile().fileName();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(
        "[CorpusList]\nMax=2000000000\nFile=maybe\nLanguage=Klingon\n"
        "[Input]\nInput1=/a.txt\n[Output]\nOutput1=/a.plx\n"
        "[Type]\nType=99\nFormat=42\nLen=five\nPos=1000\nStart=-4\nEnd=\n"
        "this line is no setting at all\n");
    file.close();

    const CCorpus loaded = Load();
    QCOMPARE(loaded.GetFileCount(), 1);
    QCOMPARE(loaded.GetOutputAsFiles(), 0);
    QCOMPARE(loaded.GetLanguage(), std::string("System"));
    QCOMPARE(loaded.GetCorpusType(), int(kTypeText));
    QCOMPARE(loaded.GetOutputType(), int(kOutputText));
    QCOMPARE(loaded.GetLineLength(), 100);
    QCOMPARE(loaded.GetKeywordPosition(), 50);
    QCOMPARE(loaded.GetInfoStart(), 1);
    QCOMPARE(loaded.GetInfoEnd(), 1);

    // The next save puts the file right again.
    Save(loaded);
    QCOMPARE(UserFile().value(QStringLiteral("CorpusList/Max")).toInt(), 1);
    QCOMPARE(Load().inputFiles, std::vector<std::string>{"/a.txt"});
}

QTEST_MAIN(SavedSettingsTest)
#include "saved_settings_test.moc"
