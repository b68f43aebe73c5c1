// The editor's file: naming, loading for display and line-preserving saving (see editor_file.h).
#include "editor/editor_file.h"

#include "editor/line_diff.h"
#include "project/book_encoding.h"
#include "project/book_history.h"
#include "base/text.h"

namespace pm {

EditorFileKind editor_file_kind(std::string_view name) {
  if (iequals(name, "Global.cod")) return EditorFileKind::GlobalCode;
  if (iequals(name, "Global2.cod")) return EditorFileKind::GlobalCode2;
  if (istarts_with(name, "adv.css")) return EditorFileKind::StyleSheet;
  if (name.size() > 3 && iequals(name.substr(name.size() - 3), ".js")) return EditorFileKind::RoomScript;
  return EditorFileKind::Room;
}

bool is_restricted_file(std::string_view name) {
  const EditorFileKind kind = editor_file_kind(name);
  return kind != EditorFileKind::Room && kind != EditorFileKind::RoomScript;
}

bool is_deleted_when_empty(std::string_view name) {
  const EditorFileKind kind = editor_file_kind(name);
  return kind == EditorFileKind::GlobalCode || kind == EditorFileKind::GlobalCode2 ||
         kind == EditorFileKind::RoomScript;
}

TextUse editor_file_use(std::string_view name) {
  switch (editor_file_kind(name)) {
    case EditorFileKind::StyleSheet:
      return TextUse::StyleSheet;
    case EditorFileKind::RoomScript:
      return TextUse::Script;
    default:
      return TextUse::Html;
  }
}

std::optional<stdfs::path> editor_file_path(const stdfs::path& folder, std::string_view name) {
  if (!is_plain_file_name(name)) return std::nullopt;
  return resolve(folder, name);
}

namespace {

// Splits at "\r\n", "\r" or "\n"; a line end at the very end gives a final empty line,
// and an empty text is one empty line.
std::vector<std::string_view> split_shown_lines(std::string_view text) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    out.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  out.push_back(text.substr(start));
  return out;
}

}  // namespace

LoadedText::LoadedText(std::string bytes) : bytes_(std::move(bytes)) {
  encoding_ = detect_encoding(bytes_);
  display_.reserve(bytes_.size() + bytes_.size() / 16);
  const std::string_view all = bytes_;
  size_t start = 0;
  while (start < all.size()) {
    size_t i = start;
    while (i < all.size() && all[i] != '\r' && all[i] != '\n') ++i;
    Line line;
    line.start = start;
    line.length = i - start;
    if (i < all.size()) line.end_length = (all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ? 2 : 1;
    std::string_view raw = all.substr(start, line.length);
    if (!lines_.empty()) display_ += '\n';
    line.shown_start = display_.size();
    // Lines are read as save_bytes writes them (encode_for_reading_back): in a Windows-1252
    // file a line whose bytes are valid UTF-8 is UTF-8 (plain ASCII reads the same either way).
    if (encoding_ == TextEncoding::Utf8 || detect_encoding(raw) == TextEncoding::Utf8)
      display_.append(raw);
    else
      display_.append(decode_to_utf8(raw, TextEncoding::Windows1252));
    line.shown_length = display_.size() - line.shown_start;
    lines_.push_back(line);
    start = i + line.end_length;
  }
}

std::vector<std::string_view> LoadedText::display_lines() const {
  std::vector<std::string_view> out;
  out.reserve(lines_.size());
  const std::string_view shown = display_;
  for (const Line& l : lines_) out.push_back(shown.substr(l.shown_start, l.shown_length));
  return out;
}

std::string LoadedText::save_bytes(std::string_view text, TextEncoding book, TextUse use) const {
  const std::vector<std::string_view> fresh = split_shown_lines(text);
  const std::vector<size_t> kept = match_lines(display_lines(), fresh);
  std::string out;
  out.reserve(text.size() + 2 * fresh.size());
  for (size_t j = 0; j < fresh.size(); ++j) {
    const bool last = j + 1 == fresh.size();
    if (kept[j] != kNoMatch) {
      const Line& l = lines_[kept[j]];
      out.append(bytes_, l.start, l.length);
      if (l.end_length)
        out.append(bytes_, l.start + l.length, l.end_length);
      else if (!last)
        out.append(kCrLf);
      continue;
    }
    out.append(encode_for_book(fresh[j], book, use));
    out.append(kCrLf);
  }
  return out;
}

Result<LoadedText> load_editor_file(const stdfs::path& folder, std::string_view name) {
  auto path = editor_file_path(folder, name);
  if (!path) return Status(StatusKind::BadName, "Nome di file non valido: " + std::string(name));
  std::error_code ec;
  const bool exists = stdfs::exists(*path, ec);
  if (!exists && !ec) return LoadedText();  // missing: an empty text
  std::string bytes;
  if (ec || !read_file(*path, bytes))
    return Status(StatusKind::ReadFailed, "Impossibile leggere il file " + path_text(*path));
  return LoadedText(std::move(bytes));
}

Status save_editor_file(const stdfs::path& folder, std::string_view name, LoadedText& loaded, std::string_view text) {
  auto path = editor_file_path(folder, name);
  if (!path) return {StatusKind::BadName, "Nome di file non valido: " + std::string(name)};
  if (text.empty() && is_deleted_when_empty(name)) {
    if (Status removed = remove_book_file(folder, *path); !removed.ok()) return removed;
    loaded = LoadedText();
    return {};
  }
  std::string bytes = loaded.save_bytes(text, book_encoding(folder), editor_file_use(name));
  if (Status written = save_book_file(folder, *path, bytes); !written.ok()) return written;
  loaded = LoadedText(std::move(bytes));
  return {};
}

}  // namespace pm
