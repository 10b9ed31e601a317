#include "corpora/scots.h"

namespace plix {

CSCOTS::CSCOTS()
{
    auto set = [this](char letter, std::vector<std::string> list) {
        valueLists[static_cast<size_t>(letter - 'A')] = std::move(list);
    };
    set('C', {"SC0", "SC1", "SC2", "SC3"});
    set('D', {"CSC", "NSC", "X"});
    set('E', {"DIST DOWN", "DIST EQUAL", "DIST UP", "INT DOWN", "INT EQUAL", "INT UP", "X"});
    set('F', {"FRENCH", "FRENCH/X", "LATIN", "LATIN/FRENCH", "OTHER", "X"});
    set('G', {"TRANSL", "TRANSL/X", "X"});
    set('H', {"HIGH", "HIGH PROF", "OTHER GARDENER", "OTHER GLOVER", "OTHER TAILOR", "PROF",
              "PROF HIGH", "X"});
    set('I', {"FORMAL", "INFORMAL", "X"});
    set('J', {"INTERACTIVE", "X"});
    set('M', {"MEDIUM MS", "MEDIUM MS/H1", "MEDIUM MS/H2", "MEDIUM PRINTED", "MEDIUM X"});
    set('T', {"BIBLE", "BIOGR AUTO", "BIOGR OTHER", "DIARY PRIV", "EDUC TREAT", "HANDB OTHER",
              "HISTORY", "LAW", "LET NON-PRIV", "LET PRIV", "LOCAL RECORD", "PAMPHLET",
              "PROC TRIAL", "SCIENCE MEDICINE", "SCIENCE OTHER", "SERMON", "TRAVELOGUE"});
    set('U',
        {"NET DOCUM/ADMIN", "NET DOCUM/FAMILY", "NET DOCUM/PUBLIC", "NET FAMILY", "NET OFF",
         "NET PROF", "NET PROF/PUBLIC", "NET PUBLIC", "NET ROYAL", "NET ROYAL/PUBLIC", "NET X"});
    set('V', {"PROSE"});
    set('W', {"SCRIPT", "SPEECH-BASED", "WRITTEN"});
    set('X', {"MALE", "FEMALE", "X"});
    set('Y', {"-20", "20-40", "20-40/40-60", "40-60", "60-", "X"});
    set('Z', {"ARGUM", "ARGUM/NARR IMAG", "EXPOS", "INSTR REL", "INSTR SEC", "NARR NON-IMAG",
              "STAT", "X"});
}

const std::vector<std::string>& CSCOTS::GetValues(int letterIndex) const
{
    static const std::vector<std::string> none;
    if (letterIndex < 0 || letterIndex >= static_cast<int>(valueLists.size())) {
        return none;
    }
    return valueLists[static_cast<size_t>(letterIndex)];
}

}  // namespace plix
