// One small corpus of a type through the whole engine as a concordance, in the
// Text and Xml output types, each into a result window and into an output
// file, compared byte for byte with the texts the result must have.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/command.h"
#include "settings/corpus.h"
#include "support/engine_fixture.h"

namespace plix::test {

struct TypeConcordance
{
    int corpusType;
    std::string corpus;
    std::string keyword;
    std::string textHeading;  // the Text column heading, without its line end
    // Per hit in result order: its Text reference, its Xml reference ("{file}"
    // standing for the corpus path in both) and its concordance line.
    struct Hit
    {
        std::string textReference;
        std::string xmlReference;
        std::string line;
    };
    std::vector<Hit> hits;
    // The information columns, when the type does not bring its own.
    int infoStart = 0;
    int infoEnd = 0;
};

// What a type's options page adds to a run.
struct TypeOptions
{
    // The options, set before the run.
    std::function<void(CCorpus&)> configure;
    // The lines the handler writes into the header block, without line ends.
    std::vector<std::string> headerLines;
    // A note the handler writes first in the header block without a line end
    // (the empty line after the block ends it), in its file and window forms.
    std::string fileNote;
    std::string windowNote;
};

// A hit of the parsed corpora: the unit's identifier and the hit's tag.
inline TypeConcordance::Hit ParsedHit(int line, const std::string& id, const std::string& pos,
                                      const std::string& context)
{
    const std::string n = std::to_string(line);
    return {"(" + n + ") " + id + " " + pos + " ",
            "<hit file=\"{file}\" line=\"" + n + "\"><reference>" + id + "</reference><pos>" + pos +
                "</pos>",
            context};
}

// The line format of these runs: short lines keep the expected texts legible.
inline constexpr int kTypeLineLength = 40;
inline constexpr int kTypePosition = 20;

inline std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The whole result of a keyword concordance of one file, as written.
inline std::string ExpectedConcordance(const TypeConcordance& c, bool xml, bool toFile,
                                       const std::string& path,
                                       const std::vector<std::string>& headerLines = {})
{
    const std::string eol = toFile ? "\n" : "\r\n";
    std::string text;
    if (xml) {
        text = "<?xml version=\"1.0\"?>" + eol + "<plix>" + eol + "<source>" + path + "</source>" +
               eol + "<plix_info>";
    } else {
        text = "Corpus File: " + path + eol;
    }
    for (const std::string& line : headerLines) {
        text += line + eol;
    }
    text += eol;
    text += "Keyword: " + c.keyword + eol;
    text += "Keyword Position: " + std::to_string(kTypePosition) + eol;
    if (xml) {
        text += "</plix_info>";
    }
    text += eol;
    text += (xml ? std::string() : c.textHeading) + eol;
    for (const TypeConcordance::Hit& hit : c.hits) {
        if (xml) {
            text += Replaced(hit.xmlReference, "{file}", path) + hit.line + "</hit>" + eol;
        } else {
            text += Replaced(hit.textReference, "{file}", path) + eol + hit.line + eol;
        }
    }
    const std::string total = std::to_string(c.hits.size());
    if (xml) {
        text += "<total>" + total + "</total>" + eol + "</plix>" + eol + eol;
    } else {
        text += eol + "Total Occurrence(s): " + total + eol + eol;
    }
    return text;
}

inline void ExpectConcordanceTexts(const TypeConcordance& c, const TypeOptions& options = {})
{
    for (bool xml : {false, true}) {
        for (bool toFile : {false, true}) {
            EngineTest t;
            const std::string path = t.AddFile("corpus.txt", c.corpus);
            t.ctx.corpus.SetCorpusType(c.corpusType);
            if (c.infoStart > 0) {
                t.ctx.corpus.SetInfoRange(c.infoStart, c.infoEnd);
            }
            t.ctx.corpus.SetOutputType(xml ? kOutputXml : kOutputText);
            t.ctx.corpus.SetLineFormat(kTypeLineLength, kTypePosition);
            t.ctx.corpus.SetOutputAsFiles(toFile ? 1 : 0);
            if (options.configure) {
                options.configure(t.ctx.corpus);
            }
            KeywordRequest request;
            request.keyword = c.keyword;
            CommandOutcome outcome = t.RunCommand(AnalysisCommand::Concordance, request);
            ASSERT_TRUE(outcome.completed) << outcome.reason;
            const std::string actual =
                toFile ? ReadFile(t.ctx.corpus.GetOutputFile(0)) : t.Window();
            std::string expected = ExpectedConcordance(c, xml, toFile, path, options.headerLines);
            const std::string head =
                xml ? "<plix_info>" : "Corpus File: " + path + (toFile ? "\n" : "\r\n");
            expected.insert(expected.find(head) + head.size(),
                            toFile ? options.fileNote : options.windowNote);
            EXPECT_EQ(actual, expected) << "type " << c.corpusType << (xml ? " Xml" : " Text")
                                        << (toFile ? " file" : " window");
        }
    }
}

}  // namespace plix::test
