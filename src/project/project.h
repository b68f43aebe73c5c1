// A project folder and its files: the project file, the room description, text and script
// files by room number, and the before-code and after-code files. Reads treat a missing
// file as empty; writes go through save_book_file (book_history.h): the bytes they replace
// are kept in the book's history, the write is atomic, and a failure comes back with a
// message naming the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/files.h"
#include "project/project_file.h"

namespace pm {

// The name of the script file of the room whose text file is `room`: the name and ".js".
inline std::string room_script_name(std::string_view room) { return std::string(room) + ".js"; }

class Project {
 public:
  // However `folder` is written ("Libri/Il Ponte/" too), folder().filename() is its name.
  Project(stdfs::path folder, std::string name) : folder_(folder_itself(std::move(folder))), name_(std::move(name)) {}

  const stdfs::path& folder() const { return folder_; }
  const std::string& name() const { return name_; }

  stdfs::path project_file() const { return resolve(folder_, name_ + ".dat"); }
  stdfs::path room_folder() const { return resolve(folder_, "Room"); }
  stdfs::path res_folder() const { return resolve(folder_, "res"); }
  stdfs::path description_file(const std::string& room) const { return resolve(room_folder(), room); }
  stdfs::path text_file(const std::string& room) const { return resolve(folder_, room); }
  stdfs::path script_file(const std::string& room) const { return resolve(folder_, room_script_name(room)); }
  // Any file of the project folder by name (Global.cod, Global2.cod, adv.css, ...).
  stdfs::path file(std::string_view name) const { return resolve(folder_, name); }

  ProjectFields read_fields() const;
  // The writes go through write_file_atomic: WriteFailed, with a message naming the file.
  Status write_creation_fields(const ProjectFields& f) const;
  Status write_properties_fields(const ProjectFields& f) const;

  // Description file: one line followed by CR LF.
  std::string read_description_bytes(const std::string& room) const;
  std::string read_description_text(const std::string& room) const;  // see description_line
  Status write_description(const std::string& room, std::string_view line) const;

  // Room text file: the text followed by one CR LF (how the editor saves).
  std::string read_text(const std::string& room) const;
  Status write_text(const std::string& room, std::string_view text) const;
  // Writes the bytes exactly (a deleted room's text is zero bytes).
  Status write_text_bytes(const std::string& room, std::string_view bytes) const;

  std::string read_script(const std::string& room) const;
  Status write_script(const std::string& room, std::string_view text) const;
  Status write_script_bytes(const std::string& room, std::string_view bytes) const;
  // Ok when there was none or it is gone (its bytes kept in the history).
  Status remove_script(const std::string& room) const;

  std::string read_before_code() const { return read_file_or_empty(file("Global.cod")); }
  std::string read_after_code() const { return read_file_or_empty(file("Global2.cod")); }

  // Names of the files without extension in Room, sorted by name as text (0, 1, 10, 2).
  std::vector<std::string> room_names() const;
  size_t room_count() const { return room_names().size(); }

 private:
  stdfs::path folder_;
  std::string name_;
};

// A file name without an extension: no '.' in it (hidden dot-files have one).
bool is_room_file_name(std::string_view name);
// Text order of room file names: character by character, letters without regard to case.
bool room_name_less(const std::string& a, const std::string& b);

// A description as a description file holds it: the whole first line, blanks around it
// dropped, and a pair of double quotes removed when it encloses the whole line (older
// files may hold the description quoted). Commas, digits and quotes inside stay as typed.
std::string description_line(std::string_view data);

// The editor's way of writing a text: the text, then one CR LF.
std::string text_with_final_crlf(std::string_view text);

}  // namespace pm
