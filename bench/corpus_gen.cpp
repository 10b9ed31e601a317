// corpus_gen: deterministic English-like text for the benchmarks.
//
//   corpus_gen --size 100M [--seed N] [--types N] [-o FILE]
//   corpus_gen --rare-keyword [--seed N] [--types N]
//   corpus_gen --size 100M --markup cocoa|sgml|helsinki|bnc|ppcme2 ...
//   corpus_gen --size 100M --accented ...
//
// --accented gives about one running word in five a non-ASCII letter (UTF-8):
// the first vowel of the words so chosen becomes an accented one. Words are
// chosen by rank until they carry a fifth of the expected tokens, so the
// vocabulary keeps its size and the text its shape.
//
// The vocabulary is a fixed list of English function words followed by
// pseudo-words built from syllables, all drawn from one seeded PRNG, so the
// same seed gives the same bytes on every machine (no <random> distributions:
// their results differ between standard libraries). Word ranks follow a Zipf
// law, sentences start with a capital, carry commas and end in . ? or !, some
// tokens are numbers, and lines hold 60-120 bytes.
//
// --rare-keyword prints a word of the vocabulary that occurs a few hundred
// times per 100 MB and is not contained in any other word, so a plain
// substring search (grep -ci) counts the same hits as a whole-word search.
//
// --markup writes the same text (the same words, lines and size budget,
// counted without the markup) as an annotated corpus: "cocoa" puts COCOA
// references (<A ...> every 5th line, <T ...> every 40th) at line starts,
// "sgml" wraps each sentence in <s n=...> ... </s> and opens a <p> element
// every 30 lines; "helsinki" adds to the COCOA references the editorial
// markup of the Helsinki conventions (a font stretch now and then, which
// stays, and editor's comments, which are deleted by default, one of them
// running over each 25th line end); "bnc" writes the BNC's Text layout: an
// <s n=...> before each sentence, a <w TAG> before each word and a <c PUN>
// before its punctuation; "ppcme2" writes the text as parsed units of the
// PPCME2 kind, one a sentence: "( (IP-MAT (N word) (, ,) ...", eight leaves a
// line, each unit closed by its "(ID ...)" identifier.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

// splitmix64 seeds xoshiro256**; both are fixed, published algorithms, so output is
// portable.
std::uint64_t SplitMix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

class Rng {
 public:
  explicit Rng(std::uint64_t seed) {
    for (auto& word : s_) word = SplitMix(seed);
  }
  std::uint64_t Next() {
    const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
  }
  // Uniform in [0, n) by Lemire's multiply-shift; the tiny bias is
  // irrelevant here and the result is still deterministic.
  std::uint32_t Below(std::uint32_t n) {
    return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
  }
  // Uniform in [0, 1) with 53 bits.
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

 private:
  static std::uint64_t Rotl(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
  }
  std::uint64_t s_[4];
};

// The most frequent English words, in rough frequency order. They take the
// top ranks so that "the", "of", "and" behave as in real text.
constexpr const char* kFunctionWords[] = {
    "the",   "of",    "and",   "to",    "a",     "in",    "that",  "is",
    "was",   "he",    "for",   "it",    "with",  "as",    "his",   "on",
    "be",    "at",    "by",    "I",     "this",  "had",   "not",   "are",
    "but",   "from",  "or",    "have",  "an",    "they",  "which", "one",
    "you",   "were",  "her",   "all",   "she",   "there", "would", "their",
    "we",    "him",   "been",  "has",   "when",  "who",   "will",  "more",
    "no",    "if",    "out",   "so",    "said",  "what",  "up",    "its",
    "about", "into",  "than",  "them",  "can",   "only",  "other", "new",
    "some",  "could", "time",  "these", "two",   "may",   "then",  "do",
    "first", "any",   "my",    "now",   "such",  "like",  "our",   "over",
    "man",   "me",    "even",  "most",  "made",  "after", "also",  "did",
    "many",  "before", "must", "through", "back", "years", "where", "much",
    "your",  "way",   "well",  "down",  "should", "because", "each", "just",
    "those", "people", "how",  "too",   "little", "state", "good",  "very",
    "make",  "world", "still", "own",   "see",   "men",   "work",  "long",
};

