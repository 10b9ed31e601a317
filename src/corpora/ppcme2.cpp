#include "corpora/ppcme2.h"

#include "corpora/find_text.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plix {

namespace {

constexpr std::string_view kIdNode = "(ID ";
// No label of the corpora comes near this length.
constexpr size_t kLongestLabel = 255;

// The key of a page entry, or of a text typed into the page's box: the text
// before its first ":", or the whole text when it has none. A typed label is
// meant as that label; the result of a run must not depend on what an earlier
// run chose.
std::string KeyOf(const std::string& text)
{
    return text.substr(0, text.find(':'));
}

template <size_t N>
std::string EntryAt(const std::array<std::string_view, N>& table, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= N) {
        return std::string();
    }
    return std::string(table[static_cast<size_t>(index)]);
}

}  // namespace

// clang-format off
const std::array<std::string_view, 83> CPPCME2::posTable = {
    "BE: infinitive",
    "BEI: imperative",
    "BEP: present (including present subjunctive)",
    "BED: past (including past subjunctive)",
    "BAG: present participle",
    "BEN: perfect participle",
    "HV: infinitive",
    "HVI: imperative",
    "HVP: present (including present subjunctive)",
    "HVD: past (including past subjunctive)",
    "HAG: present participle",
    "HVN: perfect participle",
    "HAN: passive participle (verbal or adjectival)",
    "DO: infinitive",
    "DOI: imperative",
    "DOP: present (including present subjunctive)",
    "DOD: past (including past subjunctive)",
    "DAG: present participle",
    "DON: perfect participle",
    "DAN: passive participle (verbal or adjectival)",
    "VB: infinitive",
    "VBI: imperative",
    "VBP: present (including present subjunctive)",
    "VBD: past (including past subjunctive)",
    "VAG: present participle",
    "VBN: perfect participle",
    "VAN: passive participle (verbal or adjectival)",
    "MD: Modal verb",
    "MD0: Untensed modal verb",
    "TO: Infinitival TO and AT",
    "FOR: Infinitival FOR in FOR TO",
    "FOR+TO: Cliticized FORTO",
    "N: Common noun, singular or mass",
    "N$: Possessive noun",
    "NS: Common noun, plural",
    "NS$: Possessive plural noun",
    "NPR: Proper noun, singular",
    "NPR$: Possessive proper noun",
    "NPRS: Proper noun, plural",
    "NPRS$: Possessive plural proper noun",
    "$: Possessive ending 'S or HIS used as possessive clitic",
    "PRO: Personal pronoun",
    "PRO$: Possessive pronoun",
    "EX: Existential THERE",
    "ADJ: Adjective",
    "ADJR: Adjective, comparative",
    "ADJS: Adjective, superlative",
    "ADV: Adverb",
    "ADVR: Adverb, comparative",
    "ADVS: Adverb, superlative",
    "Q: Quantifier",
    "QR: Quantifier, comparative (MORE, LESS, FEWER)",
    "QS: Quantifier, superlative (MOST, LEAST, FEWEST)",
    "WD: Wh-determiner",
    "WPRO: Wh-pronoun",
    "WPRO$: Possessive wh-pronoun",
    "WADV: Wh-adverb",
    "WQ: WHETHER",
    "CONJ: Coordinating conjunction",
    "NUM: Cardinal number",
    "C: Complementizer",
    "D: Determiner",
    "P: Preposition or subordinating conjunction",
    "NEG: Negation",
    "RP: Adverbial particle",
    "FP: Focus particle",
    "FW: Foreign word",
    "INTJ: Interjection",
    "ALSO: The words ALSO (except when = SO, AS or EVEN) and EKE",
    "ELSE: The word ELSE (in the collocation OR ELSE)",
    "ONE: The word ONE (except as focus particle)",
    "OTHER: The word OTHER (except as conjunction)",
    "OTHER$: Possessive nominal singular use of OTHER",
    "OTHERS: Plural nominal use of OTHER",
    "OTHERS$: Possessive nominal plural use of OTHER",
    "SUCH: The word SUCH",
    "WARD: The morpheme WARD",
    ".: Final punctuation (end of token) in POS files",
    "E_S: Final punctuation in parsed files",
    ",: Non-final punctuation",
    "\": Double quotation marks",
    "': Single quotation marks",
    "LB: Line break",
};

