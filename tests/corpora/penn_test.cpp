// The Penn handler: units cut at their identifier and cleaned of markup, the
// deleted text levels, the untagged copy, the labels around a hit, the
// reference, heading and header notes, and PPCME1 runs through the engine.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "concordance_texts.h"
#include "corpora/cocoa.h"
#include "corpora/penn.h"
#include "settings/corpus.h"
#include "support/engine_fixture.h"
#include "support/handler_frame.h"

namespace plix {
namespace {

using Switches = std::array<int, 7>;
constexpr Switches kNone = {0, 0, 0, 0, 0, 0, 0};
constexpr Switches kAll = {1, 1, 1, 1, 1, 1, 1};
constexpr Switches kFont = {1, 0, 0, 0, 0, 0, 0};
constexpr Switches kForeign = {0, 1, 0, 0, 0, 0, 0};
constexpr Switches kEmendation = {0, 0, 0, 1, 0, 0, 0};
constexpr Switches kEditor = {0, 0, 0, 0, 1, 0, 0};
constexpr Switches kCorpusComment = {0, 0, 0, 0, 0, 1, 0};
constexpr Switches kRunesAndHeading = {0, 0, 1, 0, 0, 0, 1};

TEST(PennScanLine, IdentifierAndMarkupLeaveTheUnit)
{
    struct Case
    {
        const char* what;
        Switches switches;
        std::string line;
        std::string scanned;
    };
    const std::string longWords(20000, 'w');
    const Case cases[] = {
        {"foreign deleted", kForeign, "(S word <latin>verbum</latin> more)(ID A,1)",
         "(S word  more)"},
        {"foreign kept", kNone, "(S word <latin>verbum</latin> more)(ID A,1)",
         "(S word verbum more)"},
        {"comment before the identifier", kNone, "(S a {COM:note})(ID A,1)", "(S a  )"},
        {"brace two before", kNone, "(S a {x} )(ID)", "(S a  )"},
        {"brace four before", kNone, "(S a {x}   )(ID)", "(S a  )"},
        {"brace three before stays", kNone, "(S a {x}  )(ID)", "(S a {x}  )"},
        {"brace opening the line stays", kNone, "{x})(ID", "{x})"},
        {"brace without its opening", kNone, "(S a})(ID", "(S a})"},
        {"brace as the first byte", kNone, "})(", "})"},
        {"the pair at the start", kNone, ")(ID", ")"},
        {"only the first pair counts", kNone, "(S a)(b)(c)", "(S a)"},
        {"no pair: markup only", kNone, "(S [NP he ] <P 3>went ", "(S [NP he ] went "},
        {"page marker", kNone, "a <P 12>b", "a b"},
        {"manuscript marker", kNone, "x{MS:f.3r}y", "xy"},
        {"markers one after the other", kNone, "<P 1><P 2>x{MS:a}{MS:b}", "x"},
        {"a marker made by a removal", kNone, "<<P x>P y>z", "z"},
        {"page marker without >", kNone, "a <P 12", "a P 12"},
        {"manuscript marker without }", kNone, "x{MS:f.3r", "x{MS:f.3r"},
        {"emendation deleted", kEmendation, "a <b> c", "a  c"},
        {"emendation kept", kNone, "a <b> c", "a b c"},
        {"emendation: the first > after <", kEmendation, "<a<b>c>", "c>"},
        {"emendation: < without a later >", kEmendation, "a > b < c", "a > b < c"},
        {"open tag alone", kFont, "<font>x", "x"},
        {"font deleted", kFont, "a<font>b</font>c", "ac"},
        {"nested element", kEditor, "<ec>a <ec>b</ec> c</ec>d", " cd"},
        {"corpus comments", kCorpusComment,
         "<hc>1</hc><pc>2</pc><ed-comment>3</ed-comment><comment>4</comment>"
         "<edition>5</edition><Hcomment>6</Hcomment><intercalated>7</intercalated>w",
         "w"},
        {"every foreign language", kForeign,
         "<french>1</french><german>2</german><dutch>3</dutch><greek>4</greek>"
         "<spanish>5</spanish><italian>6</italian><hebrew>7</hebrew>w",
         "w"},
        {"paren never goes", kAll, "<paren>(x)</paren>", "(x)"},
        {"runes and heading delete nothing", kRunesAndHeading, "<font>x</font>", "x"},
        {"odd names", kNone, "<     >a</     ><>b</>< >c</ >", "abc"},
        {"mismatched close", kForeign, "<latin>a</french>", "a"},
        {"a long line whole", kForeign, "(S " + longWords + " <latin>x</latin>)(ID)",
         "(S " + longWords + " )"},
        {"empty", kAll, "", ""},
    };
    for (const Case& k : cases) {
        CCocoa cocoa;
        CPenn penn(cocoa);
        penn.SetDeleteSwitches(k.switches);
        std::string line = k.line;
        penn.ScanUnit(line);
        EXPECT_EQ(line, k.scanned) << k.what;
    }
}

TEST(PennUntag, LabelsBracketsAndNotesLeaveTheCopy)
{
    const std::pair<std::string, std::string> cases[] = {
        {"(S [NP he ] said)", "(  he said)"},
        {"(S x %note% y)", "(  x  y)"},
        {"( x)", "( x)"},
        {"(", "("},
        {"", ""},
        {"(S [NP", "(  [NP"},  // a label ending the text stays
        {"x[y z", "z"},
        {"[a ]b [c ] d", "d"},
        {"%a% %b", " %b"},
        {"%a%%b%c", "c"},
        {"(S <latin>x</latin> [vbd y ] ])", "(  x y ])"},
        {"(S [NP a <P 4>b ] )", "(  a b )"},
        {"(Q\n [IP he\n [vbd seide ] )", "( \n he\n seide )"},
    };
    for (const auto& [text, untagged] : cases) {
        CCocoa cocoa;
        CPenn penn(cocoa);
        std::string copy = text;
        penn.Untag(copy);
        EXPECT_EQ(copy, untagged) << text;
    }
}

TEST(PennLocateHit, TypeClauseAndAnnotationAroundTheHit)
{
    struct Case
    {
        std::string line;
        size_t hit;
        char unitType;
        std::string clause;
        std::string annotation;
    };
    const std::string example = "(S [IP-MAT [NP-SBJ he ] [vbd said ] ] )";
    const Case cases[] = {
        {example, example.find("said"), 'S', "IP", "vbd"},
        {example, example.find("he"), 'S', "NP", ""},
        {example, 0, 'S', "", ""},
        {"[NP x ] y", 8, 0, "", ""},
        {"(S [NP-SBJ [pro he ] ] [vbd said ]", 28, 'S', "", "vbd"},
        {"(S [np [ADJ good ] x", 19, 'S', "", "np"},
        {"(S [1x y", 7, 'S', "", "1x"},
        // The nearest label of each kind wins.
        {"(S [IP [CP [adv [rp x", 20, 'S', "CP", "rp"},
        // A label ends at a line end kept from a line read ahead.
        {"(Q [IP\n [vbd seide ] )", 13, 'Q', "IP", "vbd"},
        {"(\n [IP\t x", 9, ' ', "IP", ""},
        {"(S [NP x", 1000, 'S', "NP", ""},
        {"(S [", 4, 'S', "", ""},
        {"(", 1, 0, "", ""},
        {"(S ] ] ] [NP x", 14, 'S', "NP", ""},
    };
    CCocoa cocoa;
    CPenn penn(cocoa);
    // One handler throughout: every hit starts from nothing.
    for (const Case& k : cases) {
        penn.LocateLabels(k.line, k.hit);
        EXPECT_EQ(penn.unitType, k.unitType) << k.line;
        EXPECT_EQ(penn.clause, k.clause) << k.line;
        EXPECT_EQ(penn.annotation, k.annotation) << k.line;
    }
}

TEST(PennReference, FieldsAndHeadingPerOutputType)
{
    struct Case
    {
        int type;
        std::string reference;
        std::string heading;
    };
    const Case cases[] = {
        {kOutputText, "(7) x  S IP vbd ",
         "(line) Reference A C Type Clause Annotation Occurrence\r\n"},
        {kOutputComma, "\"7\",\"x\",\"\",\"S\",\"IP\",\"vbd\",",
         "\"line\",\"Reference\",\"A\",\"C\",\"Type\",\"Clause\",\"Annotation\","
         "\"Occurrence\"\r\n"},
        {kOutputTab, "7\tx\t\tS\tIP\tvbd\t",
         "line\tReference\tA\tC\tType\tClause\tAnnotation\tOccurrence\r\n"},
        {kOutputTagged, "f.pen(7):x::S:IP:vbd:",
         "filename(line):Reference:A:C:Type:Clause:Annotation:Occurrence\r\n"},
        {kOutputXml,
         "<hit file=\"f.pen\" line=\"7\"><A>x</A><C></C><type>S</type><clause>IP</clause>"
         "<annotation>vbd</annotation>",
         "\r\n"},
        {kOutputOther, "[[7]] [[x]] [[]] [[S]] [[IP]] [[vbd]] ",
         "[[line]] [[Reference]] [[A]] [[C]] [[Type]] [[Clause]] [[Annotation]] "
         "[[Occurrence]]\r\n"},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.settings.SetMarks("[[", "]]");
        frame.settings.SetOutputType(k.type);
        frame.settings.cocoaOutput[0] = 1;  // A, with a value
        frame.settings.cocoaOutput[2] = 1;  // C, never given: an empty field
        frame.line = 7;
        frame.source = "f.pen";
        CCocoa cocoa;
        CPenn penn(cocoa);
        std::string references = "<A x>";
        cocoa.ScanReferences(references);
        const std::string line = "(S [IP-MAT [NP-SBJ he ] [vbd said ] ] )";
        penn.LocateHit(frame, line, line.find("said"));
        std::string reference = "kept:";
        penn.MakeReference(frame, k.type, reference);
        EXPECT_EQ(reference, "kept:" + k.reference) << k.type;
        penn.WriteColumnHeading(frame, k.type);
        EXPECT_EQ(frame.written, k.heading) << k.type;
    }
    // Before any hit, and after one outside a unit, the type is empty.
    test::HandlerFrame frame;
    CCocoa cocoa;
    CPenn penn(cocoa);
    std::string reference;
    penn.BuildReference(frame.settings, reference, 2, "f");
    EXPECT_EQ(reference, "(2)    ");
}

TEST(PennHeader, SelectionsThenOneLinePerDeletedLevel)
{
    struct Case
    {
        Switches switches;
        bool toFile;
        std::string written;
    };
    const Case cases[] = {
        {kNone, false, "Selected Parameter:T=HOMILY\r\n"},
        {kRunesAndHeading, true, "Selected Parameter:T=HOMILY\n"},
        {kCorpusComment, false,
         "Selected Parameter:T=HOMILY\r\nDeleted text level:Helsinki / Penn Corpus comment\r\n"},
    };
    for (const Case& k : cases) {
        test::HandlerFrame frame;
        frame.toFile = k.toFile;
        frame.settings.cocoaSelect[19] = "HOMILY";
        CCocoa cocoa;
        CPenn penn(cocoa);
        penn.SetDeleteSwitches(k.switches);
        penn.WriteHeader(frame);
        EXPECT_EQ(frame.written, k.written);
    }
    // Nothing selected, nothing deleted: no line at all.
    test::HandlerFrame frame;
    CCocoa cocoa;
    CPenn penn(cocoa);
    penn.WriteHeader(frame);
    EXPECT_EQ(frame.written, "");
}

// Three units with COCOA references between them; the second is of another
// text type, the third runs over two lines with a page and a manuscript
// marker in it. The first hit reads two lines ahead for its right context.
const char kHomily[] =
    "<A ANON>\n"
    "<T HOMILY>\n"
    "(S [IP-MAT [NP-SBJ he ] [vbd seide ] <latin>verbum</latin> ] )(HOM,1)\n"
    "<T SERMON>\n"
    "(S [IP-MAT [NP-SBJ sche ] [vbd seide ] ] )(HOM,2)\n"
    "<T HOMILY>\n"
    "(Q [IP-MAT <P 12>[NP-SBJ the lord ]\n"
    "[vbd seide{MS:f.2r} ] ] )(HOM,3)\n";

const char kHeading[] = "(line) Reference A Type Clause Annotation Occurrence";
const char kFirstXml[] =
    "<hit file=\"{file}\" line=\"3\"><A>ANON</A><type>S</type><clause>IP</clause>"
    "<annotation>vbd</annotation>";
const char kThirdXml[] =
    "<hit file=\"{file}\" line=\"8\"><A>ANON</A><type>Q</type><clause>IP</clause>"
    "<annotation>vbd</annotation>";

void SelectHomilies(CCorpus& settings)
{
    settings.cocoaOutput[0] = 1;
    settings.cocoaSelect[19] = "homily";
}

TEST(PennRun, ConcordanceOfTheSelectedUnits)
{
    test::TypeOptions options;
    options.configure = SelectHomilies;
    options.headerLines = {"Selected Parameter:T=homily"};
    test::ExpectConcordanceTexts(
        {kTypePpcme1,
         kHomily,
         "seide",
         kHeading,
         {
             {"(3) ANON S IP vbd ", kFirstXml, " [NP-SBJ he ] [vbd seide ] verbum ] )"},
             {"(8) ANON Q IP vbd ", kThirdXml, "   the lord ] [vbd seide ] ] "},
         }},
        options);
}

// As ExpectConcordanceTexts, with the Penn handler's own switches set.
void ExpectPennConcordances(const test::TypeConcordance& c,
                            const std::vector<std::string>& headerLines,
                            const std::function<void(CPenn&)>& configure)
{
    for (bool xml : {false, true}) {
        for (bool toFile : {false, true}) {
            test::EngineTest t;
            const std::string path = t.AddFile("homily.ppcme1", c.corpus);
            CCorpus& settings = t.ctx.corpus;
            settings.SetCorpusType(kTypePpcme1);
            settings.SetOutputType(xml ? kOutputXml : kOutputText);
            settings.SetLineFormat(test::kTypeLineLength, test::kTypePosition);
            settings.SetOutputAsFiles(toFile ? 1 : 0);
            SelectHomilies(settings);
            configure(t.ctx.handlers.Penn());
            KeywordRequest request;
            request.keyword = c.keyword;
            CommandOutcome outcome = t.RunCommand(AnalysisCommand::Concordance, request);
            ASSERT_TRUE(outcome.completed) << outcome.reason;
            EXPECT_EQ(toFile ? test::ReadFile(settings.GetOutputFile(0)) : t.Window(),
                      test::ExpectedConcordance(c, xml, toFile, path, headerLines))
                << (xml ? "Xml" : "Text") << (toFile ? " file" : " window");
        }
    }
}

TEST(PennRun, ConcordanceWithTheUntaggedUnits)
{
    ExpectPennConcordances({kTypePpcme1,
                            kHomily,
                            "seide",
                            kHeading,
                            {
                                {"(3) ANON S IP vbd ", kFirstXml,
                                 " [NP-SBJ he ] [vbd seide ] verbum ] ) => (  he seide verbum )"},
                                {"(8) ANON Q IP vbd ", kThirdXml,
                                 "   the lord ] [vbd seide ] ]  => (  the lord seide )"},
                            }},
                           {"Selected Parameter:T=homily"},
                           [](CPenn& penn) { penn.SetUntagSwitch(1); });
}

TEST(PennRun, ConcordanceWithDeletedLevels)
{
    // The right context comes from the lines read ahead, as they stand.
    ExpectPennConcordances(
        {kTypePpcme1,
         kHomily,
         "seide",
         kHeading,
         {
             {"(3) ANON S IP vbd ", kFirstXml, " [NP-SBJ he ] [vbd seide ]  ] )<T"},
             {"(8) ANON Q IP vbd ", kThirdXml, "   the lord ] [vbd seide ] ] "},
         }},
        {"Selected Parameter:T=homily", "Deleted text level:font other than the basic font",
         "Deleted text level:foreign language", "Deleted text level:emendation",
         "Deleted text level:editor's comment",
         "Deleted text level:Helsinki / Penn Corpus comment"},
        [](CPenn& penn) { penn.SetDeleteSwitches(kAll); });
}

// A unit read ahead keeps the line ends of its lines; they never reach a
// reference or the untagged copy, where they would break the result's lines.
TEST(PennRun, LineEndsOfLinesReadAheadStayOutOfTheResultLines)
{
    test::EngineTest t;
    t.AddFile("a.ppcme1",
              "(S [NP he ] [vbd seide ] )(A,1)\n"
              "(\n"
              "[IP he\n"
              "[vbd seide ] )(A,2)\n");
    t.ctx.corpus.SetCorpusType(kTypePpcme1);
    t.ctx.corpus.SetLineFormat(test::kTypeLineLength, test::kTypePosition);
    t.ctx.handlers.Penn().SetUntagSwitch(1);
    KeywordRequest request;
    request.keyword = "seide";
    ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, request).completed);
    const std::string window = t.Window();
    const std::string lines =
        "(1) S  vbd \r\n"
        "  (S [NP he ] [vbd seide ] )( [IP he  => (  he seide )\r\n"
        "(4)   IP vbd \r\n"
        "] )(  [IP he  [vbd seide ]  => (  he  seide )\r\n";
    EXPECT_NE(window.find("(line) Reference Type Clause Annotation Occurrence\r\n" + lines),
              std::string::npos)
        << window;
}

