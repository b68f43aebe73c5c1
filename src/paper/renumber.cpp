// Renumbering a book into a new project (see renumber.h).
#include "paper/renumber.h"

#include <algorithm>
#include <random>
#include <unordered_set>

#include "base/open_folder.h"
#include "base/text.h"
#include "base/text_codec.h"
#include "paper/room_references.h"
#include "project/book_encoding.h"
#include "project/project_creation.h"

namespace pm {

namespace {

// A number in [0, bound) from the generator, the same on every system (the standard's
// distributions are not): rejection keeps it even.
uint64_t below(std::mt19937_64& rng, uint64_t bound) {
  const uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
  uint64_t x;
  do x = rng();
  while (x >= limit);
  return x % bound;
}

}  // namespace

Result<Renumbering> plan_renumbering(const std::vector<std::string>& rooms, const RenumberOptions& options) {
  const size_t n = rooms.size();
  std::vector<std::string> lower;
  lower.reserve(n);
  for (const auto& r : rooms) lower.push_back(to_lower_ascii(r));
  std::vector<bool> taken(n, false);  // numbers given to pinned rooms
  std::vector<int64_t> fixed(n, -1);  // room index -> its pinned number
  std::vector<std::string> pins = options.pinned;
  pins.push_back("0");
  for (const auto& pin : pins) {
    const std::string name(trim_blanks(pin));
    auto at = std::find(lower.begin(), lower.end(), to_lower_ascii(name));
    if (at == lower.end() && name == "0") continue;  // a book without room 0 pins nothing
    if (at == lower.end()) return Status(StatusKind::Usage, "La stanza " + name + " da tenere ferma non esiste");
    if (!is_digits(name) || name.size() > 9 || size_t(std::stoul(name)) >= n ||
        (name.size() > 1 && name[0] == '0'))
      return Status(StatusKind::Usage, "La stanza " + name + " non può tenere il suo numero: i numeri vanno da 0 a " +
                                           std::to_string(n ? n - 1 : 0));
    const size_t number = std::stoul(name);
    fixed[size_t(at - lower.begin())] = int64_t(number);
    taken[number] = true;
  }
  std::vector<size_t> free_numbers;
  for (size_t k = 0; k < n; ++k)
    if (!taken[k]) free_numbers.push_back(k);
  if (options.shuffle) {
    std::mt19937_64 rng(options.seed);
    for (size_t k = free_numbers.size(); k > 1; --k) std::swap(free_numbers[k - 1], free_numbers[below(rng, k)]);
  }
  // The free numbers go to the rooms in the order of their own numbers (the list's text order
  // would turn room 10 into room 2 in a book without gaps); a name that is no number comes last.
  std::vector<size_t> order(n);
  for (size_t k = 0; k < n; ++k) order[k] = k;
  auto value = [&](size_t k) {
    const std::string& name = rooms[k];
    return is_digits(name) && name.size() <= 18 ? std::stoull(name) : UINT64_MAX;
  };
  if (!options.shuffle)
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return value(a) < value(b); });
  Renumbering plan;
  plan.old_names = rooms;
  plan.new_names.assign(n, {});
  size_t next = 0;
  for (size_t k : order)
    plan.new_names[k] = std::to_string(fixed[k] >= 0 ? size_t(fixed[k]) : free_numbers[next++]);
  return plan;
}

std::string renumber_map_text(const Renumbering& plan) {
  std::string out = "old,new\r\n";
  for (size_t k = 0; k < plan.old_names.size(); ++k) out += plan.old_names[k] + "," + plan.new_names[k] + "\r\n";
  return out;
}