const std::array<std::string_view, 82> CPPCME2::labelTable = {
    "ADJP:adjective phrase",
    "ADJP-LOC:locative adjective phrase ",
    "ADJP-SPR:adjective phrase secondary predicate ",
    "ADJX:adjectival constituent, ambiguous level (ADJ, ADJ', or ADJP) ",
    "ADVP:adverb phrase ",
    "ADVP-DIR:directional adverb phrase ",
    "ADVP-LOC:locative adverb phrase ",
    "ADVP-LOC-LFD:left-dislocated locative adverb phrase ",
    "ADVP-TMP:temporal adverb phrase ",
    "ADVX:adverbial constituent, ambiguous level (ADV, ADV', or ADVP) ",
    "CONJP:conjunction phrase ",
    "CP-ADV:adverbial clause ",
    "CP-CAR:clause-adjoined relative ",
    "CP-CLF:it-cleft ",
    "CP-CMP:comparative clause ",
    "CP-DEG:degree complement ",
    "CP-EOP:empty operator complementizer phrase ",
    "CP-EXL:exclamation ",
    "CP-FRL:free relative ",
    "CP-QUE:question (direct or indirect) ",
    "CP-QUE-ADV:adverbial WHETHER question ",
    "CP-QUE-LFD:left-dislocated indirect question ",
    "CP-QUE-SBJ:indirect question subject ",
    "CP-REL:relative clause ",
    "CP-THT:that clause ",
    "CP-THT-LFD:left-dislocated that clause ",
    "CP-THT-SBJ:that clause subject ",
    "CP-TMC:tough-movement complement ",
    "FRAG:sentence fragment ",
    "FRENCH:French text ",
    "GREEK:Greek text ",
    "HEBREW:Hebrew text ",
    "INTJP:interjection phrase ",
    "IP-ABS:absolute clause ",
    "IP-IMP:imperative ",
    "IP-INF:complement infinitive ",
    "IP-INF-ABS:infinite absolute ",
    "IP-INF-ADT:adjunct infinitive ",
    "IP-INF-DEG:degree infinitive ",
    "IP-INF-LFD:left-dislocated infinitive ",
    "IP-INF-PRP:purpose infinitive ",
    "IP-INF-SBJ:infinitival subject ",
    "IP-MAT:matrix clause ",
    "IP-PPL:participial clause ",
    "IP-PPL-SBJ:participial clause subject ",
    "IP-SMC:small clause ",
    "IP-SUB:subordinate clause ",
    "LATIN:Latin text ",
    "NP:noun phrase ",
    "NP-ADT:adjunct noun phrase ",
    "NP-ADV:noun phrase adverb ",
    "NP-COM:noun phrase complement ",
    "NP-DIR:directional noun phrase ",
    "NP-DPS:dative of possession ",
    "NP-LFD:left-dislocated noun phrase ",
    "NP-LOC:locative noun phrase ",
    "NP-MSR:measure noun phrase ",
    "NP-OB1:first object ",
    "NP-OB2:second object ",
    "NP-POS:possessive noun phrase ",
    "NP-PRN:parenthetical or appositive noun phrase ",
    "NP-RFL:reflexive noun phrase ",
    "NP-SBJ:noun phrase subject ",
    "NP-SPR:noun phrase secondary predicate ",
    "NP-TMP:temporal noun phrase ",
    "NP-VOC:vocative noun phrase ",
    "NUMP:number phrase ",
    "NX:nominal constituent, ambiguous level (N, N', or NP) ",
    "PP:prepositional phrase ",
    "PP-LFD:left-dislocated prepositional phrase ",
    "QP:quantifier phrase ",
    "QTP:quotation phrase ",
    "QX:quantifier phrase, ambiguous level (Q, Q', or QP) ",
    "REF:reference ",
    "RRC:reduced relative clause ",
    "VP:verb phrase ",
    "WADJP:wh- adjective phrase ",
    "WADVP:wh- adverb phrase ",
    "WNP:wh- noun phrase ",
    "WPP:wh- prepositional phrase ",
    "WQP:wh- quantifier phrase ",
    "X:unknown ",
};
// clang-format on

