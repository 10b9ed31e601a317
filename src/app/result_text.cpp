#include "app/result_text.h"

#include "settings/codec.h"

#include <algorithm>

namespace plix {

namespace {

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// How many UTF-16 units these bytes decode to. Only called with a line's prefix
// that ends where a highlight starts or ends, which is a character boundary.
int DecodedLength(std::string_view bytes)
{
    if (IsAscii(bytes)) {
        return static_cast<int>(bytes.size());
    }
    return static_cast<int>(DecodeLocaleText(bytes).size());
}

void AppendDecoded(QString& out, std::string_view bytes)
{
    if (IsAscii(bytes)) {
        out.append(QLatin1StringView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        return;
    }
    std::u16string wide = DecodeLocaleText(bytes);
    out.append(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
}

struct LineSpan
{
    size_t byteStart;   // first byte of the line
    size_t contentEnd;  // first byte of its line end ("\r\n" or "\n"), or of the next block
    int textStart;      // position of its first character in the decoded text
};

}  // namespace

DecodedBlock DecodeResultBlock(std::string_view bytes, const std::vector<HighlightRange>& highlights)
{
    DecodedBlock block;
    block.text.reserve(static_cast<qsizetype>(bytes.size()));
    std::vector<LineSpan> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t newline = bytes.find('\n', start);
        size_t next = newline == std::string_view::npos ? bytes.size() : newline + 1;
        size_t contentEnd = newline == std::string_view::npos ? bytes.size() : newline;
        if (newline != std::string_view::npos && contentEnd > start && bytes[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        lines.push_back({start, contentEnd, static_cast<int>(block.text.size())});
        AppendDecoded(block.text, bytes.substr(start, contentEnd - start));
        if (newline != std::string_view::npos) {
            block.text.append(u'\n');
        }
        start = next;
    }

    auto toPosition = [&](size_t offset) -> int {
        if (offset >= bytes.size() || lines.empty()) {
            return static_cast<int>(block.text.size());
        }
        auto it = std::upper_bound(lines.begin(), lines.end(), offset,
                                   [](size_t value, const LineSpan& line) { return value < line.byteStart; });
        const LineSpan& line = *(it - 1);
        size_t inLine = std::min(offset, line.contentEnd) - line.byteStart;
        return line.textStart + DecodedLength(bytes.substr(line.byteStart, inLine));
    };

    block.ranges.reserve(highlights.size());
    for (const HighlightRange& range : highlights) {
        int from = toPosition(range.offset);
        int to = toPosition(range.offset + range.length);
        block.ranges.push_back({from, std::max(0, to - from)});
    }
    return block;
}

}  // namespace plix
