// What the live preview's server answers (see preview_request.h).
#include "preview/preview_request.h"

#include "base/text.h"
#include "compiler/site_state.h"

namespace pm {

namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The path with its %XX decoded; nothing for a broken escape.
std::optional<std::string> percent_decoded(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') {
      out += s[i];
      continue;
    }
    if (i + 2 >= s.size()) return std::nullopt;
    const int hi = hex_value(s[i + 1]), lo = hex_value(s[i + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out += char(hi * 16 + lo);
    i += 2;
  }
  return out;
}

// True when every "/"-separated part of `path` (after the leading "/") is a plain name.
bool plain_parts(std::string_view path) {
  if (path.empty() || path[0] != '/') return false;
  path.remove_prefix(1);
  if (path.find_first_of(std::string_view("\\\0:", 3)) != std::string_view::npos) return false;
  size_t from = 0;
  while (from <= path.size()) {
    size_t slash = path.find('/', from);
    if (slash == std::string_view::npos) slash = path.size();
    const std::string_view part = path.substr(from, slash - from);
    if (part.empty() || part[0] == '.') return false;  // "", ".", "..", hidden files, the state
    for (unsigned char c : part)
      if (c < 0x20 || c == 0x7f) return false;
    from = slash + 1;
  }
  return true;
}

}  // namespace

std::optional<stdfs::path> served_file(const stdfs::path& root, std::string_view target) {
  if (const size_t query = target.find_first_of("?#"); query != std::string_view::npos) target = target.substr(0, query);
  if (target == "/") target = "/index.htm";
  if (!plain_parts(target)) return std::nullopt;
  const auto decoded = percent_decoded(target);
  if (!decoded || !plain_parts(*decoded)) return std::nullopt;
  const stdfs::path file = root / path_from_text(std::string_view(*decoded).substr(1));
  // Links are followed: what they lead to must still be inside Output.
  std::error_code ec;
  const stdfs::path real = stdfs::canonical(file, ec);
  if (ec || !stdfs::is_regular_file(real, ec)) return std::nullopt;
  const stdfs::path real_root = stdfs::canonical(root, ec);
  if (ec || !path_is_within(real, real_root)) return std::nullopt;
  return real;
}

bool host_is_loopback(std::string_view host, int port) {
  const std::string with_port = ":" + std::to_string(port);
  for (std::string_view name : {"127.0.0.1", "localhost"}) {
    if (!istarts_with(host, name)) continue;
    const std::string_view rest = host.substr(name.size());
    if (rest == with_port || (rest.empty() && port == 80)) return true;
  }
  return false;
}

std::string with_reload_script(std::string_view page, std::uint64_t generation) {
  const std::string script =
      "<script>(function(){var g=" + std::to_string(generation) + ";var s=new EventSource('" +
      std::string(kReloadPath) +
      "');s.onmessage=function(e){if(Number(e.data)>g){s.close();location.reload();}};})();</script>";
  const std::string lower = to_lower_ascii(page);
  const size_t body = lower.rfind("</body>");
  std::string out;
  out.reserve(page.size() + script.size());
  if (body == std::string::npos) {
    out.append(page);
    out += script;
  } else {
    out.append(page.substr(0, body));
    out += script;
    out.append(page.substr(body));
  }
  return out;
}

std::string_view content_type_of(const stdfs::path& file) {
  static const std::pair<std::string_view, std::string_view> types[] = {
      {".htm", "text/html"},         {".html", "text/html"},       {".css", "text/css"},
      {".js", "text/javascript"},    {".png", "image/png"},        {".jpg", "image/jpeg"},
      {".jpeg", "image/jpeg"},       {".gif", "image/gif"},        {".svg", "image/svg+xml"},
      {".webp", "image/webp"},       {".ico", "image/x-icon"},     {".bmp", "image/bmp"},
      {".wav", "audio/wav"},         {".mp3", "audio/mpeg"},       {".ogg", "audio/ogg"},
      {".mid", "audio/midi"},        {".mp4", "video/mp4"},        {".webm", "video/webm"},
      {".txt", "text/plain"},        {".json", "application/json"}, {".woff2", "font/woff2"},
  };
  const std::string ext = to_lower_ascii(path_text(file.extension()));
  for (const auto& [e, type] : types)
    if (ext == e) return type;
  return "application/octet-stream";
}

}  // namespace pm
