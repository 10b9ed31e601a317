// CICE: the parsed, one-node-per-line form of ICE texts. A line is a markup
// line in brackets (the text-unit marker "<#unit:subtext:speaker>" and the
// markers of ignored, added and overlapping stretches), a line opening with
// "<" that names the text, or a tree node "FUNCTION,CATEGORY(features)" that
// ends, for a word, with the word in braces. Every line becomes the word it
// carries, or nothing; the unit, speaker and node values filter the lines and
// go into the reference of every hit.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "corpora/handler.h"

namespace plix {

class CCorpus;

class CICE final : public CCorpusHandler
{
  public:
    // The labels the options page offers: function and category labels for
    // its Function and Category boxes, feature labels for its Feature box.
    static const std::array<std::string_view, 93> functionLabels;
    static const std::array<std::string_view, 71> featureLabels;

    void ResetForFile() override;
    void SourceOpened(const std::string& sourceName) override;
    void ScanLine(CHandlerFrame& frame, std::string& line) override;
    bool IsSelected(CHandlerFrame& frame) override;
    void WriteColumnHeading(CHandlerFrame& frame, int outputType) override;
    void MakeReference(CHandlerFrame& frame, int outputType, std::string& reference) override;
    void CleanPeekedLine(std::string& line) override;

    // The work of the roles.
    void Reset();
    void SetFileId(const std::string& name);
    // Takes the values a line carries and leaves the word in it, followed by
    // one blank, or nothing.
    void ReadLine(std::string& line);
    bool Accepts(const CCorpus& settings) const;
    // A line read ahead for the context of a hit: the words of its braces,
    // each followed by one blank; a markup line has none.
    static void CleanText(std::string& text);
    void BuildReference(const CCorpus& settings, int64_t lineNumber, const std::string& sourceName,
                        std::string& out) const;
    void WriteColumnHeader(CHandlerFrame& frame) const;

    const std::string& FileId() const { return fileId_; }
    const std::string& Unit() const { return unit_; }
    const std::string& Subtext() const { return subtext_; }
    // The speaker letter, a blank when the last unit marker named none, and
    // 0 before the first marker of a file.
    char Speaker() const { return speaker_; }
    const std::string& Function() const { return function_; }
    const std::string& Category() const { return category_; }
    const std::string& Features() const { return features_; }
    bool InIgnored() const { return inIgnored_; }
    bool InAddition() const { return inAddition_; }
    bool InOverlap() const { return inOverlap_; }

  private:
    void ReadMarkup(const std::string& line);
    void ReadNode(const std::string& line);

    std::string unit_;
    char speaker_ = 0;
    std::string subtext_;
    std::string fileId_;
    std::string function_;
    std::string category_;
    std::string features_;
    bool inIgnored_ = false;
    bool inAddition_ = false;
    bool inOverlap_ = false;
};

}  // namespace plix
