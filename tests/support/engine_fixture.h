// A fresh engine context per test with its results captured in strings: the
// window results one string each (with the ranges coloured), the progress
// scripted to cancel at a chosen point.
#pragma once

#include <string>
#include <vector>

#include "engine/command.h"
#include "engine/context.h"
#include "support/test_support.h"

namespace plix::test {

struct CapturedHighlight
{
    size_t result;
    size_t offset;  // from the start of that result's text
    size_t length;
};

class StringTarget : public CResultTarget
{
public:
    bool BeginResult() override;
    void Append(std::string_view text, const std::vector<HighlightRange>& highlights) override;

    std::vector<std::string> results;
    std::vector<CapturedHighlight> highlights;
    // The coloured texts of a result, in order.
    std::vector<std::string> ColouredTexts(size_t result) const;
};

// Cancels when the progress has been asked `cancelAfter` times (reading asks
// once per line; writing once per entry); never when it is negative.
class ScriptedProgressFactory : public CProgressFactory
{
public:
    std::unique_ptr<CProgress> Make() override;
    long cancelAfter = -1;
    long asked = 0;
    int made = 0;
    std::vector<std::string> statuses;
};

class EngineTest
{
public:
    EngineTest();
    virtual ~EngineTest() = default;

    // Adds a corpus file with this text to the corpus list; returns its path.
    std::string AddFile(const std::string& name, const std::string& text);
    // Runs a command; `keyword` is used by the commands that ask for one.
    CommandOutcome RunCommand(AnalysisCommand command, const KeywordRequest& keyword = {});
    // The one window result of the last command.
    std::string Window(size_t index = 0) const;

    TempDir dir;
    CPlixContext ctx;
    StringTarget target;
    ScriptedProgressFactory progress;
    std::vector<std::string> aborts;
};

}  // namespace plix::test