// Real words placed at fixed ranks so that a pattern such as colou?r has
// hits in generated text too.
struct PlacedWord {
  std::size_t rank;
  const char* text;
};
constexpr PlacedWord kPlacedWords[] = {
    {700, "color"}, {1500, "colour"}, {3200, "colors"}, {9000, "colours"},
};

constexpr const char* kOnsets[] = {
    "",   "",   "",   "b",  "c",  "d",  "f",  "g",  "h",  "j",  "k",  "l",
    "m",  "n",  "p",  "r",  "s",  "t",  "v",  "w",  "y",  "z",  "bl", "br",
    "ch", "cl", "cr", "dr", "fl", "fr", "gl", "gr", "pl", "pr", "sc", "sh",
    "sk", "sl", "sm", "sn", "sp", "st", "str", "th", "tr", "wh", "qu", "ph",
};
constexpr const char* kVowels[] = {
    "a", "e", "i", "o", "u", "a", "e", "i", "o", "ai", "ea", "ee", "oo",
    "ou", "ie", "y",
};
constexpr const char* kCodas[] = {
    "",  "",  "",  "",   "n",  "r",  "s",  "t",  "l",  "d",   "m",
    "ng", "ck", "st", "nd", "rt", "nt", "sh", "th", "x",  "mp", "lk",
};
constexpr const char* kSuffixes[] = {
    "ing", "ed", "er", "ly", "tion", "s", "ness", "ment", "able", "ous",
};

template <typename T, std::size_t N>
const char* Pick(Rng& rng, const T (&table)[N]) {
  return table[rng.Below(static_cast<std::uint32_t>(N))];
}

std::string MakePseudoWord(Rng& rng, std::size_t rank) {
  // Frequent words are short, rare ones long, as in natural language.
  std::uint32_t syllables;
  if (rank < 1000) {
    syllables = 1 + rng.Below(2);
  } else if (rank < 10000) {
    syllables = 2 + (rng.Below(3) == 0 ? 1 : 0);
  } else {
    syllables = 2 + rng.Below(2);
  }
  std::string word;
  for (std::uint32_t i = 0; i < syllables; ++i) {
    word += Pick(rng, kOnsets);
    word += Pick(rng, kVowels);
    word += Pick(rng, kCodas);
  }
  if (rng.Below(4) == 0) word += Pick(rng, kSuffixes);
  // About one word in twenty is a name and always written with a capital.
  if (rng.Below(20) == 0) {
    word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
  }
  return word;
}

std::vector<std::string> MakeVocabulary(std::uint64_t seed, std::size_t types) {
  Rng rng(seed ^ 0x766f636162756c61ULL);
  std::vector<std::string> vocab;
  vocab.reserve(types);
  std::unordered_set<std::string> seen;
  auto lower = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  for (const char* w : kFunctionWords) {
    if (vocab.size() == types) break;
    vocab.emplace_back(w);
    seen.insert(lower(w));
  }
  std::size_t next_placed = 0;
  while (vocab.size() < types) {
    if (next_placed < std::size(kPlacedWords) &&
        kPlacedWords[next_placed].rank == vocab.size()) {
      const std::string w = kPlacedWords[next_placed++].text;
      if (seen.insert(lower(w)).second) vocab.push_back(w);
      continue;
    }
    std::string w = MakePseudoWord(rng, vocab.size());
    if (w.size() < 2 && vocab.size() > 200) continue;
    if (seen.insert(lower(w)).second) vocab.push_back(std::move(w));
  }
  return vocab;
}

// Zipf exponent slightly above 1, as measured on large English corpora.
constexpr double kZipfExponent = 1.05;

