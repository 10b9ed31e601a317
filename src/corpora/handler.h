// The roles a corpus handler plays for the run frame. A handler overrides the
// roles it provides; which handler plays which role for which corpus type is
// the dispatch table's business. The table is checked against what each
// handler provides (RolesOf below), so the empty defaults here are never the
// silent stand-in for a role the table gives a handler.
#pragma once

#include "corpora/line_marks.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

#include "corpora/frame.h"

namespace plix {

enum class Role : unsigned
{
    ResetForFile,
    SourceOpened,
    AssembleUnit,
    FinishUnit,
    ScanLine,
    IsSelected,
    WriteHeader,
    WriteColumnHeading,
    CleanFollowingText,
    LocateHit,
    ContextSource,
    RestoreLine,
    MakeReference,
    AmendContextLine,
    CleanPeekedLine,
    CleanListLine,
    Count
};

const char* RoleName(Role role);

using RoleSet = uint32_t;
constexpr RoleSet RoleBit(Role role)
{
    return RoleSet{1} << static_cast<unsigned>(role);
}

class CCorpusHandler
{
  public:
    virtual ~CCorpusHandler() = default;

    // A corpus file begins: forget what the last file set.
    virtual void ResetForFile() {}
    // The input is open; `sourceName` is the name the line reader gives it.
    virtual void SourceOpened(const std::string& /*sourceName*/) {}
    // Parsed corpora: one parsed unit spreads over several physical lines. The
    // handler collects them and leaves `line` empty until a unit is complete,
    // then puts the whole unit into `line`.
    virtual void AssembleUnit(CHandlerFrame& /*frame*/, std::string& /*line*/) {}
    // The input has ended: a unit still open goes into `line` (true), so that
    // the last unit of a file is not lost.
    virtual bool FinishUnit(CHandlerFrame& /*frame*/, std::string& /*line*/) { return false; }
    // The marks the unit assembly of `corpusType` looks for in every physical
    // line, to be found while the lines are read (see CHandlerFrame::
    // CurrentLineMarks); nullptr when it needs none.
    virtual LinePrescan PrescanFor(int /*corpusType*/) const { return nullptr; }
    // Every line read: may rewrite it in place (markup removed, parts blanked).
    virtual void ScanLine(CHandlerFrame& /*frame*/, std::string& /*line*/) {}
    // After ScanLine: false leaves the line out.
    virtual bool IsSelected(CHandlerFrame& /*frame*/) { return true; }
    // The header block at the start of every file, in every mode.
    virtual void WriteHeader(CHandlerFrame& /*frame*/) {}
    // The concordance column heading.
    virtual void WriteColumnHeading(CHandlerFrame& /*frame*/, int /*outputType*/) {}
    // The text read ahead for the right context of a hit.
    virtual void CleanFollowingText(CHandlerFrame& /*frame*/, std::string& /*text*/) {}
    // A hit at `hitOffset` of `line` is being made into a concordance line.
    virtual void LocateHit(CHandlerFrame& /*frame*/, const std::string& /*line*/,
                           size_t /*hitOffset*/)
    {
    }
    // The text a concordance line takes its bytes from instead of the scanned
    // line (same offsets); null for the scanned line itself.
    virtual const std::string* ContextSource() const { return nullptr; }
    // After each line of the concordance modes, before the text before the next
    // line is carried over: puts the line back as it stood.
    virtual void RestoreLine(std::string& /*line*/) {}
    // Appends this handler's part of the hit's reference to `reference`.
    virtual void MakeReference(CHandlerFrame& /*frame*/, int /*outputType*/,
                               std::string& /*reference*/)
    {
    }
    // After the reference: may add to the concordance line made from `line`.
    virtual void AmendContextLine(CHandlerFrame& /*frame*/, const std::string& /*line*/,
                                  std::string& /*contextLine*/)
    {
    }
    // One line that the input reader gathers while reading ahead.
    virtual void CleanPeekedLine(std::string& /*line*/) {}
    // An accepted line, before the list modes take its words.
    virtual void CleanListLine(CHandlerFrame& /*frame*/, std::string& /*line*/) {}
};

namespace detail {

// A handler provides a role when it declares the role's operation itself (or
// inherits it from a handler that does): the name then denotes a member of the
// handler's class, not of CCorpusHandler.
template <class Member>
struct MemberClass;
template <class R, class C, class... A>
struct MemberClass<R (C::*)(A...)>
{
    using type = C;
};
template <class R, class C, class... A>
struct MemberClass<R (C::*)(A...) const>
{
    using type = C;
};
template <class Member>
constexpr bool Declared()
{
    return !std::is_same_v<typename MemberClass<Member>::type, CCorpusHandler>;
}

}  // namespace detail

template <class H>
constexpr RoleSet RolesOf()
{
    static_assert(std::is_base_of_v<CCorpusHandler, H>);
    using detail::Declared;
    RoleSet roles = 0;
    auto add = [&roles](bool declared, Role role) {
        if (declared) {
            roles |= RoleBit(role);
        }
    };
    add(Declared<decltype(&H::ResetForFile)>(), Role::ResetForFile);
    add(Declared<decltype(&H::SourceOpened)>(), Role::SourceOpened);
    add(Declared<decltype(&H::AssembleUnit)>(), Role::AssembleUnit);
    add(Declared<decltype(&H::FinishUnit)>(), Role::FinishUnit);
    add(Declared<decltype(&H::ScanLine)>(), Role::ScanLine);
    add(Declared<decltype(&H::IsSelected)>(), Role::IsSelected);
    add(Declared<decltype(&H::WriteHeader)>(), Role::WriteHeader);
    add(Declared<decltype(&H::WriteColumnHeading)>(), Role::WriteColumnHeading);
    add(Declared<decltype(&H::CleanFollowingText)>(), Role::CleanFollowingText);
    add(Declared<decltype(&H::LocateHit)>(), Role::LocateHit);
    add(Declared<decltype(&H::ContextSource)>(), Role::ContextSource);
    add(Declared<decltype(&H::RestoreLine)>(), Role::RestoreLine);
    add(Declared<decltype(&H::MakeReference)>(), Role::MakeReference);
    add(Declared<decltype(&H::AmendContextLine)>(), Role::AmendContextLine);
    add(Declared<decltype(&H::CleanPeekedLine)>(), Role::CleanPeekedLine);
    add(Declared<decltype(&H::CleanListLine)>(), Role::CleanListLine);
    return roles;
}

}  // namespace plix
