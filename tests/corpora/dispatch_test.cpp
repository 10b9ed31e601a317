// The handler table and its call points: the table checks itself against what
// the registered handlers provide, and scripted handlers stood in for real ones
// show that the frame calls every role at its point, in the table's order.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "corpora/dispatch.h"
#include "engine/parse.h"
#include "settings/corpus.h"
#include "support/engine_fixture.h"

namespace plix {
namespace {

TEST(HandlerTable, EveryRoleARowGivesIsProvidedByItsHandler)
{
    CHandlers handlers;
    for (int type = 0; type < kCorpusTypeCount; ++type) {
        for (const RoleUse& use : RolesNamed(CorpusRowFor(type))) {
            if (handlers.Get(use.handler) == nullptr) {
                continue;  // not part of the program yet: the type is refused
            }
            EXPECT_TRUE(handlers.Provides(use.handler, use.role))
                << "type " << type << ": " << HandlerName(use.handler) << " lacks "
                << RoleName(use.role);
        }
        const std::vector<RoleUse> uses = RolesNamed(CorpusRowFor(type));
        const bool complete = std::all_of(uses.begin(), uses.end(), [&](const RoleUse& use) {
            return handlers.Get(use.handler) != nullptr;
        });
        EXPECT_EQ(handlers.TypeAvailable(type), complete) << type;
    }
    EXPECT_TRUE(handlers.TypeAvailable(kTypeText));
    EXPECT_TRUE(CorpusRowFor(kTypeText).makeReference.empty());
}

TEST(HandlerTable, ResetOrderNamesExactlyTheHandlersWithPerFileState)
{
    CHandlers handlers;
    const std::vector<HandlerId>& order = ResetOrder();
    for (size_t i = 0; i < kHandlerCount; ++i) {
        auto id = static_cast<HandlerId>(i);
        if (handlers.Get(id) == nullptr) {
            continue;
        }
        const bool listed = std::find(order.begin(), order.end(), id) != order.end();
        EXPECT_EQ(listed, handlers.Provides(id, Role::ResetForFile)) << HandlerName(id);
    }
    // Every handler is reset once, in the order of the design.
    std::vector<HandlerId> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    EXPECT_EQ(order.front(), HandlerId::Cocoa);
    EXPECT_EQ(order.back(), HandlerId::Copc);
}

TEST(HandlerTable, RolesOfSeesOnlyWhatAHandlerDeclares)
{
    struct Scanner : CCorpusHandler
    {
        void ScanLine(CHandlerFrame&, std::string&) override {}
    };
    struct Selecting : Scanner
    {
        bool IsSelected(CHandlerFrame&) override { return false; }
    };
    static_assert(RolesOf<Scanner>() == RoleBit(Role::ScanLine));
    static_assert(RolesOf<Selecting>() == (RoleBit(Role::ScanLine) | RoleBit(Role::IsSelected)));
    CHandlers handlers;
    Scanner scanner;
    handlers.StandIn(HandlerId::Cocoa, &scanner);
    std::vector<std::string> missing = handlers.MissingRoles(kTypeCocoa);
    EXPECT_EQ(missing,
              (std::vector<std::string>{"CCocoa: IsSelected", "CCocoa: WriteHeader",
                                        "CCocoa: WriteColumnHeading", "CCocoa: CleanFollowingText",
                                        "CCocoa: MakeReference"}));
    EXPECT_FALSE(handlers.TypeAvailable(kTypeCocoa));
}

// A handler that provides every role and writes down each call.
class ScriptedHandler final : public CCorpusHandler
{
  public:
    ScriptedHandler(std::string name, std::vector<std::string>& journal)
        : name_(std::move(name)), journal_(journal)
    {
    }

    void ResetForFile() override { Note("ResetForFile"); }
    void SourceOpened(const std::string& source) override
    {
        Note("SourceOpened " + source.substr(source.rfind('/') + 1));
    }
    void AssembleUnit(CHandlerFrame& frame, std::string&) override
    {
        NoteLine("AssembleUnit", frame);
    }
    bool FinishUnit(CHandlerFrame& frame, std::string& line) override
    {
        NoteLine("FinishUnit", frame);
        if (finishWith.empty()) {
            return false;
        }
        line = finishWith;
        finishWith.clear();
        return true;
    }
    void ScanLine(CHandlerFrame& frame, std::string&) override { NoteLine("ScanLine", frame); }
    bool IsSelected(CHandlerFrame& frame) override
    {
        NoteLine("IsSelected", frame);
        return frame.LineNumber() != rejectLine;
    }
    void WriteHeader(CHandlerFrame& frame) override
    {
        Note("WriteHeader");
        frame.Write(name_ + " header" + frame.Eol());
    }
    void WriteColumnHeading(CHandlerFrame& frame, int) override
    {
        Note("WriteColumnHeading");
        frame.Write(name_ + " heading" + frame.Eol());
    }
    void CleanFollowingText(CHandlerFrame& frame, std::string&) override
    {
        NoteLine("CleanFollowingText", frame);
    }
    void LocateHit(CHandlerFrame& frame, const std::string&, size_t hitOffset) override
    {
        NoteLine("LocateHit " + std::to_string(hitOffset), frame);
        EXPECT_EQ(frame.HitOffset(), hitOffset);
    }
    const std::string* ContextSource() const override { return contextSource ? &source_ : nullptr; }
    void RestoreLine(std::string&) override { Note("RestoreLine"); }
    void MakeReference(CHandlerFrame& frame, int, std::string& reference) override
    {
        NoteLine("MakeReference", frame);
        reference += "[" + name_ + "]";
    }
    void AmendContextLine(CHandlerFrame& frame, const std::string&,
                          std::string& contextLine) override
    {
        NoteLine("AmendContextLine", frame);
        contextLine += " +" + name_;
    }
    void CleanPeekedLine(std::string&) override { Note("CleanPeekedLine"); }
    void CleanListLine(CHandlerFrame& frame, std::string&) override
    {
        NoteLine("CleanListLine", frame);
    }

