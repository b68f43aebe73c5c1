// HTML 4's named character references (see html_entities.h).
#include "paper/html_entities.h"

#include <string>
#include <unordered_map>

namespace pm {

namespace {

// The Latin-1 references, U+00A0 to U+00FF in order.
constexpr std::string_view kLatin1[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

struct Named {
  std::string_view name;
  char32_t c;
};

// The others an author is likely to type: punctuation, quotes, arrows, card suits.
constexpr Named kOthers[] = {
    {"quot", 0x22},    {"amp", 0x26},     {"lt", 0x3C},      {"gt", 0x3E},      {"apos", 0x27},
    {"OElig", 0x152},  {"oelig", 0x153},  {"Scaron", 0x160}, {"scaron", 0x161}, {"Yuml", 0x178},
    {"fnof", 0x192},   {"circ", 0x2C6},   {"tilde", 0x2DC},  {"ensp", 0x2002},  {"emsp", 0x2003},
    {"thinsp", 0x2009}, {"zwnj", 0x200C}, {"zwj", 0x200D},   {"lrm", 0x200E},   {"rlm", 0x200F},
    {"ndash", 0x2013}, {"mdash", 0x2014}, {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"sbquo", 0x201A},
    {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"bdquo", 0x201E}, {"dagger", 0x2020}, {"Dagger", 0x2021},
    {"bull", 0x2022},  {"hellip", 0x2026}, {"permil", 0x2030}, {"prime", 0x2032}, {"Prime", 0x2033},
    {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"euro", 0x20AC}, {"trade", 0x2122}, {"larr", 0x2190},
    {"uarr", 0x2191},  {"rarr", 0x2192},  {"darr", 0x2193},  {"harr", 0x2194},  {"larr", 0x2190},
    {"minus", 0x2212}, {"infin", 0x221E}, {"ne", 0x2260},    {"le", 0x2264},    {"ge", 0x2265},
    {"spades", 0x2660}, {"clubs", 0x2663}, {"hearts", 0x2665}, {"diams", 0x2666}, {"Alpha", 0x391},
    {"alpha", 0x3B1},  {"beta", 0x3B2},   {"gamma", 0x3B3},  {"delta", 0x3B4},  {"pi", 0x3C0},
    {"sigma", 0x3C3},  {"omega", 0x3C9},  {"loz", 0x25CA},   {"oline", 0x203E}, {"frasl", 0x2044},
};

const std::unordered_map<std::string_view, char32_t>& table() {
  static const auto* t = [] {
    auto* m = new std::unordered_map<std::string_view, char32_t>;
    for (size_t k = 0; k < 96; ++k) m->emplace(kLatin1[k], char32_t(0xA0 + k));
    for (const auto& n : kOthers) m->emplace(n.name, n.c);
    return m;
  }();
  return *t;
}

}  // namespace

std::optional<char32_t> html_entity(std::string_view name) {
  const auto& t = table();
  auto it = t.find(name);
  if (it == t.end()) return std::nullopt;
  return it->second;
}

}  // namespace pm
