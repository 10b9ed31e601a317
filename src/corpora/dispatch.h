// Which handler plays which role for each corpus type: one table, read by the
// run frame at its fixed call points.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "corpora/handler.h"

namespace plix {

enum class HandlerId : int {
    Cocoa,
    Sgml,
    Fixed,
    Helsinki,
    Brown,
    Lob,
    Frown,
    Ace,
    Penn,
    Ppcme2,
    Brooklyn,
    Ice,
    Bnc,
    Copc,
    Icamet,
    Count
};

inline constexpr HandlerId kNoHandler = HandlerId::Count;

struct CorpusRow
{
    int type;
    std::vector<HandlerId> scanLine;       // in this order; empty: no cleaning
    HandlerId isSelected;                  // kNoHandler: every line is selected
    std::vector<HandlerId> writeHeader;    // in this order
    HandlerId columnHeading;               // kNoHandler: no column heading
    std::vector<HandlerId> cleanFollowing; // in this order
    std::vector<HandlerId> makeReference;  // empty: the settings record's plain reference
    HandlerId peekClean;                   // cleans lines gathered by the input reader
    HandlerId listClean;                   // cleans accepted lines in the list modes
    int sentencePrepass;                   // 0, or the type whose sentence assembly runs
};

const CorpusRow& CorpusRowFor(int corpusType);

// The handlers whose per-file state is reset when a file begins, in that order.
const std::vector<HandlerId>& ResetOrder();

// One instance of each corpus handler for the whole program. A handler that has
// not been built yet is missing, and so are the corpus types that need it.
class CHandlers
{
public:
    CHandlers();
    ~CHandlers();
    CCorpusHandler* Get(HandlerId id) const;
    void Set(HandlerId id, std::unique_ptr<CCorpusHandler> handler);
    // True when every handler the type's row names exists.
    bool TypeAvailable(int corpusType) const;

private:
    std::array<std::unique_ptr<CCorpusHandler>, static_cast<size_t>(HandlerId::Count)> handlers_;
};

}  // namespace plix
