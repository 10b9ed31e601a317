// Loading the settings record from the per-user store at start-up and saving it
// at exit, in the fixed orders that make the record's setters interact as they
// should (the locale remembered before one is chosen, the corpus type before the
// stored fixed-column range, the marks before the output type).
#pragma once

#include "settings/corpus.h"
#include "settings/settings_store.h"

namespace plix {

// The most corpus list entries read from, or cleaned up in, the store. A list
// longer than this cannot come from the corpus picker; a larger "Max" is taken
// for a damaged store rather than a reason to loop or allocate without end.
inline constexpr int kMaxStoredEntries = 100000;

// Reads the persisted fields into `corpus`. Missing values take their defaults;
// so do values that no dialog could have stored (a non-number, a corpus type of
// 99, a line length of 5), so a damaged store never yields a record the dialogs
// could not show.
void LoadSettings(CCorpus& corpus, const CSettingsStore& store);

// Writes the persisted fields, removing the numbered entries that a shorter
// list no longer has.
void SaveSettings(const CCorpus& corpus, CSettingsStore& store);

}  // namespace plix
