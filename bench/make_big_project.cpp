// Generator of large projects for the benchmarks: N rooms of about 1.5 KB of Italian-
// looking text each, links to other rooms in every room, a few timed jumps and room
// scripts, Global.cod and Global2.cod, adv.css and a res folder with a couple of files.
// The same arguments always give the same bytes.
//
//   make_big_project FOLDER ROOMS
//
// FOLDER must not exist yet; it becomes the project folder and its last name the
// project's name.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/files.h"
#include "project/project.h"
#include "project/project_file.h"

namespace {

// A small fixed-seed generator, so every run writes the same book.
class Dice {
 public:
  explicit Dice(uint64_t seed) : s_(seed) {}
  uint64_t next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 7;
    s_ ^= s_ << 17;
    return s_;
  }
  size_t below(size_t n) { return size_t(next() % n); }

 private:
  uint64_t s_;
};

const std::vector<std::string> kWords = {
    "il",       "la",        "lo",       "di",       "che",      "e",         "un",       "una",
    "nel",      "della",     "sul",      "per",      "con",      "non",       "si",       "ma",
    "ponte",    "fiume",     "porta",    "torre",    "cantina",  "castello",  "bosco",    "sentiero",
    "cavaliere", "drago",    "spada",    "lanterna", "chiave",   "scrigno",   "mappa",    "oste",
    "guardia",  "vecchio",   "buio",     "freddo",   "antico",   "silenzioso", "stretto", "umido",
    "cammini",  "osservi",   "ascolti",  "apri",     "senti",    "trovi",     "decidi",   "raggiungi",
    "lentamente", "all'improvviso", "lontano", "vicino", "sotto", "sopra", "dietro", "davanti",
    "acqua",    "pietra",    "legno",    "ferro",    "nebbia",   "vento",     "notte",    "alba",
    "città",    "perché",    "così",     "più",      "già",      "però",      "virtù",    "libertà"};

std::string word(Dice& d) { return kWords[d.below(kWords.size())]; }

std::string sentence(Dice& d) {
  std::string s = word(d);
  s[0] = char(std::toupper((unsigned char)s[0]));
  size_t n = 6 + d.below(10);
  for (size_t i = 0; i < n; ++i) s += " " + word(d);
  return s + (d.below(5) == 0 ? "," : ".");
}

std::string room_text(size_t room, size_t rooms, Dice& d) {
  std::string text;
  std::vector<std::string> lines;
  size_t size = 0;
  size_t links = 2 + d.below(3);
  while (size < 1400) {
    std::string line;
    while (line.size() < 70) line += (line.empty() ? "" : " ") + sentence(d);
    if (d.below(6) == 0) line = "  " + line + "  ";           // blanks the compilers trim
    if (d.below(8) == 0) line.insert(line.find(' '), "  ");  // a run of blanks inside
    if (d.below(10) == 0) line = "<b>" + line + "</b>";
    size += line.size() + 2;
    lines.push_back(line);
  }
  for (size_t i = 0; i < links; ++i) {
    size_t target = d.below(rooms);
    lines.push_back("Se vuoi " + word(d) + " " + word(d) + ", <a href=\"" + std::to_string(target) + ".htm\">vai al " +
                    std::to_string(target) + "</a>.");
  }
  if (room > 0 && room % 97 == 0)
    lines.push_back("<meta http-equiv='refresh' content='5; url=" + std::to_string(d.below(rooms)) + ".htm'>");
  if (room > 0 && room % 50 == 0) lines.push_back("<a href='" + std::to_string(room - 1) + ".htm'>Torna indietro</a>");
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  return text;
}

bool check(const pm::Status& status) {
  if (!status.ok()) std::fprintf(stderr, "make_big_project: %s\n", status.message().c_str());
  return status.ok();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_big_project FOLDER ROOMS\n");
    return 2;
  }
  pm::stdfs::path folder = pm::stdfs::absolute(argv[1]);
  long rooms = std::atol(argv[2]);
  if (rooms < 1) {
    std::fprintf(stderr, "make_big_project: ROOMS must be a positive number\n");
    return 2;
  }
  std::error_code ec;
  if (pm::stdfs::exists(folder)) {
    std::fprintf(stderr, "make_big_project: %s exists already\n", folder.c_str());
    return 1;
  }
  pm::stdfs::create_directories(folder / "Room", ec);
  pm::stdfs::create_directories(folder / "res", ec);
  std::string name = folder.filename().string();
  pm::Project project(folder, name);
  pm::ProjectFields fields;
  fields.f = {name, "Il libro grande", "01/02/2026", "Realizzato con Pagimond", "https://pagimond.example",
              "autore@example.org", "100%", "1", "Pagimond 2.00", ""};
  if (!check(project.write_creation_fields(fields))) return 1;
  bool ok = check(pm::write_file_atomic(folder / "Global.cod", "<div class='testata'>\r\n<i>Il libro grande</i><br>\r\n")) &&
            check(pm::write_file_atomic(folder / "Global2.cod", "<hr>\r\n<small>fine della stanza</small>\r\n")) &&
            check(pm::write_file_atomic(folder / "adv.css",
                                        "body { background: #fff8e7; }\r\ntd.adventure { font-family: serif; }\r\n")) &&
            check(pm::write_file_atomic(folder / "res" / "ponte.png", std::string(20000, '\x89'))) &&
            check(pm::write_file_atomic(folder / "res" / "acqua.wav", std::string(60000, 'R')));
  if (!ok) return 1;

  Dice d(0x9e3779b97f4a7c15ULL);
  for (long i = 0; i < rooms; ++i) {
    std::string n = std::to_string(i);
    std::string description = i == 0 ? "Luogo di partenza" : "Stanza " + n + ": " + word(d) + " " + word(d);
    if (i % 7 == 3) description += ", " + word(d);  // a comma cuts what the list shows
    if (!check(project.write_description(n, description))) return 1;
    if (!check(project.write_text(n, room_text(size_t(i), size_t(rooms), d)))) return 1;
    if (i % 100 == 42 && !check(project.write_script(n, "var stanza = " + n + ";"))) return 1;
  }
  std::printf("%s\n", folder.c_str());
  return 0;
}
