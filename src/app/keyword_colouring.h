// Red keywords in a concordance window that the engine did not write: a
// re-sorted copy, a result saved as ".plx" and opened again. The keywords are
// found from the text itself, as a re-sort finds them.
#pragma once

namespace plix {

class CCorpus;
class CPlixDoc;

// Colours the keyword of every hit of `doc` red, when its text is a
// concordance whose keyword column is known (its "Keyword:" and "Keyword
// Position:" lines and the layout of its hit lines); returns how many. The
// colouring is no edit: the undo history and the modified flag stay as they
// were.
int ColourHitKeywords(CPlixDoc& doc, const CCorpus& corpus);

}  // namespace plix
