// The program folder's small files read from any bytes: a placement file, Last.ini and
// Res.ini; and a placement written reads back as its four numbers.
#include "fuzz_support.h"
#include "base/files.h"
#include "base/program_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const pm::ProgramFolder home(fuzz::scratch());
  for (const char* name : {"Manager.ini", "Last.ini", "Res.ini"})
    fuzz::check(pm::write_file_atomic(home.file(name), bytes).ok(), "the scratch file can be written");
  const pm::Placement placement = home.read_placement("Manager.ini");
  (void)home.read_last_project();
  (void)home.read_res_ini();

  // Written back (missing values as 0), the numbers read as they were.
  long v[4];
  for (size_t i = 0; i < 4; ++i) v[i] = placement.v[i].value_or(0);
  fuzz::check(home.write_placement("Editor.ini", v[0], v[1], v[2], v[3]).ok(), "a placement can be written");
  const pm::Placement back = home.read_placement("Editor.ini");
  for (size_t i = 0; i < 4; ++i) fuzz::check(back.v[i] == v[i], "a written placement reads back");
  return 0;
}
