// Start: opens the book's index.htm, found beside this program, in the default browser
// and ends at once. It shows nothing and reports nothing; it always ends with status 0.
#include <filesystem>
#include <system_error>

#include "open_document.h"
#include "base/program_folder.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

int run_start() {
  const std::filesystem::path folder = pm::own_program_folder();
  if (folder.empty()) return 0;
  const std::filesystem::path page = folder / "index.htm";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(page, ec)) return 0;  // no book here: end quietly
  start::open_document(page);
  return 0;
}

}  // namespace

#if defined(_WIN32)
// A windowed program: no console window flashes up when the reader starts it.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return run_start(); }
#else
int main() { return run_start(); }
#endif
