// Text encodings: what counts as UTF-8, and Windows-1252 in both directions without loss.
#include "base/text_codec.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(TextCodec, OnlyWellFormedUtf8IsTakenForUtf8) {
  EXPECT_TRUE(pm::is_valid_utf8("Citt\xC3\xA0"));
  EXPECT_TRUE(pm::is_valid_utf8("\xF0\x9F\x8E\xB2"));
  EXPECT_FALSE(pm::is_valid_utf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(pm::is_valid_utf8("\xE0\x80\xAF"));      // overlong, three bytes
  EXPECT_FALSE(pm::is_valid_utf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(pm::is_valid_utf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(pm::is_valid_utf8("ab\xE2\x82"));        // cut short
  EXPECT_EQ(pm::detect_encoding("Citt\xE0"), pm::TextEncoding::Windows1252);
}

TEST(TextCodec, Windows1252RoundTripsEveryByteAndRefusesWhatItCannotHold) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += char(b);
  const std::string utf8 = pm::decode_to_utf8(all, pm::TextEncoding::Windows1252);
  EXPECT_NE(utf8.find("\xE2\x82\xAC"), std::string::npos);  // 0x80 is the euro sign
  bool ok = false;
  EXPECT_EQ(pm::encode_from_utf8(utf8, pm::TextEncoding::Windows1252, &ok), all);  // unassigned bytes too
  EXPECT_TRUE(ok);
  EXPECT_EQ(pm::encode_from_utf8("\xE2\x86\x92", pm::TextEncoding::Windows1252, &ok), "");  // an arrow
  EXPECT_FALSE(ok);
  EXPECT_EQ(pm::encode_from_utf8("\xC0\xAF", pm::TextEncoding::Windows1252, &ok), "");  // not UTF-8
  EXPECT_FALSE(ok);

  // For a file read back with detection: Windows-1252 unless that loses or changes text.
  for (const std::string text : {"perch\xC3\xA9", "\xE2\x86\x92", "\xC3\x83\xC2\xA9", "plain"}) {
    const std::string bytes = pm::encode_for_reading_back(text, pm::TextEncoding::Windows1252);
    EXPECT_EQ(pm::decode_for_display(bytes), text);
    EXPECT_EQ(bytes == text, text != "perch\xC3\xA9") << text;  // only "perché" needs Windows-1252
  }
}

TEST(TextCodec, LinesDecodeByTheirOwnBytesAndReferencesBecomeCharacters) {
  EXPECT_EQ(pm::decode_lines_for_display("citt\xC3\xA0\r\ncitt\xE0\rcitt\xE0\ncitt\xC3\xA0"),
            "citt\xC3\xA0\r\ncitt\xC3\xA0\rcitt\xC3\xA0\ncitt\xC3\xA0");
  const std::pair<std::string_view, std::string_view> refs[] = {
      {"Lisz&#337;", "Lisz\xC5\x91"}, {"&#x151;&#X151;", "\xC5\x91\xC5\x91"}, {"&#128512;", "\xF0\x9F\x98\x80"},
      {"&#;&#x;&#65&amp;", "&#;&#x;&#65&amp;"}, {"&#55296;&#1114112;", "&#55296;&#1114112;"}, {"&&#65;", "&A"}};
  for (const auto& [in, out] : refs) EXPECT_EQ(pm::decode_character_references(in), out) << in;
}

}  // namespace
