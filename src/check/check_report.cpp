// The book check as compiler-style lines and as JSON (see check_report.h).
#include "check/check_report.h"

#include "base/text.h"
#include "base/text_codec.h"

namespace pm {

namespace {

// The project folder as named, without separators at its end.
std::string folder_name(std::string_view project) {
  while (project.size() > 1 && (project.back() == '/' || project.back() == '\\')) project.remove_suffix(1);
  return std::string(project);
}

std::string finding_path(std::string_view project, const Finding& f) { return folder_name(project) + "/" + f.file; }

std::string plural(size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

}  // namespace

std::string_view finding_kind_name(FindingKind kind) {
  switch (kind) {
    case FindingKind::NoSuchRoom: return "no-such-room";
    case FindingKind::NoPage: return "no-page";
    case FindingKind::MissingResource: return "missing-resource";
    case FindingKind::MissingTextFile: return "missing-text-file";
    case FindingKind::UnreadableTextFile: return "unreadable-text-file";
    case FindingKind::Unreachable: return "unreachable";
    case FindingKind::NoWayOn: return "no-way-on";
    case FindingKind::SelfLink: return "self-link";
    case FindingKind::UnlistedTextFile: return "unlisted-text-file";
    case FindingKind::OldBackLink: return "old-back-link";
    case FindingKind::OtherEncoding: return "other-encoding";
  }
  return "unknown";
}

std::string check_report_lines(std::string_view project, size_t rooms, const CheckResult& r) {
  std::string out;
  for (const auto& f : r.findings) {
    out += finding_path(project, f) + ":" + std::to_string(f.line) + ": ";
    out += f.severity == Severity::Error ? "error: " : "warning: ";
    out += f.message;
    out += '\n';
  }
  out += folder_name(project) + ": " + plural(rooms, "room", "rooms") + " checked, " +
         plural(r.errors, "error", "errors") + ", " + plural(r.warnings, "warning", "warnings") + "\n";
  return out;
}

std::string json_string(std::string_view bytes) { return json_quoted(decode_for_display(bytes)); }

std::string check_report_json(std::string_view project, size_t rooms, const CheckResult& r) {
  std::string out = "{\n  \"project\": " + json_string(project) + ",\n";
  out += "  \"rooms\": " + std::to_string(rooms) + ",\n";
  out += "  \"errors\": " + std::to_string(r.errors) + ",\n";
  out += "  \"warnings\": " + std::to_string(r.warnings) + ",\n";
  out += "  \"findings\": [";
  for (size_t i = 0; i < r.findings.size(); ++i) {
    const Finding& f = r.findings[i];
    out += i ? ",\n    {" : "\n    {";
    out += "\"severity\": ";
    out += f.severity == Severity::Error ? "\"error\"" : "\"warning\"";
    out += ", \"kind\": \"" + std::string(finding_kind_name(f.kind)) + "\"";
    out += ", \"room\": " + json_string(f.room);
    out += ", \"file\": " + json_string(f.file);
    out += ", \"path\": " + json_string(finding_path(project, f));
    out += ", \"line\": " + std::to_string(f.line);
    out += ", \"text\": " + json_string(f.text);
    out += ", \"message\": " + json_string(f.message);
    out += ", \"message_it\": " + json_string(f.message_it) + "}";
  }
  out += r.findings.empty() ? "]\n}\n" : "\n  ]\n}\n";
  return out;
}

}  // namespace pm
