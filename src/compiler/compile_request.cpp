// Compile requests served by the room editor (see compile_request.h).
#include "compiler/compile_request.h"

#include "compiler/site_compiler.h"

namespace pm {

CompileRequest compile_request_from_flags(std::string_view compila_tutto, std::string_view compila_tutto2) {
  if (compila_tutto == "1") return CompileRequest::ProjectTest;
  if (compila_tutto2 == "1") return CompileRequest::BuildWithoutInstaller;
  return CompileRequest::RoomTest;
}

CompilePlan plan_compile(CompileRequest request, const stdfs::path& output, std::string_view room) {
  CompilePlan p;
  p.request = request;
  switch (request) {
    case CompileRequest::RoomTest:
      p.save_room_first = true;
      p.target = output / (std::string(room) + ".htm");
      break;
    case CompileRequest::ProjectTest:
      p.target = output / "index.htm";
      p.close_host_without_saving = true;
      p.clears = CompileFlag::CompilaTutto;
      break;
    case CompileRequest::BuildWithoutInstaller:
      p.show_folder = true;
      p.target = output;
      p.close_host_without_saving = true;
      p.clears = CompileFlag::CompilaTutto2;
      break;
  }
  return p;
}

std::string compile_failure_message(const CompileReport& report) {
  return error_list_message("La compilazione non è riuscita del tutto:", report.errors);
}

}  // namespace pm
