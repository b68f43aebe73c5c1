// Registro's log: any file reads as a text that is written back as a file reading as the
// same text, in the encoding it came in; and LogStore loads any Dati.txt and saves it.
#include "fuzz_support.h"
#include "base/files.h"
#include "registro/log_store.h"
#include "registro/log_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const registro::LogText log = registro::log_from_file(bytes);
  const std::string file = registro::log_to_file(log.text, log.encoding);
  const registro::LogText again = registro::log_from_file(file);
  fuzz::check(again.text == log.text, "a log written reads back as the same text");
  fuzz::check(registro::log_to_file(again.text, again.encoding) == file, "a log written twice gives the same bytes");

  fuzz::check(pm::write_file_atomic(fuzz::scratch() / "Dati.txt", bytes).ok(), "the scratch log can be written");
  registro::LogStore store(fuzz::scratch());
  std::string text;
  fuzz::check(store.load(text).ok(), "a log file that is there can be read");
  fuzz::check(text == log.text, "the store reads the log as the text reader does");
  fuzz::check(store.save(text).ok() && !store.differs(text), "the log read is saved");
  return 0;
}