TEST(PennRun, WordListOfTheUntaggedUnitsWithTheLastOneUnclosed)
{
    // The labels, the type characters, the identifiers and the notes between
    // "%" are no words; the last unit lacks its ")(" and still counts.
    const std::string corpus =
        "<A X>\n"
        "(S [NP he ] %gloss% seide )(A,1)\n"
        "(Q [NP sche ]\n"
        "seide <latin>verbum</latin>\n";
    for (bool toFile : {false, true}) {
        test::EngineTest t;
        const std::string path = t.AddFile("a.ppcme1", corpus);
        t.ctx.corpus.SetCorpusType(kTypePpcme1);
        t.ctx.corpus.SetOutputAsFiles(toFile ? 1 : 0);
        t.ctx.handlers.SetDeleteSwitches(kForeign);
        ASSERT_TRUE(t.RunCommand(AnalysisCommand::Wordlist).completed);
        const std::string eol = toFile ? "\n" : "\r\n";
        const std::string expected = "Corpus File: " + path + eol +
                                     "Deleted text level:foreign language" + eol + eol + "he\t1" +
                                     eol + "sche\t1" + eol + "seide\t2" + eol + eol +
                                     "Total Tokens:\t4" + eol + "Total Types:\t3" + eol;
        EXPECT_EQ(toFile ? test::ReadFile(t.ctx.corpus.GetOutputFile(0)) : t.Window(), expected);
    }
}

