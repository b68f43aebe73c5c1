// The playtest as terminal lines and as JSON (see playtest_report.h).
#include "check/playtest_report.h"

#include <charconv>

#include "check/check_report.h"

namespace pm {

namespace {

// Numbers are written the same whatever the locale of the program that asks.
std::string number(double v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 12);
  return std::string(buf, r.ptr);
}

std::string optional_number(const std::optional<double>& v) { return v ? number(*v) : "null"; }

std::string folder_name(std::string_view project) {
  while (project.size() > 1 && (project.back() == '/' || project.back() == '\\')) project.remove_suffix(1);
  return std::string(project);
}

std::string room_list(const LinkGraph& g, const std::vector<uint32_t>& rooms, std::string_view separator,
                      size_t at_most) {
  std::string out;
  for (size_t i = 0; i < rooms.size() && i < at_most; ++i) out += (i ? std::string(separator) : "") + g.rooms[rooms[i]].name;
  if (rooms.size() > at_most) out += " and " + std::to_string(rooms.size() - at_most) + " more";
  return out;
}

std::string json_rooms(const LinkGraph& g, const std::vector<uint32_t>& rooms) {
  std::string out = "[";
  for (size_t i = 0; i < rooms.size(); ++i) out += (i ? ", " : "") + json_string(g.rooms[rooms[i]].name);
  return out + "]";
}

}  // namespace

std::string percent_text(double fraction, int decimals) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf - 1, fraction * 100, std::chars_format::fixed, decimals);
  return std::string(buf, r.ptr) + "%";
}

std::string playtest_report_lines(std::string_view project, const LinkGraph& g, const PlaytestResult& r) {
  const PlaytestOptions& o = r.options;
  std::string out = folder_name(project) + ": " + std::to_string(o.runs) + " readers from room 0 (seed " +
                    std::to_string(o.seed) + ", at most " + std::to_string(o.max_steps) + " moves each)\n";
  if (!r.has_start) return out + "room 0 has no page: nobody can start reading\n";
  out += "readers: " + std::to_string(r.ended) + " reached an ending, " + std::to_string(r.stuck) +
         " got stuck, " + std::to_string(r.out_of_steps) + " stopped at the move limit; " + number(r.mean_steps) +
         " moves on average\n";
  out += "exact odds: an ending " + percent_text(r.odds.ending_probability, 3) + ", moves on average " +
         (r.odds.expected_steps ? number(*r.odds.expected_steps) : std::string("unbounded (some readers never stop)"));
  if (!r.odds.converged)
    out += "; not converged after " + std::to_string(r.odds.iterations) + " passes, each figure may be up to " +
           percent_text(r.odds.bound, 6) + " higher";
  out += "\n";
  for (const auto& e : r.endings) {
    out += "ending " + g.rooms[e.room].name + ": probability " + percent_text(e.probability, 3) + ", readers " +
           percent_text(e.share, 3);
    if (e.way.empty()) out += ", no way from room 0\n";
    else
      out += ", shortest way " + room_list(g, e.way, " > ", e.way.size()) + " (" + std::to_string(e.way.size() - 1) +
             " moves)\n";
  }
  for (const auto& t : r.traps)
    out += std::string(t.loop ? "closed loop: rooms " : "dead end: room ") + room_list(g, t.rooms, ", ", 20) +
           ": probability " + percent_text(t.probability, 3) + ", readers " + percent_text(t.share, 3) + "\n";
  if (!r.never_seen.empty())
    out += "never seen: " + std::to_string(r.never_seen.size()) + (r.never_seen.size() == 1 ? " room: " : " rooms: ") +
           room_list(g, r.never_seen, ", ", 50) + "\n";
  out += "rooms (share of readers who saw each):\n";
  for (uint32_t v = 0; v < g.rooms.size(); ++v)
    if (g.rooms[v].has_page) out += "  " + g.rooms[v].name + " " + percent_text(r.room_share[v], 2) + "\n";
  return out;
}

std::string playtest_report_json(std::string_view project, const LinkGraph& g, const PlaytestResult& r) {
  const PlaytestOptions& o = r.options;
  std::string out = "{\n  \"project\": " + json_string(folder_name(project)) + ",\n";
  out += "  \"runs\": " + std::to_string(o.runs) + ", \"seed\": " + std::to_string(o.seed) +
         ", \"max_steps\": " + std::to_string(o.max_steps) + ",\n";
  out += std::string("  \"start\": ") + (r.has_start ? "true" : "false") + ",\n";
  out += "  \"readers\": {\"ended\": " + std::to_string(r.ended) + ", \"stuck\": " + std::to_string(r.stuck) +
         ", \"out_of_steps\": " + std::to_string(r.out_of_steps) + ", \"mean_steps\": " + number(r.mean_steps) +
         "},\n";
  out += std::string("  \"exact\": {\"converged\": ") + (r.odds.converged ? "true" : "false") +
         ", \"iterations\": " + std::to_string(r.odds.iterations) + ", \"bound\": " + number(r.odds.bound) +
         ", \"ending_probability\": " + number(r.odds.ending_probability) +
         ", \"expected_steps\": " + optional_number(r.odds.expected_steps) + "},\n";
  out += "  \"endings\": [";
  for (size_t i = 0; i < r.endings.size(); ++i) {
    const auto& e = r.endings[i];
    out += std::string(i ? ",\n" : "\n") + "    {\"room\": " + json_string(g.rooms[e.room].name) +
           ", \"description\": " + json_string(g.rooms[e.room].description) +
           ", \"probability\": " + number(e.probability) + ", \"share\": " + number(e.share) +
           ", \"expected_steps\": " + optional_number(e.expected_steps) + ", \"way\": " + json_rooms(g, e.way) + "}";
  }
  out += r.endings.empty() ? "],\n" : "\n  ],\n";
  out += "  \"traps\": [";
  for (size_t i = 0; i < r.traps.size(); ++i) {
    const auto& t = r.traps[i];
    out += std::string(i ? ",\n" : "\n") + "    {\"kind\": " + (t.loop ? "\"loop\"" : "\"dead-end\"") +
           ", \"rooms\": " + json_rooms(g, t.rooms) + ", \"probability\": " + number(t.probability) +
           ", \"share\": " + number(t.share) + "}";
  }
  out += r.traps.empty() ? "],\n" : "\n  ],\n";
  out += "  \"never_seen\": " + json_rooms(g, r.never_seen) + ",\n";
  out += "  \"rooms\": [";
  bool first = true;
  for (uint32_t v = 0; v < g.rooms.size(); ++v) {
    if (!g.rooms[v].has_page) continue;
    out += std::string(first ? "\n" : ",\n") + "    {\"room\": " + json_string(g.rooms[v].name) +
           ", \"share\": " + number(r.room_share[v]) + "}";
    first = false;
  }
  out += first ? "]\n}\n" : "\n  ]\n}\n";
  return out;
}

}  // namespace pm