int CPPCME2::GetPosCount()
{
    return static_cast<int>(posTable.size());
}

int CPPCME2::GetLabelCount()
{
    return static_cast<int>(labelTable.size());
}

std::string CPPCME2::GetPosEntry(int index)
{
    return EntryAt(posTable, index);
}

std::string CPPCME2::GetLabelEntry(int index)
{
    return EntryAt(labelTable, index);
}

void CPPCME2::Reset(const CCorpus& settings)
{
    // The search string of a node: its opening bracket, its label and the
    // blank after the label, so that "(NP-SBJ " keeps "(NP-SBJ-1" out.
    const std::string label = KeyOf(settings.ppcme2Node);
    targetNode_ = label.empty() ? std::string() : "(" + label + " ";
    selectedPos_ = KeyOf(settings.ppcme2Pos);
    unitId_.clear();
    hitPos_.clear();
    // Brooklyn's labels are searched as they stand.
    if (settings.GetCorpusType() == kTypeBrooklyn) {
        targetNode_ = settings.brooklynNode;
    }
    prepared_ = true;
}

void CPPCME2::Prepare(const CHandlerFrame& frame)
{
    if (!prepared_) {
        Reset(frame.Settings());
    }
}

CUnitAssembly& CPPCME2::UnitsFor(int corpusType)
{
    if (corpusType == kTypeBrooklyn) {
        return brooklynUnits_;
    }
    if (corpusType == kTypeYorkTorontoHelsinki) {
        return yorkUnits_;
    }
    return ppcme2Units_;
}

std::string CPPCME2::IdentifierOf(std::string_view text)
{
    // The node's closing brackets and whatever follows them go; an
    // identifier of one character keeps it.
    for (size_t i = text.size(); i-- > 0;) {
        if (std::isalnum(static_cast<unsigned char>(text[i])) != 0) {
            return std::string(text.substr(0, i + 1));
        }
    }
    return std::string(text);
}

void CPPCME2::BlankOutsideTarget(std::string& line, const std::string& target)
{
    if (target.empty()) {
        return;
    }
    const size_t n = line.size();
    size_t p = 0;
    while (p < n) {
        const size_t at = line.find(target, p);
        if (at == std::string::npos) {
            std::fill(line.begin() + static_cast<std::ptrdiff_t>(p), line.end(), ' ');
            return;
        }
        std::fill(line.begin() + static_cast<std::ptrdiff_t>(p),
                  line.begin() + static_cast<std::ptrdiff_t>(at), ' ');
        // The node runs from the found text to the bracket that closes the
        // node it was found in, or to the end of the unit when none does.
        size_t depth = 1;
        size_t i = at + 1;
        while (i < n && depth > 0) {
            if (line[i] == '(') {
                ++depth;
            } else if (line[i] == ')') {
                --depth;
            }
            ++i;
        }
        p = i;
    }
}

void CPPCME2::GiveBackOpeningBrackets(std::string& line, const std::string& kept)
{
    if (line.size() != kept.size()) {
        return;
    }
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        if (kept[i] == '(' && line[i] == ' ' && line[i + 1] != ' ' && line[i + 1] == kept[i + 1]) {
            line[i] = '(';
        }
    }
}

void CPPCME2::ScanUnit(std::string& line)
{
    // The assembly knows where the unit it completed has its identifier.
    const size_t hint = idHint_;
    idHint_ = std::string::npos;
    const size_t id = hint < line.size() && line.compare(hint, kIdNode.size(), kIdNode) == 0
                          ? hint
                          : FindText(line, kIdNode);
    if (id != std::string::npos) {
        unitId_ = IdentifierOf(std::string_view(line).substr(id + kIdNode.size()));
        line.erase(id);
    }
    scanned_ = true;
    lastHitAt_ = std::string::npos;
    lastOpen_ = std::string::npos;
    if (targetNode_.empty()) {
        // Nothing is blanked: the searched line is the kept unit.
        haveCopy_ = false;
        return;
    }
    textCopy_ = line;
    haveCopy_ = true;
    BlankOutsideTarget(line, targetNode_);
}