namespace {

// The project file's bytes with field 1 (the project's folder name) set to `name`.
std::string with_folder_name(std::string_view data, std::string_view name) {
  size_t start = 0;
  while (start < data.size() && data[start] == ' ') ++start;
  if (start < data.size() && data[start] == '"') {
    const size_t close = data.find('"', start + 1);
    if (close == std::string_view::npos) return std::string(data);
    return std::string(data.substr(0, start + 1)) + std::string(name) + std::string(data.substr(close));
  }
  const size_t end = std::min(data.find(','), data.find_first_of("\r\n"));
  if (end == std::string_view::npos) return "\"" + std::string(name) + "\"";
  return "\"" + std::string(name) + "\"" + std::string(data.substr(end));
}

// Files written straight into a folder of the new project: it is new and private until the
// whole project is renamed into place, so a file needs no temporary of its own.
struct Writer {
  OpenFolder folder;
  Status status;
  void put(const std::string& name, std::string_view bytes) {
    if (!status.ok()) return;
    DirectWriter file(folder, name);
    file.write(bytes);
    status = file.finish();
  }
};

// Everything of `from` written renumbered into the fresh folder `to`.
Status write_renumbered(const Project& project, const std::vector<std::string>& names, const stdfs::path& to,
                        const std::string& new_name, const Renumbering& plan, const RenumberOptions& options) {
  RoomRenaming renaming;
  for (size_t k = 0; k < plan.old_names.size(); ++k) renaming[to_lower_ascii(plan.old_names[k])] = plan.new_names[k];
  auto rewrite = [&](std::string_view bytes) { return rewrite_room_references(bytes, renaming, options.phrases); };
  std::unordered_set<std::string> new_rooms(plan.new_names.begin(), plan.new_names.end());

  Writer out{OpenFolder(to), {}};
  std::error_code ec;
  stdfs::create_directory(to / "Room", ec);
  if (ec) return {StatusKind::WriteFailed, "Impossibile creare la cartella " + path_text(to / "Room") + ": " + ec.message()};
  const std::string dat = to_lower_ascii(project.name() + ".dat");
  for (const std::string& name : names) {
    std::string data;
    const Status read = read_file_checked(project.folder() / path_from_text(name), data);
    if (read.kind() == StatusKind::NotFound) continue;
    if (!read.ok()) return read;
    const std::string lower = to_lower_ascii(name);
    if (auto it = renaming.find(lower); it != renaming.end()) {
      out.put(it->second, rewrite(data));
    } else if (lower.size() > 3 && lower.ends_with(".js")) {
      auto room = renaming.find(lower.substr(0, lower.size() - 3));
      out.put(room != renaming.end() ? room_script_name(room->second) : name, rewrite(data));
    } else if (lower == "global.cod" || lower == "global2.cod") {
      out.put(name, rewrite(data));
    } else if (lower == dat) {
      const TextEncoding enc = book_encoding(project.folder());
      out.put(new_name + ".dat", with_folder_name(data, encode_for_reading_back(new_name, enc)));
    } else if (lower == to_lower_ascii(kRenumberMapName) || (is_room_file_name(name) && new_rooms.count(lower))) {
      continue;  // an old map, or a stray text file whose name a room now takes
    } else {
      out.put(name, data);
    }
  }
  Writer rooms{OpenFolder(to / "Room"), {}};
  std::string description;
  for (size_t k = 0; k < plan.old_names.size(); ++k) {
    const Status read = read_file_checked(project.description_file(plan.old_names[k]), description);
    if (!read.ok() && read.kind() != StatusKind::NotFound) return read;
    rooms.put(plan.new_names[k], rewrite(description));
  }
  // Files of Room that are no rooms (names with an extension) as they are.
  for (const std::string& name : list_file_names(project.room_folder())) {
    if (is_room_file_name(name)) continue;
    std::string data;
    if (const Status read = read_file_checked(project.room_folder() / path_from_text(name), data); !read.ok()) return read;
    rooms.put(name, data);
  }
  if (!out.status.ok()) return out.status;
  if (!rooms.status.ok()) return rooms.status;
  // The folders of the project (res, ...) as they are; Room was written above.
  for (const auto& entry : stdfs::directory_iterator(project.folder(), ec)) {
    std::error_code type_ec;
    if (!entry.is_directory(type_ec) || iequals(path_text(entry.path().filename()), "Room")) continue;
    if (!copy_folder_contents(entry.path(), to / entry.path().filename()))
      return {StatusKind::WriteFailed, "Impossibile copiare la cartella " + path_text(entry.path())};
  }
  out.put(std::string(kRenumberMapName), renumber_map_text(plan));
  return out.status;
}

}  // namespace

Result<Renumbering> renumber_project(const stdfs::path& from, const stdfs::path& into_path,
                                     const RenumberOptions& options) {
  OpenedProject opened = open_project_folder(from);
  if (!opened.status.ok()) return opened.status;
  const Project& project = *opened.project;
  std::error_code ec;
  stdfs::path into = folder_itself(stdfs::absolute(into_path, ec));
  if (path_is_within(into, project.folder()) || path_is_within(project.folder(), into))
    return Status(StatusKind::WouldDestroy, "La nuova cartella " + path_text(into) +
                                                " non può stare nel progetto da rinumerare né contenerlo");
  const bool exists = stdfs::exists(into, ec);
  if (exists && (!stdfs::is_directory(into, ec) || !stdfs::is_empty(into, ec)))
    return Status(StatusKind::NameExists, "La cartella " + path_text(into) + " esiste già e non è vuota");
  if (!is_folder(into.parent_path()))
    return Status(StatusKind::NotFound, "La cartella " + path_text(into.parent_path()) + " non esiste");

  auto plan = plan_renumbering(project.room_names(), options);
  if (!plan.ok()) return plan;

  const stdfs::path tmp = temporary_beside(into);
  stdfs::create_directory(tmp, ec);
  if (ec) return Status(StatusKind::WriteFailed, "Impossibile creare la cartella " + path_text(tmp) + ": " + ec.message());
  Status written = write_renumbered(project, opened.names, tmp, path_text(into.filename()), *plan, options);
  if (written.ok() && exists) stdfs::remove(into, ec);  // empty, checked above
  if (written.ok()) {
    stdfs::rename(tmp, into, ec);
    if (ec) written = {StatusKind::WriteFailed, "Impossibile creare la cartella " + path_text(into) + ": " + ec.message()};
  }
  if (!written.ok()) {
    std::error_code ignored;
    stdfs::remove_all(tmp, ignored);
    if (exists) stdfs::create_directory(into, ignored);
    return written;
  }
  return plan;
}

}  // namespace pm
