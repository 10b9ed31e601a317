#include "corpora/cocoa.h"

#include <cctype>

#include "settings/corpus.h"

namespace plix {

namespace {

bool IsAsciiLetter(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Walks the references of `text`: `found(letter, value)` for each, and the
// text without them. A reference is "<", an ASCII letter, one byte that
// separates the value (normally a blank), the value, ">"; one that is not
// closed takes the rest of the text as its value.
template <typename Found>
std::string WithoutReferences(const std::string& text, Found found)
{
    std::string kept;
    kept.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find('<', pos);
        if (open == std::string::npos) {
            break;
        }
        kept.append(text, pos, open - pos);
        const auto next = open + 1 < text.size() ? static_cast<unsigned char>(text[open + 1]) : 0;
        if (!IsAsciiLetter(next)) {
            kept += '<';
            pos = open + 1;
            continue;
        }
        const char letter = static_cast<char>(std::toupper(next));
        size_t valueStart = open + 2;
        // "<A>" is an empty value: the separating byte is only skipped when it
        // is not already the closing ">", which would swallow the text after it.
        if (valueStart < text.size() && text[valueStart] != '>') {
            ++valueStart;
        }
        size_t close = text.find('>', valueStart);
        if (close == std::string::npos) {
            found(letter, valueStart < text.size() ? text.substr(valueStart) : std::string());
            return kept;
        }
        found(letter, text.substr(valueStart, close - valueStart));
        pos = close + 1;
    }
    if (pos < text.size()) {
        kept.append(text, pos, std::string::npos);
    }
    return kept;
}

}  // namespace

void CCocoa::ResetForFile()
{
    for (std::string& value : values_) {
        value.clear();
    }
}

void CCocoa::ScanReferences(std::string& line)
{
    if (line.find('<') == std::string::npos) {
        return;
    }
    line = WithoutReferences(line, [this](char letter, std::string value) {
        values_[static_cast<size_t>(letter - 'A')] = std::move(value);
    });
}

void CCocoa::StripReferences(std::string& text)
{
    if (text.find('<') == std::string::npos) {
        return;
    }
    text = WithoutReferences(text, [](char, const std::string&) {});
}

void CCocoa::ForEachReference(const std::string& text,
                              const std::function<void(char, const std::string&)>& found)
{
    if (text.find('<') == std::string::npos) {
        return;
    }
    WithoutReferences(text, found);
}

bool CCocoa::MatchesSelection(const CCorpus& settings) const
{
    for (size_t i = 0; i < values_.size(); ++i) {
        const std::string& wanted = settings.cocoaSelect[i];
        if (!wanted.empty() && !EqualIgnoringCase(values_[i], wanted)) {
            return false;
        }
    }
    return true;
}

std::string CCocoa::SelectionLines(const CCorpus& settings, const char* eol) const
{
    std::string text;
    for (size_t i = 0; i < settings.cocoaSelect.size(); ++i) {
        if (!settings.cocoaSelect[i].empty()) {
            text += "Selected Parameter:";
            text += static_cast<char>('A' + i);
            text += "=" + settings.cocoaSelect[i] + eol;
        }
    }
    return text;
}

std::string CCocoa::ColumnHeading(const CCorpus& settings, const char* eol) const
{
    std::string text = settings.GetLineHeading();
    for (size_t i = 0; i < settings.cocoaOutput.size(); ++i) {
        if (settings.cocoaOutput[i]) {
            text += settings.FormatField(std::string(1, static_cast<char>('A' + i)));
        }
    }
    return text + settings.GetOccurrenceHeading() + eol;
}

std::string CCocoa::Reference(const CCorpus& settings, int64_t lineNumber,
                              const std::string& sourceName) const
{
    std::string text = settings.FormatReference(lineNumber, sourceName);
    const int type = settings.GetOutputType();
    for (size_t i = 0; i < values_.size(); ++i) {
        if (!settings.cocoaOutput[i] || values_[i].empty()) {
            continue;
        }
        const std::string letter(1, static_cast<char>('A' + i));
        if (type == kOutputText || type == kOutputTagged) {
            text += settings.FormatField(letter + "=" + values_[i]);
        } else {
            text += settings.FormatTaggedField(values_[i], letter);
        }
    }
    return text;
}

std::string CCocoa::GetValue(int index) const
{
    return index >= 0 && index < 26 ? values_[static_cast<size_t>(index)] : std::string();
}

void CCocoa::ScanLine(CHandlerFrame&, std::string& line)
{
    ScanReferences(line);
}

bool CCocoa::IsSelected(CHandlerFrame& frame)
{
    return MatchesSelection(frame.Settings());
}

void CCocoa::WriteHeader(CHandlerFrame& frame)
{
    std::string text = SelectionLines(frame.Settings(), frame.Eol());
    if (!text.empty()) {
        frame.Write(text);
    }
}

void CCocoa::WriteColumnHeading(CHandlerFrame& frame, int)
{
    frame.Write(ColumnHeading(frame.Settings(), frame.Eol()));
}

void CCocoa::CleanFollowingText(CHandlerFrame&, std::string& text)
{
    StripReferences(text);
}

void CCocoa::MakeReference(CHandlerFrame& frame, int, std::string& reference)
{
    reference += Reference(frame.Settings(), frame.LineNumber(), frame.SourceName());
}

}  // namespace plix