void CPPCME2::StripLabels(std::string& text)
{
    // Every closing bracket goes, then every opening bracket with the label
    // after it, up to the blank that ends the label. What is kept is never
    // longer than what was read, so the text is rewritten in place; the words
    // between the brackets are moved sixteen bytes at a time.
    char* data = text.data();
    const size_t n = text.size();
    size_t kept = 0;
    size_t i = 0;
    while (i < n) {
#if defined(__SSE2__)
        const __m128i open = _mm_set1_epi8('(');
        const __m128i close = _mm_set1_epi8(')');
        while (i + 16 <= n) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
            const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi8(block, open), _mm_cmpeq_epi8(block, close))));
            const size_t run = mask == 0 ? 16 : static_cast<size_t>(__builtin_ctz(mask));
            std::memmove(data + kept, data + i, run);
            kept += run;
            i += run;
            if (mask != 0) {
                break;
            }
        }
#endif
        while (i < n && data[i] != '(' && data[i] != ')') {
            data[kept++] = data[i++];
        }
        if (i >= n) {
            break;
        }
        if (data[i] == ')') {
            ++i;
            continue;
        }
        // A label: up to the blank after it, brackets inside it dropped too.
        while (i < n && data[i] != ' ') {
            ++i;
        }
    }
    text.resize(kept);
}

char CPPCME2::CharAt(const std::string& searched, size_t index) const
{
    const std::string& kept = KeptUnit(searched);
    return index < kept.size() ? kept[index] : ' ';
}

std::string CPPCME2::LabelAt(const std::string& text, size_t open)
{
    if (open >= text.size() || text[open] != '(') {
        return std::string();
    }
    // A label is short. A longer run after a bracket is the stuff of an
    // unparsed unit, not a label: as the tag of every hit in it, it would be
    // copied into the reference of each.
    const size_t from = open + 1;
    const size_t limit = std::min(text.size(), from + kLongestLabel + 1);
    size_t end = from;
    while (end < limit && text[end] != ' ') {
        ++end;
    }
    if (end - from > kLongestLabel) {
        return std::string();
    }
    return text.substr(from, end - from);
}

std::string CPPCME2::TagBefore(const std::string& text, size_t offset)
{
    if (text.empty()) {
        return std::string();
    }
    size_t i = std::min(offset, text.size() - 1);
    while (i > 0 && text[i] != '(') {
        --i;
    }
    // Text before the first node of a unit stands in no node: it has no tag.
    return LabelAt(text, i);
}

void CPPCME2::FindHitPos(const std::string& kept, size_t hitOffset)
{
    // The kept unit, not the searched one: a Brooklyn target is found at its
    // label, and the bracket before the label is blanked in the searched text.
    if (kept.empty()) {
        hitPos_.clear();
        return;
    }
    // The hits of a unit come in text order: the walk back to the node's
    // bracket stops where the one before began, so that a long unit with
    // many hits costs one walk.
    const size_t at = std::min(hitOffset, kept.size() - 1);
    const bool resume = lastHitAt_ != std::string::npos && at >= lastHitAt_;
    const size_t stop = resume ? lastHitAt_ : 0;
    size_t open = std::string::npos;
    for (size_t i = at;; --i) {
        if (kept[i] == '(') {
            open = i;
            break;
        }
        if (i == stop) {
            break;
        }
    }
    if (open == std::string::npos && resume) {
        open = lastOpen_;
    }
    lastHitAt_ = at;
    lastOpen_ = open;
    hitPos_ = LabelAt(kept, open);
}

void CPPCME2::BuildReference(const CCorpus& settings, std::string& out, int64_t lineNumber,
                             const std::string& fileName) const
{
    out += settings.FormatReference(lineNumber, fileName);
    out += settings.FormatTaggedField(unitId_, "reference");
    out += settings.FormatTaggedField(hitPos_, "pos");
}

void CPPCME2::WriteColumnHeader(CHandlerFrame& frame)
{
    const CCorpus& settings = frame.Settings();
    frame.Write(settings.GetLineHeading() + settings.FormatField("Reference") +
                settings.FormatField("POS") + settings.GetOccurrenceHeading() + frame.Eol());
}

