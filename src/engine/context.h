// The objects that live for the whole run of the program — the settings
// record, the input reader, the output writer, the corpus handlers, the two
// pattern slots and the result counters — owned by one context, so that a test
// can start from a fresh one.
#pragma once

#include <cstdint>

#include "corpora/dispatch.h"
#include "engine/format.h"
#include "engine/input.h"
#include "engine/progress.h"
#include "match/gnu.h"
#include "settings/corpus.h"

namespace plix {

class CPlixContext
{
public:
    CPlixContext();
    ~CPlixContext();
    CPlixContext(const CPlixContext&) = delete;
    CPlixContext& operator=(const CPlixContext&) = delete;

    CCorpus corpus;
    CInput input;
    CFormat format;
    CGNU gnu;
    CHandlers handlers;

    // Tokens and types of the current result, printed by the list footer.
    int64_t totalTokens = 0;
    int64_t totalTypes = 0;

    void SetProgressFactory(CProgressFactory* factory) { progressFactory_ = factory; }
    std::unique_ptr<CProgress> MakeProgress();

private:
    CSilentProgressFactory silent_;
    CProgressFactory* progressFactory_ = nullptr;
};

}  // namespace plix
