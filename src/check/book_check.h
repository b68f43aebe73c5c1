// The book check: broken roads (errors) and rooms a reader can never see or never leave
// (warnings), each with the room, the file and line, and the text that caused it; and for
// every room whether it has an error and whether it can be reached, for the graph map.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/link_graph.h"

namespace pm {

enum class Severity { Error, Warning };

enum class FindingKind {
  NoSuchRoom,          // error: a link or timed jump to a room that is not listed
  NoPage,              // error: ... to a room that has no page (deleted, or only <lang=html>)
  MissingResource,     // error: a file of res used and missing
  MissingTextFile,     // error: a listed room without its text file
  UnreadableTextFile,  // error: a text file that exists and cannot be read
  Unreachable,         // warning: no road from room 0 leads to the room
  NoWayOn,             // warning: no link, jump or back link, and not marked as an ending
  SelfLink,            // warning: a link from a room to itself
  UnlistedTextFile,    // warning: a text file with no entry in Room
  OldBackLink,         // warning: a back link whose timed return is a refresh to javascript:
  OtherEncoding,       // warning: a line in another encoding than the book's (encoding_check.h)
};

struct Finding {
  Severity severity = Severity::Error;
  FindingKind kind = FindingKind::NoSuchRoom;
  std::string room;        // the room to open; empty for the before-code and after-code files
  std::string file;        // the file, relative to the project folder: "12", "Room/7", "Global.cod"
  uint32_t line = 1;       // 1-based
  std::string text;        // the tag or the description that caused it, as bytes
  std::string message;     // for the terminal, in English
  std::string message_it;  // for the window, in Italian (UTF-8)
};

struct RoomState {
  bool error = false;      // at least one error finding names this room
  bool reachable = false;  // reached from room 0 by links and timed jumps
};

struct CheckResult {
  std::vector<Finding> findings;  // errors and warnings room by room, in list order
  std::vector<RoomState> rooms;   // parallel to LinkGraph::rooms
  size_t errors = 0, warnings = 0;
};

CheckResult check_book(const LinkGraph& graph);

}  // namespace pm
