// Zip archives of a folder: what is inside (read back with libzip), the permission bits
// that keep a launcher executable, and failures that leave the old archive whole and no
// temporary file behind.
#include <gtest/gtest.h>

#if defined(PAGIMOND_HAVE_LIBZIP)
#include <zip.h>

#include <map>
#include <string>

#include "packager/zip_archive.h"
#include "support/folder_names.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

struct Stored {
  std::string bytes;
  unsigned mode = 0;  // Unix mode from the external attributes
};

// Every entry of the archive by name; an archive that cannot be opened gives none.
std::map<std::string, Stored> read_archive(const fs::path& p) {
  std::map<std::string, Stored> out;
  int err = 0;
  zip_t* z = zip_open(p.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
  if (!z) return out;
  for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
    zip_stat_t st;
    zip_stat_index(z, zip_uint64_t(i), 0, &st);
    Stored s;
    s.bytes.resize(st.size);
    if (zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0)) {
      zip_fread(f, s.bytes.data(), st.size);
      zip_fclose(f);
    }
    zip_uint8_t opsys;
    zip_uint32_t attr;
    zip_file_get_external_attributes(z, zip_uint64_t(i), 0, &opsys, &attr);
    s.mode = attr >> 16;
    out[zip_get_name(z, zip_uint64_t(i), ZIP_FL_ENC_RAW)] = s;  // the name's bytes as stored
  }
  zip_close(z);
  return out;
}

TEST(ZipArchive, AFolderIsPackedUnderItsTopFolderWithItsPermissions) {
  TempDir t;
  write_bytes(t / "book/index.htm", "<html>\r\n");
  write_bytes(t / "book/res/ponte \xe8.png", std::string("PNG\0\xff", 5));
  write_bytes(t / "book/Start", "launcher");
  fs::permissions(t / "book/Start", fs::perms(0755));
  fs::create_directories(t / "book/vuota");

  auto entries = pm::folder_archive_entries(t / "book", "Il Libro");
  ASSERT_TRUE(pm::write_zip_archive(t / "Il Libro.zip", entries).ok());
  auto stored = read_archive(t / "Il Libro.zip");
  ASSERT_EQ(stored.size(), 5u);
  EXPECT_EQ(stored["Il Libro/index.htm"].bytes, "<html>\r\n");
  EXPECT_EQ(stored["Il Libro/res/ponte \xe8.png"].bytes, std::string("PNG\0\xff", 5));
  EXPECT_EQ(stored["Il Libro/Start"].mode & 0777, 0755u);
  EXPECT_EQ(stored["Il Libro/index.htm"].mode & 0777, 0644u);
  EXPECT_TRUE(stored.count("Il Libro/res/") && stored.count("Il Libro/vuota/"));
  EXPECT_EQ(pmtest::names_in(t.path()), (std::vector<std::string>{"Il Libro.zip", "book"}));  // no temporary file
}

TEST(ZipArchive, AFailedWriteLeavesTheOldArchiveAndNoTemporaryFile) {
  TempDir t;
  write_bytes(t / "book/index.htm", "new");
  fs::create_directories(t / "out");
  ASSERT_TRUE(pm::write_zip_archive(t / "out/Libro.zip", pm::folder_archive_entries(t / "book", "Libro")).ok());
  const std::string old = read_bytes(t / "out/Libro.zip");

  auto entries = pm::folder_archive_entries(t / "book", "Libro");
  entries.push_back({"Libro/sparito.htm", t / "book/sparito.htm", false, std::nullopt, false});  // a file that is not there
  fs::create_directories(t / "out/Cartella.zip");                         // a folder where the archive goes
  struct Case {
    fs::path target;
    std::vector<pm::ArchiveEntry> entries;
  } cases[] = {{t / "out/Libro.zip", entries},
               {t / "out/Cartella.zip", pm::folder_archive_entries(t / "book", "Libro")},
               {t / "out/Vuoto.zip", {}},
               {t / "nowhere/Libro.zip", pm::folder_archive_entries(t / "book", "Libro")}};
  for (const auto& c : cases) {
    const pm::Status written = pm::write_zip_archive(c.target, c.entries);
    EXPECT_EQ(written.kind(), pm::StatusKind::WriteFailed) << c.target;
    EXPECT_NE(written.message().find(c.target.string()), std::string::npos) << written.message();
  }
  EXPECT_EQ(read_bytes(t / "out/Libro.zip"), old);
  EXPECT_TRUE(fs::is_directory(t / "out/Cartella.zip"));
  EXPECT_EQ(pmtest::names_in(t / "out"), (std::vector<std::string>{"Cartella.zip", "Libro.zip"}));
}

}  // namespace

#endif  // PAGIMOND_HAVE_LIBZIP
