// The program folder from the command line (see command_line.h).
#include "ui/command_line.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/program_folder.h"

namespace pm {

std::optional<stdfs::path> programFolderFromCommandLine(const char* program, const char* argv0) {
  std::vector<std::string> args;
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
  const HomeChoice home = choose_home(args, std::getenv("PAGIMOND_HOME"));
  if (!home.status.ok()) {
    std::fprintf(stderr, "%s: %s\n", program, home.status.message().c_str());
    return std::nullopt;
  }
  const ProgramFolderChoice chosen = choose_program_folder(home.named, argv0);
  if (!chosen.warning.empty()) std::fprintf(stderr, "%s: %s\n", program, chosen.warning.c_str());
  if (!is_folder(chosen.folder)) {
    std::fprintf(stderr, "%s: the folder %s does not exist\n", program, path_text(chosen.folder).c_str());
    return std::nullopt;
  }
  return chosen.folder;
}

}  // namespace pm
