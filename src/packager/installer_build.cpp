// The installer build (see installer_build.h).
#include "packager/installer_build.h"

#include <cstdlib>

#include <unistd.h>

#include "compiler/compile_request.h"
#include "packager/distribution.h"
#include "packager/installer_script.h"
#include "base/platform.h"
#include "base/prompts.h"

namespace pm {

namespace {

#if defined(_WIN32)
constexpr bool kNativeWindows = true;
#else
constexpr bool kNativeWindows = false;
#endif

// A switch such as /cc or -x, as opposed to a path.
bool is_switch(std::string_view arg) {
  if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return false;
  return arg.find_first_of("/\\ ", 1) == std::string_view::npos;
}

std::string in_quotes(std::string_view s) { return "\"" + std::string(s) + "\""; }

// The first executable file `name` in the folders of `path_env`; empty when there is none.
stdfs::path find_on_path(std::string_view path_env, std::string_view name) {
  size_t start = 0;
  while (start <= path_env.size()) {
    size_t end = path_env.find(':', start);
    if (end == std::string_view::npos) end = path_env.size();
    std::string_view dir = path_env.substr(start, end - start);
    if (!dir.empty()) {
      stdfs::path candidate = stdfs::path(std::string(dir)) / std::string(name);
#if defined(_WIN32)
      if (is_file(candidate)) return candidate;
#else
      if (is_file(candidate) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
#endif
    }
    start = end + 1;
  }
  return {};
}

// Setup/Compil32.exe of the program folder, each name found in any case.
stdfs::path compiler_path(const ProgramFolder& home) {
  stdfs::path p = home.home();
  for (const auto& part : stdfs::path(std::string(kInstallerCompiler))) p = resolve(p, part.string());
  return p;
}

// Why the installer compiler cannot run, as a clause of a sentence; empty when it can.
std::string compiler_problem(InstallerCompiler::State state, const stdfs::path& compiler) {
  switch (state) {
    case InstallerCompiler::State::Ready:
      break;
    case InstallerCompiler::State::Missing:
      return "manca il compilatore dell'installazione " + path_text(compiler);
    case InstallerCompiler::State::NoWine:
      return "su questo sistema il compilatore dell'installazione funziona solo con Wine, che non è installato "
             "(il comando wine non si trova)";
  }
  return {};
}

}  // namespace

std::string ProgramLaunch::command_line() const {
  std::string line = in_quotes(program);
  for (const auto& a : args) line += " " + (is_switch(a) ? a : in_quotes(a));
  return line;
}

InstallerCompiler find_installer_compiler(const ProgramFolder& home, bool windows, std::string_view path_env) {
  InstallerCompiler c;
  c.compiler = compiler_path(home);
  if (!is_file(c.compiler)) {
    c.state = InstallerCompiler::State::Missing;
    return c;
  }
  const std::string script = resolve(home.home(), kInstallerScript).filename().string();
  if (windows) {
    c.launch = {path_text(c.compiler), {"/cc", path_text(home.home() / script)}};
  } else {
    stdfs::path wine = find_on_path(path_env, "wine");
    if (wine.empty()) {
      c.state = InstallerCompiler::State::NoWine;
      return c;
    }
    // Under Wine the script is named as the compiler sees it; a Unix path would read as a switch.
    c.launch = {path_text(wine), {path_text(c.compiler), "/cc", installer_path_text(home.home()) + "\\" + script}};
  }
  c.state = InstallerCompiler::State::Ready;
  return c;
}

InstallerCompiler find_installer_compiler(const ProgramFolder& home) {
  const char* path = std::getenv("PATH");
  return find_installer_compiler(home, kNativeWindows, path ? path : "");
}

std::string installer_unavailable_reason(const InstallerCompiler& compiler) {
  if (compiler.state == InstallerCompiler::State::Ready) return {};
  return "L'installazione non si può creare: " + compiler_problem(compiler.state, compiler.compiler) + ".";
}

InstallerBuild run_installer_build(const ProgramFolder& home, const Project& project,
                                   const std::vector<std::string>& rooms, const InstallerCompiler& compiler) {
  InstallerBuild build;
  build.compiler = compiler.compiler;
  build.distribute = distribute_folder(home);
  build.package = portable_package_path(home, project);

  CompileRequest request;
  request.project = project;
  request.rooms = rooms;
  CompileResult compiled = run_compile(for_distribution(home, std::move(request)));
  build.skip_start_page = compiled.skip_start_page;
  if (!compiled.report.ok()) {
    build.errors = std::move(compiled.report.errors);
    return build;
  }
  Status ready = write_installer_script(home.home(), installer_values(project.read_fields(), home.home()));
  if (ready.ok()) ready = remove_files_in(build.distribute);
  if (!ready.ok()) {
    build.errors.push_back(ready.message());
    return build;
  }
  const Status packed = write_portable_package(home, project);
  build.package_made = packed.ok();
  if (!packed.ok()) build.warnings.push_back(packed.message());
  switch (compiler.state) {
    case InstallerCompiler::State::Ready:
      build.outcome = InstallerBuild::Outcome::Ready;
      build.launch = compiler.launch;
      break;
    case InstallerCompiler::State::Missing:
      build.outcome = InstallerBuild::Outcome::CompilerMissing;
      break;
    case InstallerCompiler::State::NoWine:
      build.outcome = InstallerBuild::Outcome::NoWine;
      break;
  }
  return build;
}

std::string installer_build_message(const InstallerBuild& build) {
  const std::string package_note = build.package_made ? "\nIl libro è comunque pronto da distribuire nel pacchetto " +
                                                           path_text(build.package) + ", che si apre su qualsiasi sistema."
                                                     : std::string();
  switch (build.outcome) {
    case InstallerBuild::Outcome::Ready:
      return {};
    case InstallerBuild::Outcome::CompilerMissing:
    case InstallerBuild::Outcome::NoWine: {
      using State = InstallerCompiler::State;
      const State state = build.outcome == InstallerBuild::Outcome::NoWine ? State::NoWine : State::Missing;
      return "L'installazione non è stata creata: " + compiler_problem(state, build.compiler) + "." + package_note;
    }
    case InstallerBuild::Outcome::Failed:
      break;
  }
  return error_list_message("L'installazione non è stata creata:", build.errors);
}

std::string installer_build_warning(const InstallerBuild& build) {
  if (build.warnings.empty()) return {};
  return error_list_message("Il pacchetto portatile non è stato creato:", build.warnings);
}

void present_installer_build(const InstallerBuild& build, Platform& platform, Prompts& prompts) {
  static const std::string title = "Pagimond";
  if (const std::string warning = installer_build_warning(build); !warning.empty())
    prompts.message(warning, title, MessageIcon::Warning);
  if (build.outcome == InstallerBuild::Outcome::Ready) {
    platform.start_program(build.launch.program, build.launch.args);
    prompts.message(std::string(kMsgPressOk), title, MessageIcon::Information);
  } else {
    prompts.message(installer_build_message(build), title, MessageIcon::Warning);
    if (build.outcome == InstallerBuild::Outcome::Failed) return;
  }
  if (Status shown = platform.show_folder(path_text(build.distribute)); !shown.ok())
    prompts.message(shown.message(), title, MessageIcon::Warning);
}

}  // namespace pm
