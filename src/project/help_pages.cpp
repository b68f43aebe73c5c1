// The pages of the online help (see help_pages.h).
#include "project/help_pages.h"

#include "base/text.h"

namespace pm {

stdfs::path help_page_file(const stdfs::path& home, std::string_view page) {
  stdfs::path folder = resolve(home, "Help");
  return resolve(folder, page.empty() ? help::kRootPage : page);
}

std::string_view editor_help_page(std::string_view editor_name) {
  return istarts_with(editor_name, "adv.css") ? help::kStyleSheet : help::kEditor;
}

}  // namespace pm
