// A project folder and its files (see project.h).
#include "project/project.h"

#include <algorithm>

#include "base/text.h"
#include "project/book_history.h"

namespace pm {

bool is_room_file_name(std::string_view name) {
  return !name.empty() && name.find('.') == std::string_view::npos;
}

bool room_name_less(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = (unsigned char)lower_ascii(a[i]), y = (unsigned char)lower_ascii(b[i]);
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::string description_line(std::string_view data) {
  std::string_view line = trim_blanks(data.substr(0, data.find_first_of("\r\n")));
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"' &&
      line.find('"', 1) == line.size() - 1)
    line = line.substr(1, line.size() - 2);
  return std::string(line);
}

std::string text_with_final_crlf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.append(text);
  out.append(kCrLf);
  return out;
}

ProjectFields Project::read_fields() const {
  return parse_project_line(read_file_or_empty(project_file()));
}

Status Project::write_creation_fields(const ProjectFields& f) const {
  return save_book_file(folder_, project_file(), format_creation_line(f));
}

Status Project::write_properties_fields(const ProjectFields& f) const {
  return save_book_file(folder_, project_file(), format_properties_line(f));
}

std::string Project::read_description_bytes(const std::string& room) const {
  return read_file_or_empty(description_file(room));
}

std::string Project::read_description_text(const std::string& room) const {
  return description_line(read_description_bytes(room));
}

Status Project::write_description(const std::string& room, std::string_view line) const {
  return save_book_file(folder_, description_file(room), text_with_final_crlf(line));
}

std::string Project::read_text(const std::string& room) const { return read_file_or_empty(text_file(room)); }

Status Project::write_text(const std::string& room, std::string_view text) const {
  return save_book_file(folder_, text_file(room), text_with_final_crlf(text));
}

Status Project::write_text_bytes(const std::string& room, std::string_view bytes) const {
  return save_book_file(folder_, text_file(room), bytes);
}

std::string Project::read_script(const std::string& room) const {
  return read_file_or_empty(script_file(room));
}

Status Project::write_script(const std::string& room, std::string_view text) const {
  return save_book_file(folder_, script_file(room), text_with_final_crlf(text));
}

Status Project::write_script_bytes(const std::string& room, std::string_view bytes) const {
  return save_book_file(folder_, script_file(room), bytes);
}

Status Project::remove_script(const std::string& room) const { return remove_book_file(folder_, script_file(room)); }

std::vector<std::string> Project::room_names() const {
  std::vector<std::string> names = list_file_names(room_folder());
  names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& n) { return !is_room_file_name(n); }),
              names.end());
  std::sort(names.begin(), names.end(), room_name_less);
  return names;
}

}  // namespace pm
