// The book check written out: one compiler-style line per finding
// ("PROJECT/12:3: error: link to 40.htm: no such room"), which editors turn into links,
// a summary line, and the same in JSON for editors and CI.
#pragma once

#include <string>
#include <string_view>

#include "check/book_check.h"

namespace pm {

// `project` is the project folder as the caller names it; findings are located below it.
std::string check_report_lines(std::string_view project, size_t rooms, const CheckResult& result);

// A JSON object: project, rooms, errors, warnings and the findings with severity, kind,
// room, file, path, line, text and both messages. Texts that are not UTF-8 are read as
// Windows-1252, so the document is always valid UTF-8.
std::string check_report_json(std::string_view project, size_t rooms, const CheckResult& result);

// `s` as a JSON string literal, quotes included (see above for the bytes that are not UTF-8).
std::string json_string(std::string_view s);

// The finding's kind in JSON: "no-such-room", "unreachable", ...
std::string_view finding_kind_name(FindingKind kind);

}  // namespace pm
