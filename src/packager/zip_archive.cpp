// Zip archives through libzip (see zip_archive.h).
#include "packager/zip_archive.h"

#if defined(PAGIMOND_HAVE_LIBZIP)
#include <zip.h>
#endif

#include <algorithm>
#include <cstdio>
#include <system_error>

#include <sys/stat.h>

namespace pm {

#if defined(PAGIMOND_HAVE_LIBZIP)

namespace {

// The Unix mode of a file or folder for the archive's external attributes.
zip_uint32_t unix_mode(const stdfs::path& p, bool folder) {
  std::error_code ec;
  if (p.empty()) return S_IFREG | 0644u;
  auto perms = stdfs::status(p, ec).permissions();
  zip_uint32_t bits = ec ? (folder ? 0755u : 0644u) : zip_uint32_t(perms) & 0777u;
  return (folder ? S_IFDIR : S_IFREG) | bits;
}

// Adds one entry; false with `why` set when libzip refuses it.
bool add_entry(zip_t* archive, const ArchiveEntry& e, std::string& why) {
  zip_int64_t index;
  if (e.folder) {
    index = zip_dir_add(archive, e.name.c_str(), ZIP_FL_ENC_GUESS);
  } else {
    zip_source_t* source = e.bytes ? zip_source_buffer(archive, e.bytes->data(), e.bytes->size(), 0)
                                   : zip_source_file(archive, e.source.c_str(), 0, -1);
    if (!source) {
      why = path_text(e.source) + ": " + zip_strerror(archive);
      return false;
    }
    index = zip_file_add(archive, e.name.c_str(), source, ZIP_FL_ENC_GUESS | ZIP_FL_OVERWRITE);
    if (index < 0) zip_source_free(source);
    if (index >= 0 && e.stored && zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0) != 0) {
      why = e.name + ": " + zip_strerror(archive);
      return false;
    }
  }
  if (index < 0 ||
      zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                       unix_mode(e.source, e.folder) << 16) != 0) {
    why = e.name + ": " + zip_strerror(archive);
    return false;
  }
  return true;
}

}  // namespace

#endif

std::vector<ArchiveEntry> folder_archive_entries(const stdfs::path& folder, const std::string& prefix) {
  std::vector<ArchiveEntry> entries;
  std::error_code ec;
  for (stdfs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    bool is_dir = it->is_directory(ec2);
    if (!is_dir && !it->is_regular_file(ec2)) continue;
    std::string rel = it->path().lexically_relative(folder).generic_string();
    std::string name = prefix.empty() ? rel : prefix + "/" + rel;
    entries.push_back({is_dir ? name + "/" : name, it->path(), is_dir, std::nullopt, false});
  }
  std::sort(entries.begin(), entries.end(),
            [](const ArchiveEntry& a, const ArchiveEntry& b) { return a.name < b.name; });
  return entries;
}

#if !defined(PAGIMOND_HAVE_LIBZIP)
// A build made without libzip (a cross build for Windows) writes no archive and says so.
Status write_zip_archive(const stdfs::path& zip_path, const std::vector<ArchiveEntry>&) {
  return {StatusKind::WriteFailed, "Impossibile scrivere l'archivio " + path_text(zip_path) +
                                       ": questa versione del programma non crea archivi zip (manca libzip)"};
}
#else
Status write_zip_archive(const stdfs::path& zip_path, const std::vector<ArchiveEntry>& entries) {
  auto fail = [&](const std::string& why) {
    return Status(StatusKind::WriteFailed, "Impossibile scrivere l'archivio " + path_text(zip_path) + ": " + why);
  };
  // libzip writes no file at all for an archive without entries.
  if (entries.empty()) return fail("non c'è nulla da archiviare");
  const stdfs::path tmp = temporary_beside(zip_path);
  int code = 0;
  zip_t* archive = zip_open(tmp.c_str(), ZIP_CREATE | ZIP_EXCL, &code);
  if (!archive) {
    zip_error_t ze;
    zip_error_init_with_code(&ze, code);
    std::string why = zip_error_strerror(&ze);
    zip_error_fini(&ze);
    return fail(why);
  }
  std::string why;
  for (const auto& e : entries) {
    if (!add_entry(archive, e, why)) {
      zip_discard(archive);
      std::error_code ignored;
      stdfs::remove(tmp, ignored);
      return fail(why);
    }
  }
  // libzip writes the archive at close, itself through a temporary file beside `tmp`.
  if (zip_close(archive) != 0) {
    why = zip_strerror(archive);
    zip_discard(archive);
    std::error_code ignored;
    stdfs::remove(tmp, ignored);
    return fail(why);
  }
  std::error_code ec;
  stdfs::rename(tmp, zip_path, ec);
  if (ec) {
    std::error_code ignored;
    stdfs::remove(tmp, ignored);
    return fail(ec.message());
  }
  return {};
}

#endif

}  // namespace pm
