// The named character references of HTML 4 (&egrave;, &laquo;, &euro;, ...) and the
// characters they stand for: what a book's text holds, read out for documents that are not
// HTML pages (an EPUB's XHTML knows only five of them).
#pragma once

#include <optional>
#include <string_view>

namespace pm {

// The character of the reference named `name` (without '&' and ';', case counts), or nothing.
std::optional<char32_t> html_entity(std::string_view name);

}  // namespace pm
