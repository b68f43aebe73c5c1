// A book's text files and its encoding (see book_encoding.h).
#include "project/book_encoding.h"

#include <algorithm>

#include "base/text.h"
#include "project/book_history.h"

namespace pm {

namespace {

bool has_suffix(std::string_view name, std::string_view suffix) {
  return name.size() > suffix.size() && iequals(name.substr(name.size() - suffix.size()), suffix);
}

}  // namespace

std::vector<BookTextFile> book_text_files(const stdfs::path& folder) {
  std::vector<std::string> names = list_file_names(folder);
  std::sort(names.begin(), names.end());
  std::vector<BookTextFile> files;
  auto add_kind = [&](auto is_kind, TextUse use) {
    for (const auto& n : names)
      if (is_kind(n)) files.push_back({n, use});
  };
  add_kind([](std::string_view n) { return has_suffix(n, ".dat"); }, TextUse::Html);
  add_kind([](std::string_view n) { return has_suffix(n, ".cod"); }, TextUse::Html);
  add_kind([](std::string_view n) { return has_suffix(n, ".css"); }, TextUse::StyleSheet);
  add_kind([](std::string_view n) { return has_suffix(n, ".js"); }, TextUse::Script);
  add_kind([](std::string_view n) { return n.find('.') == std::string_view::npos; }, TextUse::Html);
  if (auto room = find_entry(folder, "Room")) {
    std::vector<std::string> descriptions = list_file_names(*room);
    std::sort(descriptions.begin(), descriptions.end());
    const std::string prefix = path_text(room->filename()) + "/";
    for (const auto& n : descriptions)
      if (n.find('.') == std::string::npos) files.push_back({prefix + n, TextUse::Html});
  }
  return files;
}

TextEncoding book_encoding(const stdfs::path& folder) {
  bool beyond_ascii = false;
  std::string bytes;
  for (const auto& f : book_text_files(folder)) {
    if (!read_file(folder / path_from_text(f.name), bytes)) continue;
    if (is_ascii(bytes)) continue;
    if (!is_valid_utf8(bytes)) return TextEncoding::Windows1252;
    beyond_ascii = true;
  }
  return beyond_ascii ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

std::string encoding_name(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 ? "UTF-8" : "Windows-1252";
}

bool line_is_in(std::string_view line, TextEncoding book) {
  return is_ascii(line) || is_valid_utf8(line) == (book == TextEncoding::Utf8);
}

std::string convert_text_file(std::string_view bytes, TextEncoding to, TextUse use) {
  while (to == TextEncoding::Windows1252 && bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(start, end - start);
    if (line_is_in(line, to))
      out.append(line);
    else
      out.append(encode_for_book(decode_for_display(line), to, use));
    size_t next = end;
    if (next < bytes.size()) next += bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n' ? 2 : 1;
    out.append(bytes.substr(end, next - end));
    start = next;
  }
  return out;
}

BookConversion convert_book(const stdfs::path& folder, TextEncoding to) {
  BookConversion done;
  std::string bytes;
  for (const auto& f : book_text_files(folder)) {
    const stdfs::path path = folder / path_from_text(f.name);
    const Status read = read_file_checked(path, bytes);
    if (read.kind() == StatusKind::NotFound) continue;  // gone since the listing: nothing to convert
    if (!read.ok()) {
      done.errors.push_back(read.message());
      continue;
    }
    const std::string converted = convert_text_file(bytes, to, f.use);
    if (converted == bytes) continue;
    if (Status written = save_book_file(folder, path, converted); !written.ok()) {
      done.errors.push_back(written.message());
      continue;
    }
    done.changed.push_back(f.name);
  }
  return done;
}

}  // namespace pm