// Replaces the first vowel of enough words, taken by rank, that about a fifth
// of the running words have a non-ASCII letter.
void AccentVocabulary(std::vector<std::string>& vocab, const std::vector<double>& cumulative) {
  double accented = 0;
  double previous = 0;
  for (std::size_t r = 0; r < vocab.size(); ++r) {
    const double mass = cumulative[r] - previous;
    previous = cumulative[r];
    if (accented >= 0.2 * cumulative[r]) continue;
    std::string& word = vocab[r];
    static const char* const kVowels = "aeiou";
    static const char* const kAccented[] = {"\xC3\xA4", "\xC3\xA9", "\xC3\xAF", "\xC3\xB6",
                                            "\xC3\xBC"};
    const std::size_t at = word.find_first_of(kVowels);
    if (at == std::string::npos) continue;
    const std::size_t which = static_cast<std::size_t>(std::strchr(kVowels, word[at]) - kVowels);
    word.replace(at, 1, kAccented[which]);
    accented += mass;
  }
}

std::vector<double> MakeCumulative(std::size_t types) {
  std::vector<double> cumulative(types);
  double sum = 0;
  for (std::size_t r = 0; r < types; ++r) {
    sum += 1.0 / std::pow(static_cast<double>(r + 1), kZipfExponent);
    cumulative[r] = sum;
  }
  for (double& c : cumulative) c /= sum;
  cumulative.back() = 1.0;
  return cumulative;
}

// Expected tokens per byte of output, measured once on this generator; only
// used to pick the rare keyword's rank.
constexpr double kTokensPerByte = 0.141;

std::string RareKeyword(const std::vector<std::string>& vocab,
                        const std::vector<double>& cumulative) {
  const double tokens_per_100mb = kTokensPerByte * 100e6;
  const double wanted = 400;  // occurrences per 100 MB
  std::size_t rank = 0;
  while (rank + 1 < cumulative.size()) {
    const double p = cumulative[rank] - (rank ? cumulative[rank - 1] : 0.0);
    if (p * tokens_per_100mb < wanted) break;
    ++rank;
  }
  std::vector<std::string> lowered = vocab;
  for (std::string& w : lowered) {
    for (char& c : w) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  // From there, the first lower-case word of 7+ letters that no other word
  // contains.
  for (std::size_t r = rank; r < vocab.size(); ++r) {
    const std::string& w = vocab[r];
    if (w.size() < 7 || !std::islower(static_cast<unsigned char>(w[0]))) continue;
    bool contained = false;
    for (std::size_t o = 0; o < lowered.size() && !contained; ++o) {
      contained = o != r && lowered[o].size() > w.size() &&
                  lowered[o].find(w) != std::string::npos;
    }
    if (!contained) return w;
  }
  return vocab[rank];
}

class Writer {
 public:
  explicit Writer(std::FILE* out) : out_(out) { buffer_.reserve(kFlushAt + 256); }
  ~Writer() { Flush(); }
  void Append(std::string_view s) {
    buffer_.append(s);
    if (buffer_.size() >= kFlushAt) Flush();
  }
  void Flush() {
    if (!buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) {
      std::perror("corpus_gen: write");
      std::exit(1);
    }
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  std::FILE* out_;
  std::string buffer_;
};

class TextMaker {
 public:
  TextMaker(std::uint64_t seed, const std::vector<std::string>& vocab,
            const std::vector<double>& cumulative)
      : rng_(seed), vocab_(vocab), cumulative_(cumulative) {}

  // Next token with its trailing punctuation, but without the blank.
  std::string NextToken() {
    std::string token;
    if (rng_.Below(100) == 0) {
      token = MakeNumber();
    } else {
      const double u = rng_.Unit();
      const auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), u);
      const std::size_t rank = std::min<std::size_t>(it - cumulative_.begin(), vocab_.size() - 1);
      token = vocab_[rank];
      if (rank > 150 && rng_.Below(100) == 0) token += "'s";
    }
    starts_sentence_ = sentence_left_ == 0;
    if (sentence_left_ == 0) {
      sentence_left_ = 4 + rng_.Below(24);
      token[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(token[0])));
    }
    ends_sentence_ = --sentence_left_ == 0;
    if (ends_sentence_) {
      const std::uint32_t r = rng_.Below(100);
      token += r < 90 ? "." : (r < 96 ? "?" : "!");
    } else if (rng_.Below(100) < 7) {
      token += ",";
    } else if (rng_.Below(400) == 0) {
      token = "(" + token + ")";
    }
    return token;
  }

  std::uint32_t LineTarget() { return 60 + rng_.Below(61); }
  // Whether the token just made starts or ends a sentence.
  bool StartsSentence() const { return starts_sentence_; }
  bool EndsSentence() const { return ends_sentence_; }

 private:
  std::string MakeNumber() {
    switch (rng_.Below(4)) {
      case 0:
        return std::to_string(1800 + rng_.Below(230));  // a year
      case 1:
        return std::to_string(1 + rng_.Below(100));
      case 2:
        return std::to_string(rng_.Below(100)) + "." + std::to_string(rng_.Below(10));
      default:
        return std::to_string(100 + rng_.Below(99900));
    }
  }

  Rng rng_;
  const std::vector<std::string>& vocab_;
  const std::vector<double>& cumulative_;
  std::uint32_t sentence_left_ = 0;
  bool starts_sentence_ = false;
  bool ends_sentence_ = false;
};

