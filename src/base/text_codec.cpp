// UTF-8 / Windows-1252 decoding and encoding (see text_codec.h).
#include "base/text_codec.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace pm {

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five unassigned bytes, which map to the
// C1 control of the same value so that they survive a round trip.
constexpr char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

std::optional<char32_t> numeric_reference(std::string_view name) {
  if (name.size() < 2 || name[0] != '#') return std::nullopt;
  const bool hex = name[1] == 'x' || name[1] == 'X';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty()) return std::nullopt;
  char32_t c = 0;
  for (char d : digits) {
    const int v = (d >= '0' && d <= '9')        ? d - '0'
                  : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                  : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                : -1;
    if (v < 0 || c > 0x10FFFF) return std::nullopt;
    c = c * (hex ? 16 : 10) + char32_t(v);
  }
  if (c > 0x10FFFF) return std::nullopt;
  return c;
}

size_t utf8_sequence(std::string_view s, size_t i, char32_t* out) {
  unsigned char b = (unsigned char)s[i];
  size_t len;
  char32_t c;
  if (b < 0x80) {
    *out = b;
    return 1;
  } else if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
    c = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
    c = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    c = b & 0x07;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    unsigned char cb = (unsigned char)s[i + k];
    if ((cb & 0xC0) != 0x80) return 0;
    c = (c << 6) | (cb & 0x3F);
  }
  if ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF))
    return 0;
  *out = c;
  return len;
}

bool is_valid_utf8(std::string_view bytes) {
  size_t i = 0;
  char32_t c;
  while (i < bytes.size()) {
    // Fast path over ASCII.
    if ((unsigned char)bytes[i] < 0x80) {
      ++i;
      continue;
    }
    size_t len = utf8_sequence(bytes, i, &c);
    if (!len) return false;
    i += len;
  }
  return true;
}

bool is_ascii(std::string_view bytes) {
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    if (word & 0x8080808080808080ULL) return false;
  }
  for (; i < bytes.size(); ++i)
    if ((unsigned char)bytes[i] >= 0x80) return false;
  return true;
}

TextEncoding detect_encoding(std::string_view bytes) {
  return is_valid_utf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

std::string decode_to_utf8(std::string_view bytes, TextEncoding enc) {
  if (enc == TextEncoding::Utf8) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char ch : bytes) {
    unsigned char b = (unsigned char)ch;
    if (b < 0x80) {
      out += ch;
    } else if (b < 0xA0) {
      char32_t c = kHigh[b - 0x80];
      append_utf8(out, c ? c : char32_t(b));
    } else {
      append_utf8(out, b);
    }
  }
  return out;
}

std::string decode_for_display(std::string_view bytes) { return decode_to_utf8(bytes, detect_encoding(bytes)); }

std::string decode_lines_for_display(std::string_view bytes) {
  if (is_valid_utf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size() - 1;
    else if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ++end;
    ++end;
    out += decode_for_display(bytes.substr(start, end - start));
    start = end;
  }
  return out;
}

std::string decode_character_references(std::string_view utf8) {
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    const size_t amp = utf8.find("&#", i);
    if (amp == std::string_view::npos) break;
    out.append(utf8.substr(i, amp - i));
    size_t k = amp + 2;
    const bool hex = k < utf8.size() && (utf8[k] == 'x' || utf8[k] == 'X');
    if (hex) ++k;
    const size_t digits = k;
    char32_t c = 0;
    for (; k < utf8.size() && k - digits < 8; ++k) {
      const char d = utf8[k];
      int v = -1;
      if (d >= '0' && d <= '9') v = d - '0';
      else if (hex && d >= 'a' && d <= 'f') v = d - 'a' + 10;
      else if (hex && d >= 'A' && d <= 'F') v = d - 'A' + 10;
      if (v < 0) break;
      c = c * (hex ? 16 : 10) + char32_t(v);
    }
    if (k > digits && k < utf8.size() && utf8[k] == ';' && c > 0 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF)) {
      append_utf8(out, c);
      i = k + 1;
    } else {
      out += '&';
      i = amp + 1;
    }
  }
  out.append(utf8.substr(i));
  return out;
}

std::string encode_for_reading_back(std::string_view utf8, TextEncoding enc) {
  bool ok = false;
  std::string bytes = encode_from_utf8(utf8, enc, &ok);
  if (ok && detect_encoding(bytes) == enc) return bytes;
  return std::string(utf8);
}

namespace {

// The Windows-1252 byte for `c`, or 0 when there is none.
unsigned char windows1252_byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return (unsigned char)c;
  for (int k = 0; k < 32; ++k)
    if ((kHigh[k] && kHigh[k] == c) || (!kHigh[k] && c == char32_t(0x80 + k))) return (unsigned char)(0x80 + k);
  return 0;
}

void append_hex(std::string& out, uint32_t v, int width) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string h;
  do {
    h.insert(h.begin(), kDigits[v & 0xF]);
    v >>= 4;
  } while (v);
  while (int(h.size()) < width) h.insert(h.begin(), '0');
  out += h;
}

void append_written_as(std::string& out, char32_t c, TextUse use) {
  switch (use) {
    case TextUse::Html:
      out += "&#" + std::to_string(uint32_t(c)) + ";";
      return;
    case TextUse::Script:
      if (c > 0xFFFF) {
        const uint32_t v = uint32_t(c) - 0x10000;
        out += "\\u";
        append_hex(out, 0xD800 + (v >> 10), 4);
        out += "\\u";
        append_hex(out, 0xDC00 + (v & 0x3FF), 4);
      } else {
        out += "\\u";
        append_hex(out, uint32_t(c), 4);
      }
      return;
    case TextUse::StyleSheet:
      out += '\\';
      append_hex(out, uint32_t(c), 1);
      out += ' ';
      return;
  }
}

// `utf8` in Windows-1252; characters beyond ASCII that it cannot hold, or every one of them
// when `all_beyond_ascii`, written as `use` says.
std::string encode_windows1252(std::string_view utf8, TextUse use, bool all_beyond_ascii) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t c;
    size_t len = utf8_sequence(utf8, i, &c);
    if (!len) {  // not UTF-8: the byte stands for itself
      c = (unsigned char)utf8[i];
      len = 1;
    }
    i += len;
    const unsigned char b = windows1252_byte(c);
    if (c < 0x80 || (b && !all_beyond_ascii))
      out += char(b);
    else
      append_written_as(out, c, use);
  }
  return out;
}

}  // namespace

std::string encode_for_book(std::string_view utf8, TextEncoding book, TextUse use) {
  if (book == TextEncoding::Utf8) return std::string(utf8);
  std::string out = encode_windows1252(utf8, use, false);
  if (detect_encoding(out) == TextEncoding::Utf8 && !is_ascii(out)) out = encode_windows1252(utf8, use, true);
  return out;
}

std::string encode_from_utf8(std::string_view utf8, TextEncoding enc, bool* ok) {
  if (ok) *ok = true;
  if (enc == TextEncoding::Utf8) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t c;
    size_t len = utf8_sequence(utf8, i, &c);
    if (!len) {
      if (ok) *ok = false;
      return {};
    }
    i += len;
    const unsigned char b = windows1252_byte(c);
    if (!b && c != 0) {  // a character Windows-1252 cannot hold
      if (ok) *ok = false;
      return {};
    }
    out += char(b);
  }
  return out;
}

}  // namespace pm