    // The bytes a concordance line is taken from: the scanned line upper-cased.
    void SetSource(const std::string& text)
    {
        source_ = text;
        for (char& c : source_) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        contextSource = true;
    }

    int64_t rejectLine = -1;
    std::string finishWith;
    bool contextSource = false;

  private:
    void Note(const std::string& what) { journal_.push_back(name_ + "." + what); }
    void NoteLine(const std::string& what, CHandlerFrame& frame)
    {
        Note(what + "@" + std::to_string(frame.LineNumber()));
    }

    std::string name_;
    std::vector<std::string>& journal_;
    std::string source_;
};

KeywordRequest Keyword(const std::string& text)
{
    KeywordRequest request;
    request.keyword = text;
    return request;
}

class ScriptedFrame : public test::EngineTest, public ::testing::Test
{
  protected:
    ScriptedHandler& StandIn(HandlerId id, const std::string& name)
    {
        fakes_.push_back(std::make_unique<ScriptedHandler>(name, journal));
        ctx.handlers.StandIn(id, fakes_.back().get());
        return *fakes_.back();
    }
    // The journal without the calls that happen once per line read ahead.
    std::vector<std::string> Without(const std::string& what) const
    {
        std::vector<std::string> kept;
        for (const std::string& entry : journal) {
            if (entry.find(what) == std::string::npos) {
                kept.push_back(entry);
            }
        }
        return kept;
    }

    std::vector<std::string> journal;
    std::vector<std::unique_ptr<ScriptedHandler>> fakes_;
};

TEST_F(ScriptedFrame, ChainsRunInTableOrderForAConcordance)
{
    // LOB/WC: Brown, Fixed, then LOB clean each line; Fixed cleans each line
    // read ahead, LOB the whole read-ahead text; Fixed and Brown make the reference.
    StandIn(HandlerId::Brown, "Brown");
    StandIn(HandlerId::Fixed, "Fixed");
    StandIn(HandlerId::Lob, "Lob");
    AddFile("a.txt", "one hit\nnone\n");
    ctx.corpus.SetCorpusType(kTypeLob);
    CommandOutcome outcome = RunCommand(AnalysisCommand::Concordance, Keyword("hit"));
    ASSERT_TRUE(outcome.completed) << outcome.reason;
    const std::vector<std::string> expected = {
        "Fixed.ResetForFile",  // Brown and LOB keep nothing per file
        "Brown.ScanLine@1",      "Fixed.ScanLine@1",         "Lob.ScanLine@1",
        "Fixed.CleanPeekedLine", "Lob.CleanFollowingText@1", "Fixed.MakeReference@1",
        "Brown.MakeReference@1", "Brown.ScanLine@2",         "Fixed.ScanLine@2",
        "Lob.ScanLine@2",        "Brown.WriteColumnHeading",
    };
    EXPECT_EQ(journal, expected);
    const std::string& text = Window();
    EXPECT_NE(text.find("Brown heading\r\n[Fixed][Brown]\r\n"), std::string::npos) << text;
}

TEST_F(ScriptedFrame, SelectionHeaderAndReferenceOfAListAndAConcordance)
{
    ScriptedHandler& cocoa = StandIn(HandlerId::Cocoa, "Cocoa");
    cocoa.rejectLine = 2;
    AddFile("a.txt", "alpha\nbeta\ngamma\n");
    ctx.corpus.SetCorpusType(kTypeCocoa);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Wordlist).completed);
    EXPECT_EQ(journal, (std::vector<std::string>{"Cocoa.ResetForFile", "Cocoa.WriteHeader",
                                                 "Cocoa.ScanLine@1", "Cocoa.IsSelected@1",
                                                 "Cocoa.ScanLine@2", "Cocoa.IsSelected@2",
                                                 "Cocoa.ScanLine@3", "Cocoa.IsSelected@3"}));
    // The line the handler rejects is not counted.
    EXPECT_NE(Window().find("Cocoa header\r\n\r\nalpha\t1\r\ngamma\t1\r\n"), std::string::npos)
        << Window();

