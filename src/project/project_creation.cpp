// Creating a project and recognising a project folder (see project_creation.h).
#include "project/project_creation.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>

#include "project/project.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "base/version.h"

namespace pm {

std::string clean_project_name(std::string_view title) {
  std::string name = replace_all(title, ".htm", "");
  for (char& c : name) {
    switch (c) {
      case '!': case '|': case '/': case '?': case '<': case '>':
      case '\\': case '*': case ',': case ':': case '"':
        c = ' ';
        break;
      default:
        break;
    }
  }
#if defined(_WIN32)
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
#endif
  return name;
}

static bool can_read(const stdfs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return f.good() && is_file(p);
}

CreationResult create_project(const stdfs::path& parent, std::string_view title, const stdfs::path& home,
                              const std::string& date) {
  CreationResult r;
  if (title.empty() || title == "\\") {
    r.status = Status(StatusKind::NoTitle, std::string(kMsgNoTitle));
    return r;
  }
  r.name = clean_project_name(title);
  // A name that is no folder name of its own would write into the parent folder.
  if (trim_blanks(r.name).empty() || r.name == "." || r.name == ".." ||
      r.name.find('\0') != std::string::npos) {
    r.status = Status(StatusKind::BadName, "Il titolo non forma un nome di cartella valido: " + std::string(title));
    return r;
  }
  if (find_entry(parent, r.name)) {
    r.status = Status(StatusKind::NameExists, std::string(kMsgNameExists));
    return r;
  }
  r.folder = parent / path_from_text(r.name);
  std::error_code ec;
  if (!stdfs::create_directory(r.folder, ec) || ec) {
    r.status = Status(StatusKind::WriteFailed,
                      "Impossibile creare la cartella " + path_text(r.folder) + (ec ? ": " + ec.message() : ""));
    return r;
  }
  auto undo = [&](Status why) {
    std::error_code ec2;
    stdfs::remove_all(r.folder, ec2);
    r.status = std::move(why);
    return r;
  };
  stdfs::create_directory(r.folder / "res", ec);
  stdfs::create_directory(r.folder / "Room", ec);

  Project project(r.folder, r.name);
  ProjectFields f;
  // A new book is Windows-1252 (book_encoding): its name and title (UTF-8 here) are written so.
  auto in_book = [](std::string_view utf8) { return encode_for_book(utf8, TextEncoding::Windows1252, TextUse::Html); };
  f.f = {in_book(r.name), in_book(replace_all(title, "\"", "''")), date, "Realizzato con Pagimond", std::string(kMakerSite),
         "", "100%", "1", "Pagimond " + std::string(version_text()), ""};
  if (Status s = project.write_creation_fields(f); !s.ok()) return undo(s);
  // A project without the program's style sheets would compile into unstyled pages.
  if (!copy_matching(home, "*.css", r.folder))
    return undo({StatusKind::WriteFailed, "Impossibile copiare i fogli di stile da " + path_text(home)});
  if (Status s = write_file_atomic(r.folder / "global.cod", ""); !s.ok()) return undo(s);
  if (Status s = project.write_description("0", kStartRoomDescription); !s.ok()) return undo(s);
  if (Status s = project.write_text("0", ""); !s.ok()) return undo(s);
  return r;
}

std::optional<ProjectRef> check_project_folder(const stdfs::path& folder) {
  return check_project_folder(folder, list_file_names(folder));
}

std::optional<ProjectRef> check_project_folder(const stdfs::path& folder, const std::vector<std::string>& names) {
  std::vector<std::string> dats;
  for (auto& n : names)
    if (matches_pattern(n, "*.dat")) dats.push_back(n);
  if (dats.empty()) return std::nullopt;
  std::sort(dats.begin(), dats.end(), [](const std::string& a, const std::string& b) {
    std::string la = to_lower_ascii(a), lb = to_lower_ascii(b);
    return la != lb ? la < lb : a < b;
  });
  const std::string& dat = dats.front();
  if (!can_read(folder / path_from_text(dat))) return std::nullopt;
  auto room = find_entry(folder, "Room");
  if (!room || !find_entry(*room, "0") || !can_read(*find_entry(*room, "0"))) return std::nullopt;
  return ProjectRef{folder, dat.substr(0, dat.size() - 4)};
}

OpenedProject open_project_folder(const stdfs::path& folder) {
  OpenedProject opened;
  if (!is_folder(folder)) {
    opened.status = Status(StatusKind::NotFound, "La cartella " + path_text(folder) + " non esiste.");
    return opened;
  }
  opened.names = list_file_names(folder);
  auto ref = check_project_folder(folder, opened.names);
  if (!ref) {
    opened.status = Status(StatusKind::NotAProject, "La cartella " + path_text(folder) +
                                                        " non è un progetto: servono un file .dat e la stanza Room/0 "
                                                        "leggibili.");
    return opened;
  }
  opened.project.emplace(ref->folder, ref->name);
  return opened;
}

}  // namespace pm
