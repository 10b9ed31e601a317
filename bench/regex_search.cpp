// regex_search_bench: the per-line cost of the regular-expression keyword
// search, next to `grep -c` on the same text.
//
//   regex_search_bench [FILE] [--size MB] [--pattern P]...
//
// Without FILE it generates (deterministically) about --size MB (default 100)
// of English-like lines, writes them to a temporary file for grep and
// removes it afterwards. Every line is searched once from offset 0, as the
// word-list filter and the first keyword search of a concordance line do;
// lines are split beforehand, as the engine's reader hands them over.
// Patterns default to a rare literal and a few regular expressions that
// GNU grep -E reads the same way.

#include "match/gnu.h"

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from)
{
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// splitmix64: tiny, fixed, and the same on every machine.
class Random
{
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(Next() % n); }

private:
    std::uint64_t state_;
};

// The rare keyword: about one word in 50 000 (a few hundred lines per 100 MB).
constexpr const char* kRareWord = "quixotry";

std::string Generate(std::size_t bytes)
{
    static const char* const kFunctionWords[] = {
        "the", "of",   "and",  "to",   "a",   "in",    "that",  "is",    "was",   "he",
        "for", "it",   "with", "as",   "his", "on",    "be",    "at",    "by",    "had",
        "not", "are",  "but",  "from", "or",  "have",  "an",    "they",  "which", "one",
        "you", "were", "her",  "all",  "she", "there", "would", "their", "we",    "him"};
    static const char* const kSyllables[] = {
        "ta", "ra", "mon", "ly",   "en",  "ing", "per", "sta", "con", "ver", "al", "tion",
        "de", "ri", "ble", "ment", "pro", "co",  "ter", "ex",  "an",  "ist", "or", "ness",
        "un", "fa", "lo",  "bur",  "gen", "ous", "mi",  "sel", "wo",  "pa",  "ed", "ic"};
    Random random(1);
    std::vector<std::string> words(std::begin(kFunctionWords), std::end(kFunctionWords));
    while (words.size() < 20000) {
        std::string w;
        const int syllables = 1 + static_cast<int>(random.Below(3));
        for (int s = 0; s < syllables; ++s) {
            w += kSyllables[random.Below(std::size(kSyllables))];
        }
        words.push_back(w);
    }
    // Zipf: rank r drawn with weight 1/r.
    std::vector<double> cumulative(words.size());
    double total = 0;
    for (std::size_t r = 0; r < words.size(); ++r) {
        total += 1.0 / static_cast<double>(r + 1);
        cumulative[r] = total;
    }
    std::string text;
    text.reserve(bytes + 256);
    std::string line;
    bool sentenceStart = true;
    const std::size_t lineTarget = 60 + random.Below(61);
    std::size_t target = lineTarget;
    while (text.size() < bytes) {
        std::string word;
        if (random.Below(50000) == 0) {
            word = kRareWord;
        } else if (random.Below(100) == 0) {
            word = std::to_string(random.Below(2000));
        } else {
            const double u = static_cast<double>(random.Next() >> 11) / 9007199254740992.0 * total;
            std::size_t lo = 0;
            std::size_t hi = cumulative.size() - 1;
            while (lo < hi) {
                const std::size_t mid = (lo + hi) / 2;
                if (cumulative[mid] < u) {
                    lo = mid + 1;
                } else {
                    hi = mid;
                }
            }
            word = words[lo];
        }
        if (sentenceStart) {
            word[0] = static_cast<char>(word[0] >= 'a' && word[0] <= 'z' ? word[0] - 32 : word[0]);
            sentenceStart = false;
        }
        if (!line.empty()) {
            line += ' ';
        }
        line += word;
        const std::uint32_t p = random.Below(100);
        if (p < 6) {
            line += '.';
            sentenceStart = true;
        } else if (p < 10) {
            line += ',';
        }
        if (line.size() >= target) {
            text += line;
            text += '\n';
            line.clear();
            target = 60 + random.Below(61);
        }
    }
    return text;
}

std::vector<std::string_view> SplitLines(const std::string& text)
{
    std::vector<std::string_view> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.emplace_back(text.data() + from, end - from);
        from = end + 1;
    }
    return lines;
}

std::string ShellQuote(const std::string& s)
{
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

// Seconds for `grep -cE` (best of two runs; its output goes to a pipe, not
// to /dev/null, where GNU grep stops at the first match).
double TimeGrep(const std::string& pattern, const std::string& path, long& count)
{
    const std::string command =
        "LC_ALL=C grep -cE -- " + ShellQuote(pattern) + " " + ShellQuote(path);
    double best = 1e9;
    for (int run = 0; run < 2; ++run) {
        const auto start = Clock::now();
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return -1;
        }
        count = -1;
        if (std::fscanf(pipe, "%ld", &count) != 1) {
            count = -1;
        }
        pclose(pipe);
        best = std::min(best, Seconds(start));
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string path;
    std::size_t megabytes = 100;
    std::vector<std::string> patterns;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--size" && i + 1 < argc) {
            megabytes = std::strtoul(argv[++i], nullptr, 10);
        } else if (arg == "--pattern" && i + 1 < argc) {
            patterns.emplace_back(argv[++i]);
        } else {
            path = arg;
        }
    }
    if (patterns.empty()) {
        patterns = {kRareWord, "quixot(ry|ic)", "\\bqu[a-z]*ry\\b", "(^| )[Qq]uixotry( |,|\\.|$)",
                    "\\bthe\\b"};
    }

    std::string text;
    std::string tempPath;
    if (path.empty()) {
        const auto start = Clock::now();
        text = Generate(megabytes * 1000 * 1000);
        std::printf("generated %.1f MB in %.2f s\n", static_cast<double>(text.size()) / 1e6,
                    Seconds(start));
        char name[] = "/tmp/regex-search-bench-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) {
            std::perror("mkstemp");
            return 1;
        }
        close(fd);
        tempPath = name;
        path = tempPath;
        std::ofstream(path, std::ios::binary) << text;
    } else {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        std::ostringstream content;
        content << in.rdbuf();
        text = content.str();
    }
    const std::vector<std::string_view> lines = SplitLines(text);
    const double megabytesRead = static_cast<double>(text.size()) / 1e6;
    std::printf("%zu lines, %.1f MB\n\n", lines.size(), megabytesRead);

    for (const std::string& pattern : patterns) {
        plix::CGNU gnu;
        gnu.InitKeyword();
        const std::string error = gnu.CompileKeyword(pattern);
        if (!error.empty()) {
            std::printf("%-30s does not compile: %s\n", pattern.c_str(), error.c_str());
            continue;
        }
        double best = 1e9;
        long matched = 0;
        for (int run = 0; run < 3; ++run) {
            matched = 0;
            const auto start = Clock::now();
            for (std::string_view line : lines) {
                std::size_t length = 0;
                if (gnu.SearchKeyword(line, 0, length) >= 0) {
                    ++matched;
                }
            }
            best = std::min(best, Seconds(start));
        }
        long grepCount = 0;
        const double grep = TimeGrep(pattern, path, grepCount);
        std::printf(
            "%-30s %8ld lines  %7.3f s  %6.1f M lines/s  %7.0f MB/s | grep -cE %7.3f s "
            "(%ld)  ratio %.2f\n",
            pattern.c_str(), matched, best, static_cast<double>(lines.size()) / best / 1e6,
            megabytesRead / best, grep, grepCount, best / grep);
    }
    if (!tempPath.empty()) {
        std::remove(tempPath.c_str());
    }
    return 0;
}
