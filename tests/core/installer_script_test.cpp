// The installer script filled from its template: the placeholders and their defaults, the
// bytes around them, the program folder as the installer compiler sees it, and the bundled
// Hg.iss filled for a real program folder.
#include <gtest/gtest.h>

#include <string>

#include "compiler/site_compiler.h"
#include "packager/installer_script.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

pm::ProjectFields fields(std::string name, std::string title, std::string author, std::string site) {
  pm::ProjectFields f;
  f.f = {name, title, "01/02/2026", author, site, "", "100%", "", "", ""};
  return f;
}

TEST(InstallerScript, PlaceholdersAreFilledWithTheProjectsNamesOrTheirDefaults) {
  const auto drago = pm::installer_values(fields("Il Drago", "Il Drago", "Ana", "https://ana.example"), "/opt/P g");
  const auto empty = pm::installer_values(fields("Libro", "", "", ""), "/opt/P g");
  // The program folder as the installer compiler reads it: Wine's Z: drive on Linux.
  const std::string pg = pm::installer_path_text("/opt/P g");
  struct Case {
    const pm::InstallerValues& values;
    std::string in, out;  // `out` without the byte-order mark that begins every script
  } cases[] = {
      {drago, "AppName=[titolo]\r\nAppVerName=[titolo] 1.0\r\n", "AppName=Il Drago\r\nAppVerName=Il Drago 1.0\r\n"},
      {empty, "[titolo]|[appub]|[sito]|[titolo_file]",
       "Avventura|Pagimond|" + std::string(pm::kProductSite) + "|Libro\r\n"},
      {drago, "[app.path]\\Output\\*;[app.path]\\Distribuisci\r\n",
       pg + "\\Output\\*;" + pg + "\\Distribuisci\r\n"},
      {drago, "[titolo_file][titolo][navig]\r\n", "Il DragoIl DragoStart.exe\r\n"},
      // Capitals, unknown words and a bracket that closes nothing stay as they are.
      {drago, "[TITOLO] [Titolo] [titolo_File] [x] [titolo\r\n[", "[TITOLO] [Titolo] [titolo_File] [x] [titolo\r\n[\r\n"},
      // Each line is decoded by its own bytes into UTF-8 (a template's own mark is not
      // repeated); every line ends with CR LF, the last one too.
      {drago, "\xEF\xBB\xBF" "citt\xe0\r\ncitt\xc3\xa0\r\n\xe0\xc3\xa8\r\nLF\nCR\r[appub]",
       "citt\xc3\xa0\r\ncitt\xc3\xa0\r\n\xc3\xa0\xc3\x83\xc2\xa8\r\nLF\r\nCR\r\nAna\r\n"},
      {drago, "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(pm::fill_installer_template(c.in, c.values), "\xEF\xBB\xBF" + c.out) << c.in;

  // A value is inserted as written, never read as a placeholder itself.
  const auto tricky = pm::installer_values(fields("L", "Il [sito] e [appub]", "[navig]", "s"), "/p");
  EXPECT_EQ(pm::fill_installer_template("[titolo]/[appub]", tricky), "\xEF\xBB\xBFIl [sito] e [appub]/[navig]\r\n");

  // Each field is decoded from its own bytes, references become characters, and the name
  // that names the installer's file is one Windows accepts.
  const auto book = pm::installer_values(fields("Chi sei?", "Citt\xe0 &#337;", "Niccol\xc3\xb2", "s"), "/p");
  EXPECT_EQ(pm::fill_installer_template("[titolo]|[appub]|[titolo_file] - Setup", book),
            "\xEF\xBB\xBF" "Citt\xc3\xa0 \xc5\x91|Niccol\xc3\xb2|Chi sei_ - Setup\r\n");
  const struct {
    std::string_view name, safe;
  } names[] = {{"Il Drago", "Il Drago"}, {"a<b>c:d\"e/f\\g|h?i*j\x01", "a_b_c_d_e_f_g_h_i_j_"}, {"Fine. . ", "Fine"},
               {"con", "con_"},         {"LPT1.txt", "LPT1_.txt"},  {"COM10", "COM10"}, {"...", "Riserva"}, {"", "Riserva"}};
  for (const auto& n : names) EXPECT_EQ(pm::safe_file_name(n.name, "Riserva"), n.safe) << n.name;
  EXPECT_EQ(pm::installer_values(fields(" . ", "Il Drago", "", ""), "/p").file_title, "Il Drago");
}

TEST(InstallerScript, TheProgramFolderIsSpelledForTheInstallerCompiler) {
#if defined(_WIN32)
  GTEST_SKIP() << "on Windows the compiler reads the folder's own spelling";
#endif
  EXPECT_EQ(pm::installer_path_text("/home/ana/Pagimond"), "Z:\\home\\ana\\Pagimond");
  EXPECT_EQ(pm::installer_path_text("/home/ana/Pagimond/"), "Z:\\home\\ana\\Pagimond");
  EXPECT_EQ(pm::installer_path_text("/"), "Z:\\");
}

TEST(InstallerScript, ZellIssIsWrittenBesideTheTemplateAndAFailureKeepsTheOldOne) {
  TempDir home;
  const auto values = pm::installer_values(fields("Libro", "Il Libro", "Ana", "s"), home.path());
  write_bytes(home / "Zell.iss", "earlier");
  const pm::Status missing = pm::write_installer_script(home.path(), values);
  EXPECT_EQ(missing.kind(), pm::StatusKind::NotFound);
  EXPECT_NE(missing.message().find("Hg.iss"), std::string::npos) << missing.message();
  EXPECT_EQ(read_bytes(home / "Zell.iss"), "earlier");

  write_bytes(home / "hg.iss", "AppName=[titolo]\r\n");  // found in any case
  const pm::Status written = pm::write_installer_script(home.path(), values);
  ASSERT_TRUE(written.ok()) << written.message();
  EXPECT_EQ(read_bytes(home / "Zell.iss"), "\xEF\xBB\xBF" "AppName=Il Libro\r\n");
}

TEST(InstallerScript, TheBundledTemplateBecomesACompleteScript) {
  const std::string tmpl = read_bytes(fs::path(PAGIMOND_SOURCE_DIR) / "app" / "Hg.iss");
  ASSERT_FALSE(tmpl.empty());
  // Filled with its own placeholders the template comes back byte for byte: it is CR LF
  // throughout, and the filling changes nothing else.
  const pm::InstallerValues same{"[titolo_file]", "[titolo]", "[appub]", "[sito]", "[app.path]", "[navig]"};
  EXPECT_EQ(pm::fill_installer_template(tmpl, same), "\xEF\xBB\xBF" + tmpl);

  const auto values = pm::installer_values(fields("Il Ponte", "Il Ponte sul Fiume", "Ana", "https://a.example"),
                                           "/opt/Pagimond");
  const std::string script = pm::fill_installer_template(tmpl, values);
  const std::string app = pm::installer_path_text("/opt/Pagimond");
  for (const char* left : {"[titolo", "[appub]", "[sito]", "[app.path]", "[navig]"})
    EXPECT_EQ(script.find(left), std::string::npos) << left;
  for (const std::string& line : {std::string("\r\nAppName=Il Ponte sul Fiume\r\n"), std::string("\r\nAppPublisher=Ana\r\n"),
                                  std::string("\r\nAppPublisherURL=https://a.example\r\n"),
                                  "\r\nSource: \"" + app + "\\Output\\*\"; DestDir: \"{app}\"",
                                  "\r\nOutputDir=" + app + "\\Distribuisci\r\n",
                                  std::string("\r\n[Run]\r\nFilename: \"{app}\\Start.exe\"; ")})
    EXPECT_NE(script.find(line), std::string::npos) << line;
}

}  // namespace