enum class Markup { kNone, kCocoa, kSgml, kHelsinki, kBnc, kPpcme2 };

// Turns plain lines into parsed units: every token a leaf labelled by its
// kind, its trailing punctuation a leaf of its own, a unit a sentence.
class ParsedWriter {
 public:
  explicit ParsedWriter(Writer& writer) : writer_(writer) {}
  ~ParsedWriter() {
    if (open_) Close();
  }
  void AddLine(const std::string& line) {
    std::size_t start = 0;
    while (start < line.size()) {
      std::size_t end = line.find_first_of(" \n", start);
      if (end == std::string::npos) end = line.size();
      if (end > start) AddToken(line.substr(start, end - start));
      start = end + 1;
    }
  }

 private:
  void AddToken(const std::string& token) {
    if (!open_) {
      out_ = "( (IP-MAT";
      open_ = true;
      leaves_ = 0;
    }
    std::size_t end = token.size();
    while (end > 0 && !std::isalnum(static_cast<unsigned char>(token[end - 1]))) --end;
    std::size_t start = 0;
    while (start < end && !std::isalnum(static_cast<unsigned char>(token[start]))) ++start;
    const std::string word = token.substr(start, end - start);
    const bool number = !word.empty() && std::isdigit(static_cast<unsigned char>(word[0]));
    if (!word.empty()) Leaf(number ? "NUM" : WordLabel(word), word);
    bool ends = false;
    for (std::size_t i = end; i < token.size(); ++i) {
      const std::string mark(1, token[i]);
      if (mark == ")" || mark == "(") continue;  // brackets would be read as the tree's own
      Leaf(mark == "," ? "," : ".", mark);
      ends = ends || mark == "." || mark == "?" || mark == "!";
    }
    if (ends) Close();
  }
  static const char* WordLabel(const std::string& word) {
    static const char* const kLabels[] = {"N", "VBD", "ADJ", "D", "P", "ADV", "PRO", "CONJ"};
    std::uint32_t h = 2166136261u;
    for (char c : word) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return kLabels[h % 8];
  }
  void Leaf(const char* label, const std::string& text) {
    if (leaves_ > 0 && leaves_ % 8 == 0) {
      writer_.Append(out_ + "\n");
      out_ = "  ";
    }
    out_ += " (";
    out_ += label;
    out_ += " " + text + ")";
    ++leaves_;
  }
  void Close() {
    writer_.Append(out_ + ")\n  (ID GEN-" + std::to_string(++units_) + "))\n\n");
    out_.clear();
    open_ = false;
  }

