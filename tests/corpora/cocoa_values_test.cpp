// The scan of the COCOA values that occur in the corpus files, and the list
// the options page makes of them and the values it is given.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "corpora/cocoa_values.h"
#include "engine/progress.h"
#include "support/test_support.h"

namespace plix {
namespace {

using List = std::vector<std::string>;
using Values = std::array<List, 26>;

TEST(CocoaValueScan, DistinctValuesInTheOrderFirstMet)
{
    struct Case
    {
        const char* what;
        List files;                     // the text of each file, scanned in this order
        std::map<char, List> expected;  // every other letter stays empty
    };
    const std::string longValue(100000, 'v');
    const Case cases[] = {
        {"files in list order, each value once",
         {"<A Ann><B one>text\n<A Bob>more\n<A Ann>\n", "<A Cid><A Bob><B two>\n"},
         {{'A', {"Ann", "Bob", "Cid"}}, {'B', {"one", "two"}}}},
        {"a lower-case letter names the parameter",
         {"<a low><t x>\n"},
         {{'A', {"low"}}, {'T', {"x"}}}},
        {"empty values are not listed", {"<A ><B>\n<C  >\n"}, {{'C', {" "}}}},
        {"spellings are kept as met",
         {"<A Ann> <A ANN> <A ann>\n"},
         {{'A', {"Ann", "ANN", "ann"}}}},
        {"a reference not closed takes the rest of the line",
         {"x <C open to the end\n<D last"},
         {{'C', {"open to the end "}}, {'D', {"last "}}}},
        {"Windows line ends", {"<Q E1 XX\r\n<Q E2>\r\n"}, {{'Q', {"E1 XX ", "E2"}}}},
        {"a long value whole", {"<N " + longValue + ">\n"}, {{'N', {longValue}}}},
    };
    for (const Case& k : cases) {
        test::TempDir dir;
        List paths;
        for (size_t i = 0; i < k.files.size(); ++i) {
            paths.push_back(dir.Write("f" + std::to_string(i) + ".txt", k.files[i]));
        }
        CProgress progress;
        Values values;
        std::string error;
        ASSERT_EQ(ScanCocoaValues(paths, progress, values, error), CocoaValueScanOutcome::Done)
            << k.what << ": " << error;
        for (int i = 0; i < 26; ++i) {
            const char letter = static_cast<char>('A' + i);
            auto wanted = k.expected.find(letter);
            EXPECT_EQ(values[static_cast<size_t>(i)],
                      wanted == k.expected.end() ? List{} : wanted->second)
                << k.what << ", " << letter;
        }
    }
}

// Records what the scan shows and cancels at the chosen question.
class RecordingProgress : public CProgress
{
  public:
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void SetPos(int percent) override { positions.push_back(percent); }
    bool IsCancelled() override { return cancelAt >= 0 && ++asked > cancelAt; }

    long cancelAt = -1;
    long asked = 0;
    List statuses;
    std::vector<int> positions;
};

TEST(CocoaValueScan, ProgressCancelAndUnreadableFilesLeaveTheValuesAlone)
{
    test::TempDir dir;
    const std::string a = dir.Write("a.hel", "<A Ann>one\n<B b1>\n");
    const std::string b = dir.Write("b.hel", "<A Bob>\n");
    RecordingProgress progress;
    Values values;
    std::string error;
    ASSERT_EQ(ScanCocoaValues({a, b}, progress, values, error), CocoaValueScanOutcome::Done);
    EXPECT_EQ(values[0], (List{"Ann", "Bob"}));
    EXPECT_EQ(progress.statuses, (List{a, b}));
    // Before each line and once at the end: a has lines of 11 and 7 bytes.
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 61, 100, 0, 100}));

    const Values before = values;
    for (long cancelAt : {0L, 3L}) {
        RecordingProgress cancelling;
        cancelling.cancelAt = cancelAt;
        EXPECT_EQ(ScanCocoaValues({b, a}, cancelling, values, error),
                  CocoaValueScanOutcome::Cancelled)
            << cancelAt;
        EXPECT_EQ(values, before) << cancelAt;
    }
    const std::string missing = dir.File("missing.hel");
    EXPECT_EQ(ScanCocoaValues({b, missing, a}, progress, values, error),
              CocoaValueScanOutcome::Unreadable);
    EXPECT_NE(error.find(missing + "\": No such file or directory"), std::string::npos) << error;
    EXPECT_EQ(values, before);
}

TEST(CocoaValueScan, MergedListGivenValuesFirstWithoutTwoThatSelectAlike)
{
    struct Case
    {
        List given;
        List found;
        List merged;
    };
    const Case cases[] = {
        {{"PROSE", "VERSE"}, {"VERSE", "DRAMA"}, {"PROSE", "VERSE", "DRAMA"}},
        {{"PROSE", "VERSE"}, {"prose", "Verse"}, {"PROSE", "VERSE"}},
        {{}, {"Ann", "ANN", "Bob"}, {"Ann", "Bob"}},
        {{"B", "A"}, {"c", "a", "C"}, {"B", "A", "c"}},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(MergedValues(k.given, k.found), k.merged);
    }
}

}  // namespace
}  // namespace plix