void CPPCME2::WriteSelection(CHandlerFrame& frame) const
{
    if (targetNode_.empty()) {
        return;
    }
    // The note shows the label without the bracket of the search string.
    frame.Write(std::string(frame.ToFile() ? "within the node: " : "within the node:") +
                targetNode_.substr(1));
}

void CPPCME2::ResetForFile()
{
    prepared_ = false;
    unitId_.clear();
    hitPos_.clear();
    textCopy_.clear();
    haveCopy_ = false;
    scanned_ = false;
    lastHitAt_ = std::string::npos;
    lastOpen_ = std::string::npos;
    ppcme2Units_.Reset();
    brooklynUnits_.Reset();
    yorkUnits_.Reset();
}

void CPPCME2::AssembleUnit(CHandlerFrame& frame, std::string& line)
{
    Prepare(frame);
    // A line read ahead for the context of a hit comes back with its line end
    // before the reader's blank. It is joined as it was first read: an empty
    // line still ends a Brooklyn block, and no unit holds a line end where
    // another run of the same file would hold none.
    const size_t n = line.size();
    if (n >= 2 && line[n - 2] == '\n' && line[n - 1] == ' ') {
        line.erase(n - 2, 1);
    }
    std::string references;  // only PPCME1 has references between its units
    CUnitAssembly& units = UnitsFor(frame.CorpusType());
    (void)units.Assemble(line, references, frame.CurrentLineMarks());
    idHint_ = line.empty() ? std::string::npos : units.IdAt();
}

LinePrescan CPPCME2::PrescanFor(int corpusType) const
{
    return corpusType == kTypePpcme2 || corpusType == kTypeYorkTorontoHelsinki ? &ParsedLineMarks
                                                                               : nullptr;
}

bool CPPCME2::FinishUnit(CHandlerFrame& frame, std::string& line)
{
    Prepare(frame);
    const int type = frame.CorpusType();
    if (!UnitsFor(type).Finish(line)) {
        return false;
    }
    // A PPCME2 or York-Toronto-Helsinki unit closes with its identifier: one
    // cut short by the end of the file has none, and must not show the
    // identifier of the unit before it.
    if (type != kTypeBrooklyn && line.find(kIdNode) == std::string::npos) {
        unitId_.clear();
    }
    return true;
}

void CPPCME2::ScanLine(CHandlerFrame& frame, std::string& line)
{
    Prepare(frame);
    ScanUnit(line);
}

void CPPCME2::WriteHeader(CHandlerFrame& frame)
{
    Prepare(frame);
    WriteSelection(frame);
}

void CPPCME2::WriteColumnHeading(CHandlerFrame& frame, int)
{
    WriteColumnHeader(frame);
}

void CPPCME2::LocateHit(CHandlerFrame&, const std::string& line, size_t hitOffset)
{
    if (scanned_) {
        FindHitPos(KeptUnit(line), hitOffset);
    } else {
        hitPos_ = TagBefore(line, hitOffset);
    }
}

const std::string* CPPCME2::ContextSource() const
{
    return haveCopy_ ? &textCopy_ : nullptr;
}

void CPPCME2::RestoreLine(std::string& line)
{
    scanned_ = false;
    lastHitAt_ = std::string::npos;
    lastOpen_ = std::string::npos;
    if (!haveCopy_) {
        return;
    }
    // Swapped, not moved: the copy keeps a buffer for the next unit.
    line.swap(textCopy_);
    textCopy_.clear();
    haveCopy_ = false;
}

void CPPCME2::MakeReference(CHandlerFrame& frame, int, std::string& reference)
{
    BuildReference(frame.Settings(), reference, frame.LineNumber(), frame.SourceName());
}

void CPPCME2::CleanListLine(CHandlerFrame&, std::string& line)
{
    // Without a target node nothing was blanked that could be given back.
    if (haveCopy_ && !targetNode_.empty()) {
        GiveBackOpeningBrackets(line, textCopy_);
    }
    StripLabels(line);
}

}  // namespace plix