  Writer& writer_;
  std::string out_;
  bool open_ = false;
  std::uint64_t leaves_ = 0;
  std::uint64_t units_ = 0;
};

// A word tag of the BNC's kind, chosen by the word so that the same word has
// the same tag everywhere.
const char* WordTag(std::string_view word) {
  static const char* const kTags[] = {"NN1", "NN2", "VVD", "VVZ", "AJ0", "AT0", "PRP", "AV0"};
  if (!word.empty() && std::isdigit(static_cast<unsigned char>(word[0]))) return "CRD";
  std::uint32_t h = 2166136261u;
  for (char c : word) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return kTags[h % 8];
}

// The token in the BNC's Text layout: the word tag before it, a punctuation
// tag before what follows the word.
std::string BncToken(const std::string& token) {
  std::size_t start = 0;
  while (start < token.size() && !std::isalnum(static_cast<unsigned char>(token[start]))) ++start;
  std::size_t end = start;
  while (end < token.size() && (std::isalnum(static_cast<unsigned char>(token[end])) ||
                                token[end] == '\'' || token[end] == '.')) {
    ++end;
  }
  while (end > start && !std::isalnum(static_cast<unsigned char>(token[end - 1]))) --end;
  std::string out = token.substr(0, start);
  out += "<w ";
  out += WordTag(std::string_view(token).substr(start, end - start));
  out += ">";
  out += token.substr(start, end - start);
  if (end < token.size()) out += "<c PUN>" + token.substr(end);
  return out;
}

constexpr std::size_t kMaxLine = 120;

void Generate(std::uint64_t size, std::uint64_t seed, const std::vector<std::string>& vocab,
              const std::vector<double>& cumulative, Markup markup, std::FILE* out) {
  TextMaker maker(seed, vocab, cumulative);
  Writer writer(out);
  ParsedWriter parsed(writer);
  std::string line;
  std::string marked;   // the line with its markup
  std::string pending;  // a token that did not fit the previous line
  std::string pending_marked;
  std::uint64_t written = 0;
  std::uint64_t lines = 0;
  std::uint64_t sentences = 0;
  while (written < size) {
    const std::uint32_t target = maker.LineTarget();
    line.clear();
    marked.clear();
    if (markup == Markup::kCocoa || markup == Markup::kHelsinki) {
      if (lines % 40 == 0) marked += "<T text" + std::to_string(lines / 40) + ">";
      if (lines % 5 == 0) marked += "<A a" + std::to_string(lines / 5 % 97) + ">";
    } else if (markup == Markup::kSgml && lines % 30 == 0) {
      marked += "<p>";
    }
    if (markup == Markup::kHelsinki && lines % 25 == 1) {
      marked += "note \\] ";  // closes the comment opened at the end of the line before
    }
    for (;;) {
      std::string token;
      std::string token_marked;
      if (pending.empty()) {
        token = maker.NextToken();
        token_marked = token;
        if (markup == Markup::kSgml) {
          if (maker.StartsSentence()) {
            token_marked = "<s n=" + std::to_string(++sentences) + ">" + token_marked;
          }
          if (maker.EndsSentence()) token_marked += "</s>";
        } else if (markup == Markup::kBnc) {
          token_marked = BncToken(token);
          if (maker.StartsSentence()) {
            token_marked = "<s n=" + std::to_string(++sentences) + ">" + token_marked;
          }
        } else if (markup == Markup::kHelsinki) {
          if (maker.StartsSentence() && sentences++ % 7 == 0) {
            token_marked = "(^" + token_marked + "^)";
          } else if (maker.EndsSentence() && sentences % 5 == 0) {
            token_marked += " [\\ sic \\]";
          }
        }
      } else {
        token = std::move(pending);
        token_marked = std::move(pending_marked);
      }
      pending.clear();
      pending_marked.clear();
      const std::size_t grown = line.size() + (line.empty() ? 0 : 1) + token.size();
      if (!line.empty() && grown > kMaxLine) {
        pending = std::move(token);
        pending_marked = std::move(token_marked);
        break;
      }
      if (!line.empty()) {
        line += ' ';
        marked += ' ';
      }
      line += token;
      marked += token_marked;
      if (line.size() >= target) break;
    }
    if (markup == Markup::kHelsinki && lines % 25 == 0) {
      marked += " [\\ editorial";  // a comment that runs over the line end
    }
    line += '\n';
    marked += '\n';
    if (markup == Markup::kPpcme2) {
      parsed.AddLine(line);
    } else {
      writer.Append(markup == Markup::kNone ? line : marked);
    }
    written += line.size();
    ++lines;
  }
}

