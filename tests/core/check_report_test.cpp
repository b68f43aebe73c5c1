// The book check as the terminal and editors read it: compiler-style lines with a summary,
// and JSON that stays valid whatever bytes the book holds.
#include <gtest/gtest.h>

#include "check/check_report.h"

namespace {

pm::CheckResult one_of_each() {
  pm::CheckResult r;
  r.findings.push_back({pm::Severity::Error, pm::FindingKind::NoSuchRoom, "12", "12", 3, "<a href=\"40.htm\">",
                        "link to 40.htm: no such room", "collegamento a 40.htm: la stanza non esiste"});
  r.findings.push_back({pm::Severity::Warning, pm::FindingKind::Unreachable, "7", "7", 1, "Il pozzo \xE8 buio",
                        "room 7 cannot be reached from room 0", "x"});
  r.errors = r.warnings = 1;
  return r;
}

TEST(CheckReport, CompilerLinesAndSummary) {
  EXPECT_EQ(pm::check_report_lines("Libri/Il Ponte/", 14, one_of_each()),
            "Libri/Il Ponte/12:3: error: link to 40.htm: no such room\n"
            "Libri/Il Ponte/7:1: warning: room 7 cannot be reached from room 0\n"
            "Libri/Il Ponte: 14 rooms checked, 1 error, 1 warning\n");
  EXPECT_EQ(pm::check_report_lines("P", 1, pm::CheckResult{}), "P: 1 room checked, 0 errors, 0 warnings\n");
}

TEST(CheckReport, JsonStringsEscapeAndAreAlwaysUtf8) {
  struct Case {
    std::string bytes, json;
  };
  for (const Case& c : std::vector<Case>{
           {"a\"b\\c", "\"a\\\"b\\\\c\""},
           {"riga\r\nnuova\t\x01", "\"riga\\r\\nnuova\\t\\u0001\""},
           {"citt\xC3\xA0", "\"citt\xC3\xA0\""},  // UTF-8 passes unchanged
           {"citt\xE0 \x93x\x94", "\"citt\xC3\xA0 \xE2\x80\x9Cx\xE2\x80\x9D\""},  // Windows-1252 is read as such
           {"</script>", "\"</script>\""},
       })
    EXPECT_EQ(pm::json_string(c.bytes), c.json) << c.bytes;
}

TEST(CheckReport, JsonDocument) {
  const std::string json = pm::check_report_json("Il \"Ponte\"", 14, one_of_each());
  EXPECT_EQ(json.rfind("{\n  \"project\": \"Il \\\"Ponte\\\"\",\n  \"rooms\": 14,\n  \"errors\": 1,\n  \"warnings\": 1,\n", 0),
            0u)
      << json;
  EXPECT_NE(json.find("{\"severity\": \"error\", \"kind\": \"no-such-room\", \"room\": \"12\", \"file\": \"12\", "
                      "\"path\": \"Il \\\"Ponte\\\"/12\", \"line\": 3, \"text\": \"<a href=\\\"40.htm\\\">\""),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"text\": \"Il pozzo \xC3\xA8 buio\""), std::string::npos) << json;
  EXPECT_EQ(pm::check_report_json("P", 0, pm::CheckResult{}),
            "{\n  \"project\": \"P\",\n  \"rooms\": 0,\n  \"errors\": 0,\n  \"warnings\": 0,\n  \"findings\": []\n}\n");
}

}  // namespace