    journal.clear();
    ASSERT_TRUE(RunCommand(AnalysisCommand::ConcordanceAll).completed);
    const std::vector<std::string> expected = {
        "Cocoa.ResetForFile",      "Cocoa.WriteHeader",          "Cocoa.ScanLine@1",
        "Cocoa.IsSelected@1",      "Cocoa.CleanFollowingText@1", "Cocoa.MakeReference@1",
        "Cocoa.ScanLine@2",        "Cocoa.IsSelected@2",         "Cocoa.ScanLine@3",
        "Cocoa.IsSelected@3",      "Cocoa.CleanFollowingText@3", "Cocoa.MakeReference@3",
        "Cocoa.WriteColumnHeading"};
    EXPECT_EQ(journal, expected);
}

TEST_F(ScriptedFrame, ParsedUnitsAssembleLocateAndRestore)
{
    // PPCME2: the unit assembly before the scan, the hit located, the
    // concordance line taken from the handler's own copy, the line restored
    // after each line; the unit still open at the end is processed too.
    ScriptedHandler& ppcme2 = StandIn(HandlerId::Ppcme2, "Ppcme2");
    ppcme2.finishWith = "last unit ";
    AddFile("a.txt", "a unit\n");
    ctx.corpus.SetCorpusType(kTypePpcme2);
    ctx.corpus.SetLineFormat(20, 10);
    ppcme2.SetSource("a unit ");
    ASSERT_TRUE(RunCommand(AnalysisCommand::Concordance, Keyword("unit")).completed);
    const std::vector<std::string> expected = {
        "Ppcme2.ResetForFile",      "Ppcme2.WriteHeader",     "Ppcme2.AssembleUnit@1",
        "Ppcme2.ScanLine@1",        "Ppcme2.LocateHit 2@1",   "Ppcme2.MakeReference@1",
        "Ppcme2.RestoreLine",       "Ppcme2.FinishUnit@2",    "Ppcme2.ScanLine@1",
        "Ppcme2.LocateHit 5@1",     "Ppcme2.MakeReference@1", "Ppcme2.RestoreLine",
        "Ppcme2.WriteColumnHeading"};
    EXPECT_EQ(journal, expected);
    // The hit's line comes from the handler's copy (upper case), cut to the line format.
    EXPECT_NE(Window().find("[Ppcme2]\r\n       A UNIT\r\n"), std::string::npos) << Window();

    journal.clear();
    ppcme2.contextSource = false;
    ASSERT_TRUE(RunCommand(AnalysisCommand::Index).completed);
    EXPECT_EQ(journal, (std::vector<std::string>{"Ppcme2.ResetForFile", "Ppcme2.WriteHeader",
                                                 "Ppcme2.AssembleUnit@1", "Ppcme2.ScanLine@1",
                                                 "Ppcme2.CleanListLine@1", "Ppcme2.FinishUnit@2"}));
}

TEST_F(ScriptedFrame, SourceNameAfterTheInputIsOpenAndPeekedLinesCleaned)
{
    StandIn(HandlerId::Ice, "Ice");
    AddFile("ice.txt", "word one\nword two\n");
    ctx.corpus.SetCorpusType(kTypeIce);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Concordance, Keyword("two")).completed);
    const std::vector<std::string> expected = {"Ice.ResetForFile",    "Ice.SourceOpened ice.txt",
                                               "Ice.ScanLine@1",      "Ice.IsSelected@1",
                                               "Ice.ScanLine@2",      "Ice.IsSelected@2",
                                               "Ice.MakeReference@2", "Ice.WriteColumnHeading"};
    EXPECT_EQ(journal, expected);
}

TEST_F(ScriptedFrame, Ppcme1AmendsTheLineAfterItsReference)
{
    StandIn(HandlerId::Penn, "Penn");
    AddFile("a.txt", "(S word)(\n");
    ctx.corpus.SetCorpusType(kTypePpcme1);
    ASSERT_TRUE(RunCommand(AnalysisCommand::Concordance, Keyword("word")).completed);
    EXPECT_EQ(
        Without("Unit"),
        (std::vector<std::string>{"Penn.ResetForFile", "Penn.WriteHeader", "Penn.ScanLine@1",
                                  "Penn.IsSelected@1", "Penn.LocateHit 3@1", "Penn.MakeReference@1",
                                  "Penn.AmendContextLine@1", "Penn.WriteColumnHeading"}));
    EXPECT_NE(Window().find("[Penn]\r\n"), std::string::npos);
    EXPECT_NE(Window().find(" +Penn\r\n"), std::string::npos) << Window();
}

}  // namespace
}  // namespace plix