TEST(PennRun, AUnitOfMoreThanTenThousandBytesIsOneUnit)
{
    std::string corpus = "(S [IP-MAT\n";
    for (int i = 0; i < 4000; ++i) {
        corpus += "[n word ]\n";
    }
    corpus += "[vbd seide ] )(LONG,1)\n";
    test::EngineTest t;
    t.AddFile("long.ppcme1", corpus);
    t.ctx.corpus.SetCorpusType(kTypePpcme1);
    t.ctx.corpus.SetOutputAsFiles(1);
    KeywordRequest request;
    request.keyword = "seide";
    ASSERT_TRUE(t.RunCommand(AnalysisCommand::Concordance, request).completed);
    const std::string result = test::ReadFile(t.ctx.corpus.GetOutputFile(0));
    // The clause label stands 40 000 bytes before the hit.
    EXPECT_NE(result.find("\n(4002) S IP vbd \n"), std::string::npos) << result.substr(0, 400);
    test::EngineTest words;
    words.AddFile("long.ppcme1", corpus);
    words.ctx.corpus.SetCorpusType(kTypePpcme1);
    ASSERT_TRUE(words.RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_NE(words.Window().find("\r\nseide\t1\r\nword\t4000\r\n"), std::string::npos);
}

TEST(PennRun, BadInputCompletesEveryCommand)
{
    const std::string inputs[] = {
        "",
        std::string("(\0\xff\x01)(\n\0(", 9),
        "(" + std::string(100000, '[') + "\n",
        "(S " + std::string(100000, ']') + " a)(x\n",
        "(S a <P \n(S a {MS:\n(S a %\n(S a <latin>\n",
        ")(\n(\n)(\n((((((\n[[[[ a ]]]]\n",
        "(S a {" + std::string(50000, '}') + ")(x\n",
        "(" + std::string(100000, 'b') + " a)(\n",
    };
    for (const std::string& input : inputs) {
        for (AnalysisCommand command : {AnalysisCommand::Concordance, AnalysisCommand::Wordlist}) {
            test::EngineTest t;
            t.AddFile("bad.ppcme1", input);
            t.ctx.corpus.SetCorpusType(kTypePpcme1);
            t.ctx.handlers.SetDeleteSwitches(kAll);
            t.ctx.handlers.Penn().SetUntagSwitch(1);
            KeywordRequest request;
            request.keyword = "a";
            EXPECT_TRUE(t.RunCommand(command, request).completed) << input.substr(0, 20);
        }
    }
}

}  // namespace
}  // namespace plix
