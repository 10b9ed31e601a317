// The sort commands of a result view: the word list or concordance of one
// window re-sorted into another, with the lines above and below the sorted
// block copied as they stand. The window being read is not changed.
#pragma once

#include <QString>

#include "engine/result_sort.h"

namespace plix {

class CCorpus;
class CPlixDoc;
class CPlixView;
class CProgress;

enum class SortCommand
{
    Alphabet,
    Frequency,
    Keyword,
    Left,
    Right
};

// True for "&Alphabet" and "&Frequency".
bool IsWordListSort(SortCommand command);
// The `sortMode` of a concordance sort: 0 keyword, -1 left, 1 right.
int SortModeOf(SortCommand command);

// What a concordance re-sort read from the window it sorted.
struct ConcordanceSortInfo
{
    QString sortKeyword;
    int sortKeywordPosition = 0;
    int singleLineHits = 0;
    int hitFormat = 0;
};

// Appends `source`'s text to `target` in the order of the command, asking
// `progress` along the way; false when it was cancelled (the target keeps
// what it has).
bool ResortWordList(const CPlixDoc& source, CPlixView& target, WordListOrder order,
                    CProgress& progress);
bool ResortConcordance(const CPlixDoc& source, CPlixView& target, int sortMode,
                       const CCorpus& corpus, CProgress& progress,
                       ConcordanceSortInfo* info = nullptr);

}  // namespace plix
