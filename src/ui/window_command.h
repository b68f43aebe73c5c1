// The commands the other windows ask of the main window, and the text codes that carry
// them in its request field Scelta ("1" to "8", "Verifica"). A code is read into a Command
// once, where Scelta is read; everything after that works with the Command.
#pragma once

#include <QString>

namespace pm {

enum class Command {
  None,             // a code that names no command: nothing happens
  CreateRoom,       // "1", F2
  OpenRoom,         // "2", F3: the selected room in the editor
  DescribeRoom,     // "3", F4: the selected room's description
  EditStyleSheet,   // "4", F5
  GlobalCode,       // "5", F6
  Properties,       // "6", F7
  TestProject,      // "7", F8: the whole-project test
  Compile,          // "8", F9: the compile dialog
  BookCheck,        // "Verifica"
};

struct CommandCode {
  Command command;
  const char* code;
};

inline constexpr CommandCode kCommandCodes[] = {
    {Command::CreateRoom, "1"},     {Command::OpenRoom, "2"},   {Command::DescribeRoom, "3"},
    {Command::EditStyleSheet, "4"}, {Command::GlobalCode, "5"}, {Command::Properties, "6"},
    {Command::TestProject, "7"},    {Command::Compile, "8"},    {Command::BookCheck, "Verifica"},
};

// The code written into Scelta for `command` (empty for None).
inline QString commandCode(Command command) {
  for (const CommandCode& c : kCommandCodes)
    if (c.command == command) return QString::fromLatin1(c.code);
  return {};
}

// The command that `code` names; None for any other text.
inline Command commandFromCode(const QString& code) {
  for (const CommandCode& c : kCommandCodes)
    if (code == QLatin1String(c.code)) return c.command;
  return Command::None;
}

}  // namespace pm
