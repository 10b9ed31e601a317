#include "support/test_support.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace plix::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "plix-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const
{
    std::string full = File(name);
    std::ofstream out(full, std::ios::binary);
    out << content;
    return full;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string RepeatingWords(std::span<const char* const> words, unsigned seed, int lines)
{
    std::string text;
    unsigned state = seed;
    for (int l = 0; l < lines; ++l) {
        const int count = 1 + static_cast<int>(state % 9);
        for (int w = 0; w < count; ++w) {
            state = state * 1103515245u + 12345u;
            text += words[(state >> 16) % words.size()];
            text += w + 1 < count ? " " : "\n";
        }
    }
    return text;
}

LocaleGuard::LocaleGuard(const std::string& name)
{
    installed_ = std::setlocale(LC_ALL, name.c_str()) != nullptr;
}

LocaleGuard::~LocaleGuard()
{
    std::setlocale(LC_ALL, "C");
}

}  // namespace plix::test

#include "support/engine_fixture.h"

namespace plix::test {

bool StringTarget::BeginResult()
{
    results.emplace_back();
    return true;
}

void StringTarget::Append(std::string_view text, const std::vector<HighlightRange>& ranges)
{
    if (results.empty()) {
        results.emplace_back();
    }
    size_t base = results.back().size();
    results.back().append(text);
    for (const HighlightRange& r : ranges) {
        highlights.push_back({results.size() - 1, base + r.offset, r.length});
    }
}

std::vector<std::string> StringTarget::ColouredTexts(size_t result) const
{
    std::vector<std::string> texts;
    for (const CapturedHighlight& h : highlights) {
        if (h.result == result) {
            texts.push_back(results[result].substr(h.offset, h.length));
        }
    }
    return texts;
}

namespace {

class ScriptedProgress : public CProgress
{
public:
    explicit ScriptedProgress(ScriptedProgressFactory& owner) : owner_(owner) {}
    void SetStatus(const std::string& text) override { owner_.statuses.push_back(text); }
    bool IsCancelled() override
    {
        ++owner_.asked;
        return owner_.cancelAfter >= 0 && owner_.asked > owner_.cancelAfter;
    }

private:
    ScriptedProgressFactory& owner_;
};

}  // namespace

std::unique_ptr<CProgress> ScriptedProgressFactory::Make()
{
    ++made;
    return std::make_unique<ScriptedProgress>(*this);
}

EngineTest::EngineTest()
{
    ctx.format.SetResultTarget(&target);
    ctx.SetProgressFactory(&progress);
}

std::string EngineTest::AddFile(const std::string& name, const std::string& text)
{
    std::string path = dir.Write(name, text);
    ctx.corpus.AddInputFile(path);
    ctx.corpus.AddOutputFile(CCorpus::DefaultOutputPath(path));
    return path;
}

CommandOutcome EngineTest::RunCommand(AnalysisCommand command, const KeywordRequest& keyword)
{
    return RunAnalysisCommand(
        ctx, command, [&]() -> std::optional<KeywordRequest> { return keyword; },
        [&](const std::string& reason) { aborts.push_back(reason); });
}

std::string EngineTest::Window(size_t index) const
{
    return index < target.results.size() ? target.results[index] : std::string();
}

}  // namespace plix::test
