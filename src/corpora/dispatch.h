// Which handler plays which role for each corpus type: one table, read by the
// run frame at its fixed call points, and the one place where the handlers of
// the program are made and registered.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "corpora/ceecs.h"
#include "corpora/handler.h"
#include "corpora/scots.h"

namespace plix {

class CACE;
class CCocoa;
class CSgml;
class CFixed;
class Cbrown;
class CLOB;
class CFrown;
class CCOPC;
class CICAMET;
class CHelsinki;
class CICE;
class CBNC;
class CPenn;
class CPPCME2;
class CBrooklyn;

enum class HandlerId : int
{
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
inline constexpr size_t kHandlerCount = static_cast<size_t>(HandlerId::Count);

// The class name of a handler, for messages.
const char* HandlerName(HandlerId id);

// Handlers called one after another, in the order given (three at most).
class HandlerChain
{
  public:
    constexpr HandlerChain() = default;
    constexpr HandlerChain(std::initializer_list<HandlerId> ids)
    {
        for (HandlerId id : ids) {
            ids_[count_++] = id;  // more than three does not compile in the table
        }
    }
    constexpr const HandlerId* begin() const { return ids_; }
    constexpr const HandlerId* end() const { return ids_ + count_; }
    constexpr size_t size() const { return count_; }
    constexpr bool empty() const { return count_ == 0; }
    constexpr bool operator==(const HandlerChain& other) const
    {
        if (count_ != other.count_) {
            return false;
        }
        for (size_t i = 0; i < count_; ++i) {
            if (ids_[i] != other.ids_[i]) {
                return false;
            }
        }
        return true;
    }

  private:
    HandlerId ids_[3]{};
    size_t count_ = 0;
};

struct CorpusRow
{
    int type;
    HandlerId assembleUnit;       // parsed corpora: physical lines into units, before ScanLine
    HandlerChain scanLine;        // every line read
    HandlerId isSelected;         // kNoHandler: every line is selected
    HandlerChain writeHeader;     // the header block of every file
    HandlerId columnHeading;      // kNoHandler: no column heading
    HandlerChain cleanFollowing;  // the text read ahead for a right context
    HandlerChain peekClean;       // each line the input reader reads ahead
    HandlerId locateHit;          // told where each hit is
    HandlerId contextSource;      // gives the bytes of concordance lines, and restores the line
    HandlerChain makeReference;   // empty: the settings record's plain reference
    HandlerId amendContextLine;   // adds to a hit's concordance line after its reference
    HandlerId listClean;          // accepted lines in the word-list, index and rhyme modes
    HandlerId sourceOpened;       // told the source name once the input is open
};

const CorpusRow& CorpusRowFor(int corpusType);

// Every role the row gives a handler, as (handler, role) pairs.
struct RoleUse
{
    HandlerId handler;
    Role role;
};
std::vector<RoleUse> RolesNamed(const CorpusRow& row);

// The handlers whose per-file state is reset when a file begins, in that order.
const std::vector<HandlerId>& ResetOrder();

// One instance of each corpus handler for the whole program, made and
// registered here. The frame reaches them through the table by id; the options
// sheet and plix-cli reach each by its type (Cocoa(), ...).
class CHandlers
{
  public:
    CHandlers();
    ~CHandlers();
    CHandlers(const CHandlers&) = delete;
    CHandlers& operator=(const CHandlers&) = delete;

    CCocoa& Cocoa() const { return *cocoa_; }
    CSgml& Sgml() const { return *sgml_; }
    CACE& Ace() const { return *ace_; }
    CFixed& Fixed() const { return *fixed_; }
    Cbrown& Brown() const { return *brown_; }
    CLOB& Lob() const { return *lob_; }
    CFrown& Frown() const { return *frown_; }
    CCOPC& Copc() const { return *copc_; }
    CICAMET& Icamet() const { return *icamet_; }
    CHelsinki& Helsinki() const { return *helsinki_; }
    // The value tables of the Scots and CEECS corpora, for the COCOA page.
    const CCEECS& Ceecs() const { return ceecs_; }
    const CSCOTS& Scots() const { return scots_; }
    CICE& Ice() const { return *ice_; }
    CBNC& Bnc() const { return *bnc_; }
    CPenn& Penn() const { return *penn_; }
    CPPCME2& Ppcme2() const { return *ppcme2_; }
    CBrooklyn& Brooklyn() const { return *brooklyn_; }

    // The seven deletion switches of the Helsinki options page, by level,
    // into every handler that keeps them.
    void SetDeleteSwitches(const std::array<int, 7>& switches);

    // Asked several times a line: inline.
    CCorpusHandler* Get(HandlerId id) const
    {
        return id == kNoHandler ? nullptr : slots_[static_cast<size_t>(id)].handler;
    }
    RoleSet Roles(HandlerId id) const;
    bool Provides(HandlerId id, Role role) const;

    // Puts `handler` in the place of the handler `id` for every call of the
    // table (tests script a handler this way). The object must outlive its use.
    template <class H>
    void StandIn(HandlerId id, H* handler)
    {
        Register(id, handler, RolesOf<H>());
    }

    // True when every handler the type's row names exists and provides the
    // role the row gives it.
    bool TypeAvailable(int corpusType) const;
    // What is missing for the type, one entry a role ("CLOB: CleanFollowingText").
    std::vector<std::string> MissingRoles(int corpusType) const;

  private:
    struct Slot
    {
        CCorpusHandler* handler = nullptr;
        RoleSet roles = 0;
    };
    void Register(HandlerId id, CCorpusHandler* handler, RoleSet roles);
    // Makes the handler of `id`, keeps it in `owner` and registers it.
    template <class H, class... Args>
    void Make(HandlerId id, std::unique_ptr<H>& owner, Args&... args);

    std::array<Slot, kHandlerCount> slots_{};
    std::unique_ptr<CCocoa> cocoa_;
    std::unique_ptr<CSgml> sgml_;  // before the handlers that are handed it
    std::unique_ptr<CACE> ace_;
    std::unique_ptr<CFixed> fixed_;
    std::unique_ptr<Cbrown> brown_;
    std::unique_ptr<CLOB> lob_;
    std::unique_ptr<CFrown> frown_;
    std::unique_ptr<CCOPC> copc_;
    std::unique_ptr<CICAMET> icamet_;
    std::unique_ptr<CHelsinki> helsinki_;
    CCEECS ceecs_;
    CSCOTS scots_;
    std::unique_ptr<CICE> ice_;
    std::unique_ptr<CBNC> bnc_;
    std::unique_ptr<CPenn> penn_;
    std::unique_ptr<CPPCME2> ppcme2_;
    std::unique_ptr<CBrooklyn> brooklyn_;
};

}  // namespace plix
