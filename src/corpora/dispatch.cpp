#include "corpora/dispatch.h"

#include "corpora/ace.h"
#include "corpora/bnc.h"
#include "corpora/brooklyn.h"
#include "corpora/brown.h"
#include "corpora/cocoa.h"
#include "corpora/copc.h"
#include "corpora/fixed.h"
#include "corpora/frown.h"
#include "corpora/helsinki.h"
#include "corpora/icamet.h"
#include "corpora/ice.h"
#include "corpora/lob.h"
#include "corpora/penn.h"
#include "corpora/ppcme2.h"
#include "corpora/sgml.h"
#include "settings/corpus.h"

namespace plix {

namespace {

using H = HandlerId;
constexpr H kNone = kNoHandler;

// One row per corpus type, in code order. The read-ahead text of a hit is
// cleaned twice over for the Brown family: each line as it is read ahead
// (the identifier columns), then the whole text (LOB's codes, FROWN's tags).
// clang-format off
constexpr std::array<CorpusRow, kCorpusTypeCount> kRows = {{
//   type assemble  ScanLine                        IsSelected WriteHeader    ColumnHeading CleanFollowing PeekClean   LocateHit  ContextSource MakeReference         AmendLine ListClean  SourceOpened
    {0,   kNone,    {},                             kNone,     {},            kNone,        {},            {},         kNone,     kNone,        {},                   kNone,    kNone,     kNone},
    {1,   kNone,    {H::Cocoa},                     H::Cocoa,  {H::Cocoa},    H::Cocoa,     {H::Cocoa},    {},         kNone,     kNone,        {H::Cocoa},           kNone,    kNone,     kNone},
    {2,   kNone,    {H::Sgml},                      kNone,     {H::Sgml},     H::Sgml,      {H::Sgml},     {},         kNone,     kNone,        {H::Sgml},            kNone,    kNone,     kNone},
    {3,   kNone,    {H::Fixed},                     kNone,     {},            H::Fixed,     {},            {H::Fixed}, kNone,     kNone,        {H::Fixed},           kNone,    kNone,     kNone},
    {4,   kNone,    {H::Helsinki, H::Cocoa},        H::Cocoa,  {H::Cocoa, H::Helsinki}, H::Helsinki, {H::Helsinki, H::Cocoa}, {}, kNone, kNone, {H::Cocoa},        kNone,    kNone,     kNone},
    {5,   kNone,    {H::Helsinki, H::Cocoa},        H::Cocoa,  {H::Cocoa, H::Helsinki}, H::Helsinki, {H::Helsinki, H::Cocoa}, {}, kNone, kNone, {H::Cocoa},        kNone,    kNone,     kNone},
    {6,   kNone,    {H::Helsinki, H::Cocoa},        H::Cocoa,  {H::Cocoa, H::Helsinki}, H::Helsinki, {H::Helsinki, H::Cocoa}, {}, kNone, kNone, {H::Cocoa},        kNone,    kNone,     kNone},
    {7,   kNone,    {H::Brown, H::Fixed},           kNone,     {},            H::Brown,     {},            {H::Fixed}, kNone,     kNone,        {H::Fixed, H::Brown}, kNone,    kNone,     kNone},
    {8,   kNone,    {H::Brown, H::Fixed, H::Lob},   kNone,     {},            H::Brown,     {H::Lob},      {H::Fixed}, kNone,     kNone,        {H::Fixed, H::Brown}, kNone,    kNone,     kNone},
    {9,   kNone,    {H::Brown, H::Fixed, H::Frown}, kNone,     {},            H::Brown,     {H::Frown},    {H::Fixed}, kNone,     kNone,        {H::Fixed, H::Brown}, kNone,    kNone,     kNone},
    {10,  kNone,    {H::Ace},                       kNone,     {H::Ace},      H::Ace,       {H::Ace},      {},         kNone,     kNone,        {H::Ace},             kNone,    kNone,     kNone},
    {11,  H::Penn,  {H::Penn},                      H::Penn,   {H::Penn},     H::Penn,      {},            {},         H::Penn,   kNone,        {H::Penn},            H::Penn,  H::Penn,   kNone},
    {12,  H::Ppcme2,{H::Ppcme2},                    kNone,     {H::Ppcme2},   H::Ppcme2,    {},            {},         H::Ppcme2, H::Ppcme2,    {H::Ppcme2},          kNone,    H::Ppcme2, kNone},
    {13,  H::Ppcme2,{H::Ppcme2},                    kNone,     {H::Brooklyn}, H::Brooklyn,  {},            {},         H::Ppcme2, H::Ppcme2,    {H::Ppcme2},          kNone,    H::Ppcme2, kNone},
    {14,  H::Ppcme2,{H::Ppcme2},                    kNone,     {H::Ppcme2},   H::Ppcme2,    {},            {},         H::Ppcme2, H::Ppcme2,    {H::Ppcme2},          kNone,    H::Ppcme2, kNone},
    {15,  kNone,    {H::Ice},                       H::Ice,    {},            H::Ice,       {},            {H::Ice},   kNone,     kNone,        {H::Ice},             kNone,    kNone,     H::Ice},
    {16,  kNone,    {H::Bnc},                       kNone,     {H::Sgml},     H::Bnc,       {H::Bnc},      {},         H::Bnc,    kNone,        {H::Bnc},             kNone,    kNone,     kNone},
    {17,  kNone,    {H::Copc},                      kNone,     {},            H::Copc,      {},            {H::Copc},  kNone,     kNone,        {H::Copc},            kNone,    kNone,     kNone},
    {18,  kNone,    {H::Icamet},                    kNone,     {},            H::Icamet,    {H::Icamet},   {},         kNone,     kNone,        {H::Icamet},          kNone,    kNone,     kNone},
}};
// clang-format on

constexpr bool TypesInRowOrder()
{
    for (size_t i = 0; i < kRows.size(); ++i) {
        if (kRows[i].type != static_cast<int>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(TypesInRowOrder(), "the type column must equal the row index");

// The handlers that keep per-file state, in the order they are reset.
constexpr std::array<HandlerId, 11> kResetOrder = {H::Cocoa, H::Sgml,   H::Fixed, H::Helsinki,
                                                   H::Penn,  H::Ppcme2, H::Ace,   H::Ice,
                                                   H::Bnc,   H::Icamet, H::Copc};

constexpr std::array<const char*, kHandlerCount> kNames = {
    "CCocoa", "CSgml",   "CFixed",    "CHelsinki", "Cbrown", "CLOB",  "CFrown", "CACE",
    "CPenn",  "CPPCME2", "CBrooklyn", "CICE",      "CBNC",   "CCOPC", "CICAMET"};

}  // namespace

const char* RoleName(Role role)
{
    static constexpr std::array<const char*, static_cast<size_t>(Role::Count)> names = {
        "ResetForFile",       "SourceOpened",     "AssembleUnit",    "FinishUnit",
        "ScanLine",           "IsSelected",       "WriteHeader",     "WriteColumnHeading",
        "CleanFollowingText", "LocateHit",        "ContextSource",   "RestoreLine",
        "MakeReference",      "AmendContextLine", "CleanPeekedLine", "CleanListLine"};
    return names[static_cast<size_t>(role)];
}

const char* HandlerName(HandlerId id)
{
    return id == kNoHandler ? "none" : kNames[static_cast<size_t>(id)];
}

const CorpusRow& CorpusRowFor(int corpusType)
{
    if (corpusType < 0 || corpusType >= kCorpusTypeCount) {
        return kRows[0];
    }
    return kRows[static_cast<size_t>(corpusType)];
}

std::vector<RoleUse> RolesNamed(const CorpusRow& row)
{
    std::vector<RoleUse> uses;
    auto one = [&uses](HandlerId id, Role role) {
        if (id != kNoHandler) {
            uses.push_back({id, role});
        }
    };
    auto chain = [&one](const HandlerChain& ids, Role role) {
        for (HandlerId id : ids) {
            one(id, role);
        }
    };
    one(row.assembleUnit, Role::AssembleUnit);
    one(row.assembleUnit, Role::FinishUnit);
    chain(row.scanLine, Role::ScanLine);
    one(row.isSelected, Role::IsSelected);
    chain(row.writeHeader, Role::WriteHeader);
    one(row.columnHeading, Role::WriteColumnHeading);
    chain(row.cleanFollowing, Role::CleanFollowingText);
    chain(row.peekClean, Role::CleanPeekedLine);
    one(row.locateHit, Role::LocateHit);
    one(row.contextSource, Role::ContextSource);
    one(row.contextSource, Role::RestoreLine);
    chain(row.makeReference, Role::MakeReference);
    one(row.amendContextLine, Role::AmendContextLine);
    one(row.listClean, Role::CleanListLine);
    one(row.sourceOpened, Role::SourceOpened);
    return uses;
}

const std::vector<HandlerId>& ResetOrder()
{
    static const std::vector<HandlerId> order(kResetOrder.begin(), kResetOrder.end());
    return order;
}

template <class H, class... Args>
void CHandlers::Make(HandlerId id, std::unique_ptr<H>& owner, Args&... args)
{
    owner = std::make_unique<H>(args...);
    Register(id, owner.get(), RolesOf<H>());
}

// Every handler of the program, made and registered once. A handler that
// builds on another is handed it here.
CHandlers::CHandlers()
{
    Make(HandlerId::Cocoa, cocoa_);
    Make(HandlerId::Sgml, sgml_);
    Make(HandlerId::Ace, ace_, *sgml_);
    Make(HandlerId::Fixed, fixed_);
    Make(HandlerId::Brown, brown_);
    Make(HandlerId::Lob, lob_);
    Make(HandlerId::Frown, frown_);
    Make(HandlerId::Copc, copc_);
    Make(HandlerId::Icamet, icamet_);
    Make(HandlerId::Helsinki, helsinki_);
    Make(HandlerId::Ice, ice_);
    Make(HandlerId::Bnc, bnc_, *sgml_);
    Make(HandlerId::Penn, penn_, *cocoa_);
    Make(HandlerId::Ppcme2, ppcme2_);
    Make(HandlerId::Brooklyn, brooklyn_);
}

static_assert(CHelsinki::kLevelCount == 7 && CPenn::kLevelCount == 7,
              "the options page has seven deletion switches");

void CHandlers::SetDeleteSwitches(const std::array<int, 7>& switches)
{
    helsinki_->SetDeleteSwitches(switches);
    // The Penn handler keeps its own copy of the same seven switches.
    penn_->SetDeleteSwitches(switches);
}

CHandlers::~CHandlers() = default;

void CHandlers::Register(HandlerId id, CCorpusHandler* handler, RoleSet roles)
{
    if (id == kNoHandler) {
        return;
    }
    slots_[static_cast<size_t>(id)] = {handler, handler != nullptr ? roles : 0};
}

RoleSet CHandlers::Roles(HandlerId id) const
{
    return id == kNoHandler ? 0 : slots_[static_cast<size_t>(id)].roles;
}

bool CHandlers::Provides(HandlerId id, Role role) const
{
    return Get(id) != nullptr && (Roles(id) & RoleBit(role)) != 0;
}

std::vector<std::string> CHandlers::MissingRoles(int corpusType) const
{
    std::vector<std::string> missing;
    for (const RoleUse& use : RolesNamed(CorpusRowFor(corpusType))) {
        if (!Provides(use.handler, use.role)) {
            missing.push_back(std::string(HandlerName(use.handler)) + ": " + RoleName(use.role));
        }
    }
    return missing;
}

bool CHandlers::TypeAvailable(int corpusType) const
{
    return MissingRoles(corpusType).empty();
}

}  // namespace plix