std::uint64_t ParseSize(const char* text) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  double scale = 1;
  if (end && *end) {
    switch (std::toupper(static_cast<unsigned char>(*end))) {
      case 'K': scale = 1e3; break;
      case 'M': scale = 1e6; break;
      case 'G': scale = 1e9; break;
      default:
        std::fprintf(stderr, "corpus_gen: bad size '%s'\n", text);
        std::exit(2);
    }
  }
  if (!(value > 0)) {
    std::fprintf(stderr, "corpus_gen: bad size '%s'\n", text);
    std::exit(2);
  }
  return static_cast<std::uint64_t>(value * scale);
}

[[noreturn]] void Usage() {
  std::fprintf(stderr,
               "usage: corpus_gen --size N[K|M|G] [--seed N] [--types N] [-o FILE]\n"
               "       corpus_gen --rare-keyword [--seed N] [--types N]\n"
               "       corpus_gen --size N --markup cocoa|sgml|helsinki|bnc|ppcme2 ...\n"
               "       corpus_gen --size N --accented ...\n");
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t size = 0;
  std::uint64_t seed = 1;
  std::size_t types = 100000;
  bool rare_keyword = false;
  bool accented = false;
  Markup markup = Markup::kNone;
  const char* output = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) Usage();
      return argv[++i];
    };
    if (arg == "--size") {
      size = ParseSize(value());
    } else if (arg == "--seed") {
      seed = std::strtoull(value(), nullptr, 10);
    } else if (arg == "--types") {
      types = std::strtoull(value(), nullptr, 10);
    } else if (arg == "-o" || arg == "--output") {
      output = value();
    } else if (arg == "--markup") {
      const std::string_view kind = value();
      if (kind == "cocoa") {
        markup = Markup::kCocoa;
      } else if (kind == "sgml") {
        markup = Markup::kSgml;
      } else if (kind == "helsinki") {
        markup = Markup::kHelsinki;
      } else if (kind == "bnc") {
        markup = Markup::kBnc;
      } else if (kind == "ppcme2") {
        markup = Markup::kPpcme2;
      } else {
        Usage();
      }
    } else if (arg == "--rare-keyword") {
      rare_keyword = true;
    } else if (arg == "--accented") {
      accented = true;
    } else {
      Usage();
    }
  }
  if (types < std::size(kFunctionWords) + 10) Usage();

  std::vector<std::string> vocab = MakeVocabulary(seed, types);
  const std::vector<double> cumulative = MakeCumulative(types);
  if (accented) AccentVocabulary(vocab, cumulative);
  if (rare_keyword) {
    std::printf("%s\n", RareKeyword(vocab, cumulative).c_str());
    return 0;
  }
  if (size == 0) Usage();

  std::FILE* out = stdout;
  if (output) {
    out = std::fopen(output, "wb");
    if (!out) {
      std::perror(output);
      return 1;
    }
  }
  Generate(size, seed, vocab, cumulative, markup, out);
  if (std::fflush(out) != 0 || (output && std::fclose(out) != 0)) {
    std::perror("corpus_gen: write");
    return 1;
  }
  return 0;
}
