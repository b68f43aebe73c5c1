// The installer script filled from its template (see installer_script.h).
#include "packager/installer_script.h"

#include <algorithm>
#include <array>
#include <utility>

#include "compiler/site_compiler.h"
#include "base/text.h"
#include "base/text_codec.h"

namespace pm {

namespace {

std::string or_default(const std::string& value, std::string_view fallback) {
  return value.empty() ? std::string(fallback) : value;
}

// Appends `line` with every placeholder replaced, in one pass: what was inserted is never
// scanned again.
void fill_line(std::string& out, std::string_view line,
               const std::array<std::pair<std::string_view, const std::string*>, 6>& table) {
  size_t i = 0;
  while (i < line.size()) {
    size_t open = line.find('[', i);
    if (open == std::string_view::npos) break;
    out.append(line.substr(i, open - i));
    i = open;
    bool replaced = false;
    for (const auto& [placeholder, value] : table) {
      if (line.substr(open, placeholder.size()) == placeholder) {
        out += *value;
        i = open + placeholder.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      out += '[';
      ++i;
    }
  }
  out.append(line.substr(i));
  out += kCrLf;
}

// A field as the script holds it: UTF-8, with its character references made characters.
std::string field_text(std::string_view bytes) { return decode_character_references(decode_for_display(bytes)); }

bool is_reserved_device_name(std::string_view name) {
  const std::string base = to_lower_ascii(name.substr(0, name.find('.')));
  for (std::string_view reserved : {"con", "prn", "aux", "nul"})
    if (base == reserved) return true;
  return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) && base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::string safe_file_name(std::string_view name, std::string_view fallback) {
  std::string out;
  for (char c : name) {
    const bool forbidden = (unsigned char)c < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
    out += forbidden ? '_' : c;
  }
  while (!out.empty() && (out.back() == '.' || out.back() == ' ')) out.pop_back();
  if (out.empty()) return std::string(fallback);
  if (is_reserved_device_name(out)) out.insert(std::min(out.find('.'), out.size()), "_");
  return out;
}

std::string installer_path_text(const stdfs::path& program_folder) {
  std::string text = path_text(program_folder);
#if !defined(_WIN32)
  for (char& c : text)
    if (c == '/') c = '\\';
  if (!text.empty() && text[0] == '\\') text = "Z:" + text;
#endif
  // Without a final separator, but a drive's root keeps its own (C:\ stays whole).
  while (text.size() > 1 && (text.back() == '\\' || text.back() == '/') && text[text.size() - 2] != ':')
    text.pop_back();
  return text;
}

InstallerValues installer_values(const ProjectFields& fields, const stdfs::path& program_folder) {
  InstallerValues v;
  v.title = or_default(field_text(fields.title()), kDefaultBookTitle);
  v.file_title = safe_file_name(field_text(fields.name()), safe_file_name(v.title, kDefaultBookTitle));
  v.publisher = or_default(field_text(fields.author()), kDefaultPublisher);
  v.site = or_default(field_text(fields.site()), kProductSite);
  v.program_path = decode_for_display(installer_path_text(program_folder));
  v.launcher = std::string(kLauncherFileName);
  return v;
}

std::string fill_installer_template(std::string_view template_bytes, const InstallerValues& values) {
  const std::array<std::pair<std::string_view, const std::string*>, 6> table{{
      {"[titolo_file]", &values.file_title},
      {"[titolo]", &values.title},
      {"[appub]", &values.publisher},
      {"[sito]", &values.site},
      {"[app.path]", &values.program_path},
      {"[navig]", &values.launcher},
  }};
  std::string out(kUtf8Bom);
  out.reserve(template_bytes.size() + template_bytes.size() / 4);
  for_each_line(template_bytes, [&](std::string_view line) {
    if (out.size() == kUtf8Bom.size() && line.starts_with(kUtf8Bom)) line.remove_prefix(kUtf8Bom.size());
    fill_line(out, decode_for_display(line), table);
  });
  return out;
}

Status write_installer_script(const stdfs::path& program_folder, const InstallerValues& values) {
  const stdfs::path source = resolve(program_folder, kInstallerTemplate);
  std::string bytes;
  const Status read = read_file_checked(source, bytes);
  if (read.kind() == StatusKind::NotFound)
    return {StatusKind::NotFound, "Manca il modello dello script di installazione " + path_text(source)};
  if (!read.ok()) return read;
  return write_file_atomic(resolve(program_folder, kInstallerScript), fill_installer_template(bytes, values));
}

}  // namespace pm
