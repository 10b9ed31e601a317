#include "corpora/dispatch.h"

#include "settings/corpus.h"

namespace plix {

namespace {

using H = HandlerId;
constexpr H kNone = kNoHandler;

// clang-format off
const std::array<CorpusRow, kCorpusTypeCount> kRows = {{
//   type  ScanLine                     IsSelected  WriteHeader               ColumnHeading CleanFollowing            MakeReference        peek      list      prepass
    {0,  {},                            kNone,      {},                       kNone,        {},                       {},                  kNone,    kNone,    0},
    {1,  {H::Cocoa},                    H::Cocoa,   {H::Cocoa},               H::Cocoa,     {H::Cocoa},               {H::Cocoa},          kNone,    kNone,    0},
    {2,  {H::Sgml},                     kNone,      {H::Sgml},                H::Sgml,      {H::Sgml},                {H::Sgml},           kNone,    kNone,    0},
    {3,  {H::Fixed},                    kNone,      {},                       H::Fixed,     {},                       {H::Fixed},          H::Fixed, kNone,    0},
    {4,  {H::Helsinki, H::Cocoa},       H::Cocoa,   {H::Cocoa, H::Helsinki},  H::Helsinki,  {H::Helsinki, H::Cocoa},  {H::Cocoa},          kNone,    kNone,    0},
    {5,  {H::Helsinki, H::Cocoa},       H::Cocoa,   {H::Cocoa, H::Helsinki},  H::Helsinki,  {H::Helsinki, H::Cocoa},  {H::Cocoa},          kNone,    kNone,    0},
    {6,  {H::Helsinki, H::Cocoa},       H::Cocoa,   {H::Cocoa, H::Helsinki},  H::Helsinki,  {H::Helsinki, H::Cocoa},  {H::Cocoa},          kNone,    kNone,    0},
    {7,  {H::Brown, H::Fixed},          kNone,      {},                       H::Brown,     {},                       {H::Fixed, H::Brown}, H::Fixed, kNone,    0},
    {8,  {H::Brown, H::Fixed, H::Lob},  kNone,      {},                       H::Brown,     {H::Lob},                 {H::Fixed, H::Brown}, H::Fixed, kNone,    0},
    {9,  {H::Brown, H::Fixed, H::Frown},kNone,      {},                       H::Brown,     {H::Frown},               {H::Fixed, H::Brown}, H::Fixed, kNone,    0},
    {10, {H::Ace},                      H::Ace,     {H::Sgml},                H::Ace,       {H::Ace},                 {H::Ace},            kNone,    kNone,    0},
    {11, {H::Penn},                     H::Penn,    {H::Penn},                H::Penn,      {H::Penn},                {H::Penn},           kNone,    H::Penn,  11},
    {12, {H::Ppcme2},                   kNone,      {H::Ppcme2},              H::Ppcme2,    {H::Ppcme2},              {H::Ppcme2},         kNone,    H::Ppcme2, 12},
    {13, {H::Ppcme2},                   kNone,      {H::Brooklyn},            H::Brooklyn,  {H::Ppcme2},              {H::Ppcme2},         kNone,    H::Ppcme2, 13},
    {14, {H::Ppcme2},                   kNone,      {H::Ppcme2},              H::Ppcme2,    {H::Ppcme2},              {H::Ppcme2},         kNone,    H::Ppcme2, 14},
    {15, {H::Ice},                      H::Ice,     {},                       H::Ice,       {},                       {H::Ice},            H::Ice,   kNone,    0},
    {16, {H::Bnc},                      H::Bnc,     {H::Sgml},                H::Bnc,       {H::Bnc},                 {H::Bnc},            kNone,    kNone,    0},
    {17, {H::Copc},                     kNone,      {},                       H::Copc,      {},                       {H::Copc},           H::Copc,  kNone,    0},
    {18, {H::Icamet},                   kNone,      {},                       H::Icamet,    {H::Icamet},              {H::Icamet},         kNone,    kNone,    0},
}};
// clang-format on

}  // namespace

const CorpusRow& CorpusRowFor(int corpusType)
{
    if (corpusType < 0 || corpusType >= kCorpusTypeCount) {
        return kRows[0];
    }
    return kRows[static_cast<size_t>(corpusType)];
}

const std::vector<HandlerId>& ResetOrder()
{
    static const std::vector<HandlerId> order = {H::Cocoa, H::Sgml,  H::Fixed, H::Helsinki, H::Penn,
                                                 H::Ppcme2, H::Lob,  H::Frown, H::Ace,      H::Ice,
                                                 H::Bnc,   H::Icamet, H::Copc};
    return order;
}

CHandlers::CHandlers() = default;
CHandlers::~CHandlers() = default;

CCorpusHandler* CHandlers::Get(HandlerId id) const
{
    if (id == kNoHandler) {
        return nullptr;
    }
    return handlers_[static_cast<size_t>(id)].get();
}

void CHandlers::Set(HandlerId id, std::unique_ptr<CCorpusHandler> handler)
{
    if (id != kNoHandler) {
        handlers_[static_cast<size_t>(id)] = std::move(handler);
    }
}

bool CHandlers::TypeAvailable(int corpusType) const
{
    const CorpusRow& row = CorpusRowFor(corpusType);
    auto has = [this](HandlerId id) { return id == kNoHandler || Get(id) != nullptr; };
    auto hasAll = [&](const std::vector<HandlerId>& ids) {
        for (HandlerId id : ids) {
            if (!has(id)) {
                return false;
            }
        }
        return true;
    };
    return hasAll(row.scanLine) && has(row.isSelected) && hasAll(row.writeHeader) &&
           has(row.columnHeading) && hasAll(row.cleanFollowing) && hasAll(row.makeReference) &&
           has(row.peekClean) && has(row.listClean);
}

}  // namespace plix
