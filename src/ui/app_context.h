// What every window of the tool is built with: the program folder and the two seams to the
// outside world (prompts and the desktop). Owned by main(); tests build it with doubles.
#pragma once

#include "base/program_folder.h"
#include "base/platform.h"
#include "base/prompts.h"

namespace pm {

struct AppContext {
  ProgramFolder home;
  Prompts* prompts = nullptr;
  Platform* platform = nullptr;
};

}  // namespace pm
