// The book check (see book_check.h). Linear in the rooms, roads and arrows of the graph.
#include "check/book_check.h"

#include "base/text.h"

namespace pm {

namespace {

bool leads_on(RoadKind k) { return k == RoadKind::Link || k == RoadKind::TimedJump || k == RoadKind::BackLink; }

// Marks the rooms reached from room 0 through the arrows, and through the roads of the
// before-code and after-code, which every page carries.
void mark_reachable(const LinkGraph& g, std::vector<RoomState>& state) {
  const auto start = g.find("0");
  if (!start || !g.rooms[*start].has_page) return;
  const size_t n = g.rooms.size();
  std::vector<uint32_t> first(n + 1, 0), targets(g.edges.size());
  for (const auto& e : g.edges) ++first[e.from + 1];
  for (size_t i = 0; i < n; ++i) first[i + 1] += first[i];
  std::vector<uint32_t> fill(first.begin(), first.end() - 1);
  for (const auto& e : g.edges) targets[fill[e.from]++] = e.to;

  std::vector<uint32_t> queue{*start};
  state[*start].reachable = true;
  auto visit = [&](uint32_t room) {
    if (state[room].reachable) return;
    state[room].reachable = true;
    queue.push_back(room);
  };
  for (const auto& code : g.code)
    for (const auto& road : code.roads)
      if (road.kind == RoadKind::Link || road.kind == RoadKind::TimedJump)
        if (auto to = g.find(road.target); to && g.rooms[*to].has_page) visit(*to);
  for (size_t head = 0; head < queue.size(); ++head)
    for (uint32_t i = first[queue[head]]; i < first[queue[head] + 1]; ++i) visit(targets[i]);
}

class Collector {
 public:
  explicit Collector(CheckResult& r) : r_(r) {}

  void add(Severity severity, FindingKind kind, const std::string& room, std::string file, uint32_t line,
           std::string text, std::string message, std::string message_it) {
    r_.findings.push_back(Finding{severity, kind, room, std::move(file), line, std::move(text), std::move(message),
                                  std::move(message_it)});
    (severity == Severity::Error ? r_.errors : r_.warnings)++;
  }

  // The findings of one road of `file`, which belongs to room `self` (none for code files).
  void road(const LinkGraph& g, const Road& road, const std::string& file, std::optional<uint32_t> self) {
    const std::string room = self ? g.rooms[*self].name : std::string();
    if (road.kind == RoadKind::Resource) {
      if (!g.has_resource(road.target)) {
        add(Severity::Error, FindingKind::MissingResource, room, file, road.line, road.text,
            "missing file res/" + road.target, "file mancante in res: " + road.target);
        mark_error(self);
      }
      return;
    }
    if (road.kind != RoadKind::Link && road.kind != RoadKind::TimedJump) return;
    const bool link = road.kind == RoadKind::Link;
    const std::string what = (link ? "link to " : "timed jump to ") + road.target + ".htm: ";
    const std::string what_it = (link ? "collegamento a " : "salto a tempo a ") + road.target + ".htm: ";
    const auto to = g.find(road.target);
    if (!to) {
      add(Severity::Error, FindingKind::NoSuchRoom, room, file, road.line, road.text, what + "no such room",
          what_it + "la stanza non esiste");
      mark_error(self);
    } else if (!g.rooms[*to].has_page) {
      const GraphRoom& target = g.rooms[*to];
      const bool text = target.has_text;
      add(Severity::Error, FindingKind::NoPage, room, file, road.line, road.text,
          what + "room " + target.name + " has no page (" + (text ? "deleted or empty" : "no text file") + ")",
          what_it + "la stanza " + target.name + " non ha una pagina (" +
              (text ? "eliminata o vuota" : "manca il file di testo") + ")");
      mark_error(self);
    } else if (link && self && *to == *self && !road.back_arrow) {
      add(Severity::Warning, FindingKind::SelfLink, room, file, road.line, road.text,
          "link from room " + room + " to itself", "collegamento della stanza " + room + " a se stessa");
    }
  }

  void mark_error(std::optional<uint32_t> room) {
    if (room) r_.rooms[*room].error = true;
  }

 private:
  CheckResult& r_;
};

// A back link written in the old form: its timed return is a refresh to
// javascript:history.back(), which browsers refuse, and its arrow links to the room itself.
// The author removes it and inserts it again with F4.
void warn_old_back_link(Collector& c, const Road& road, const std::string& file, const std::string& room) {
  if (road.kind != RoadKind::BackLink || !istarts_with(road.text, "<meta")) return;
  c.add(Severity::Warning, FindingKind::OldBackLink, room, file, road.line, road.text,
        "back link in the old form: browsers refuse its timed return (a refresh to javascript:) and its arrow "
        "leads to the room itself; delete it and insert it again with F4",
        "collegamento di ritorno nella forma vecchia: i browser rifiutano il suo ritorno a tempo e la sua freccia "
        "porta alla stanza stessa; cancellalo e inseriscilo di nuovo con F4");
}

}  // namespace

CheckResult check_book(const LinkGraph& g) {
  CheckResult r;
  r.rooms.resize(g.rooms.size());
  mark_reachable(g, r.rooms);
  Collector c(r);

  bool code_leads_on = false;
  for (const auto& code : g.code)
    for (const auto& road : code.roads) code_leads_on = code_leads_on || leads_on(road.kind);

  for (uint32_t i = 0; i < g.rooms.size(); ++i) {
    const GraphRoom& room = g.rooms[i];
    if (!room.has_text) {
      c.add(Severity::Error, FindingKind::MissingTextFile, room.name, "Room/" + room.name, 1, room.description,
            "room " + room.name + " has no text file", "la stanza " + room.name + " non ha il file di testo");
      c.mark_error(i);
      continue;
    }
    if (!room.readable) {
      c.add(Severity::Error, FindingKind::UnreadableTextFile, room.name, room.name, 1, room.description,
            "cannot read the text file of room " + room.name,
            "impossibile leggere il file di testo della stanza " + room.name);
      c.mark_error(i);
      continue;
    }
    bool way_on = code_leads_on;
    for (const Road& road : room.roads) {
      c.road(g, road, room.name, i);
      warn_old_back_link(c, road, room.name, room.name);
      way_on = way_on || leads_on(road.kind);
    }
    if (!room.has_page) continue;  // a deleted room is nobody's concern
    if (!r.rooms[i].reachable)
      c.add(Severity::Warning, FindingKind::Unreachable, room.name, room.name, 1, room.description,
            "room " + room.name + " cannot be reached from room 0",
            "la stanza " + room.name + " non \xC3\xA8 raggiungibile dalla stanza 0");
    if (!way_on && !room.ending)
      c.add(Severity::Warning, FindingKind::NoWayOn, room.name, room.name, 1, room.description,
            "room " + room.name + " has no way on (no link, timed jump or back link) and is not marked as an ending",
            "la stanza " + room.name + " non ha uscite e non \xC3\xA8 segnata come finale");
  }
  for (const auto& code : g.code)
    for (const Road& road : code.roads) {
      c.road(g, road, code.name, std::nullopt);
      warn_old_back_link(c, road, code.name, std::string());
    }
  for (const auto& name : g.unlisted_texts)
    c.add(Severity::Warning, FindingKind::UnlistedTextFile, name, name, 1, std::string(),
          "text file " + name + " has no entry in Room/", "il file di testo " + name + " non ha una voce in Room");
  return r;
}

}  // namespace pm
