// What the concordances of the parsed corpora share: the reference of a hit
// with the unit's identifier and the hit's tag, the column heading, and runs
// with a target node, whose note in the header block has a blank after its
// colon in a file and none in a window, and no line end of its own.
#pragma once

#include <functional>
#include <string>

#include "concordance_texts.h"

namespace plix::test {

inline constexpr const char* kParsedHeading = "(line) Reference POS Occurrence";

inline TypeConcordance::Hit ParsedHit(int line, const std::string& id, const std::string& pos,
                                      const std::string& context)
{
    const std::string n = std::to_string(line);
    return {"(" + n + ") " + id + " " + pos + " ",
            "<hit file=\"{file}\" line=\"" + n + "\"><reference>" + id + "</reference><pos>" + pos +
                "</pos>",
            context};
}

inline void ExpectTargetConcordance(const TypeConcordance& c,
                                    const std::function<void(CCorpus&)>& set,
                                    const std::string& fileNote, const std::string& windowNote)
{
    for (bool xml : {false, true}) {
        for (bool toFile : {false, true}) {
            EngineTest t;
            const std::string path = t.AddFile("corpus.txt", c.corpus);
            CCorpus& corpus = t.ctx.corpus;
            corpus.SetCorpusType(c.corpusType);
            corpus.SetOutputType(xml ? kOutputXml : kOutputText);
            corpus.SetLineFormat(kTypeLineLength, kTypePosition);
            corpus.SetOutputAsFiles(toFile ? 1 : 0);
            set(corpus);
            KeywordRequest request;
            request.keyword = c.keyword;
            CommandOutcome outcome = t.RunCommand(AnalysisCommand::Concordance, request);
            ASSERT_TRUE(outcome.completed) << outcome.reason;
            const std::string actual = toFile ? ReadFile(corpus.GetOutputFile(0)) : t.Window();
            // The note has no line end of its own: the empty line that ends
            // the header block ends it.
            std::string expected = ExpectedConcordance(c, xml, toFile, path);
            const std::string head =
                xml ? "<plix_info>" : "Corpus File: " + path + (toFile ? "\n" : "\r\n");
            expected.insert(expected.find(head) + head.size(), toFile ? fileNote : windowNote);
            EXPECT_EQ(actual, expected) << "type " << c.corpusType << (xml ? " Xml" : " Text")
                                        << (toFile ? " file" : " window");
        }
    }
}

}  // namespace plix::test
