// The whole-project compile over the old Output (see site_update.h). First it looks
// (nothing is touched): which files the book makes, which of them are as the kept state
// says, what else Output holds. Then, if anything is to do, the state goes, the strays go,
// and the copies, pages and start page that changed are written; the new state last.
#include "compiler/site_update.h"

#include <fstream>
#include <future>
#include <unordered_map>
#include <unordered_set>

#include "base/folder_emptying.h"
#include "base/text.h"
#include "base/version.h"
#include "base/work_ahead.h"
#include "compiler/site_state.h"

namespace pm {

namespace {

// The type of a folder's entry as the listing gave it (no call to the system where it did),
// a link being a link.
stdfs::file_type entry_type(const stdfs::directory_entry& entry) {
  std::error_code ec;
  if (entry.is_symlink(ec)) return stdfs::file_type::symlink;
  if (entry.is_regular_file(ec)) return stdfs::file_type::regular;
  if (entry.is_directory(ec)) return stdfs::file_type::directory;
  return entry.symlink_status(ec).type();
}

bool is_plain_name(std::string_view room) {
  return !room.empty() && room != "." && room != ".." && room.find('/') == std::string_view::npos &&
         room.find('\\') == std::string_view::npos && room.find('\0') == std::string_view::npos;
}

std::string slashed(const stdfs::path& rel) {
  std::string s = path_text(rel);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

// A project file copied into Output.
struct Copy {
  std::string target;  // in Output, "/"-separated
  std::string source;  // in the project folder
  stdfs::path from;
  std::string_view what;  // for the message: "le risorse", "i fogli di stile", "gli script"
  FileStamp input;
  bool redo = true;
};

struct Page {
  const std::string* room;
  size_t index;  // in the room list
  FileStamp input, script;
  FileStamp output;  // of its page in Output, when there is a kept state to hold it against
  std::string script_name;  // the spelling of N.js on disk, empty when there is none
  bool redo = true;
  bool compare = false;  // made again, but written only when its bytes differ from the page there
};

// What Output holds that the book does not make: removed, links as links.
struct Strays {
  std::vector<stdfs::path> paths;
  std::unordered_set<std::string> lower;  // their names, for file systems blind to case
  bool res = false;                       // Output/res itself is no folder of its own
};

// Copies `from` over `target` of `out`, in pieces.
Status copy_over(const stdfs::path& from, const OpenFolder& out, const std::string& target) {
  std::ifstream in(from, std::ios::binary);
  if (!in) return Status(StatusKind::ReadFailed, "Impossibile leggere " + path_text(from));
  DirectWriter writer(out, target);
  std::string buffer(1 << 20, '\0');
  while (in) {
    in.read(buffer.data(), std::streamsize(buffer.size()));
    if (in.gcount() > 0) writer.write(std::string_view(buffer.data(), size_t(in.gcount())));
  }
  if (in.bad()) {
    writer.write({});
    (void)writer.finish();
    return Status(StatusKind::ReadFailed, "Impossibile leggere " + path_text(from));
  }
  return writer.finish();
}

class SiteUpdate {
 public:
  SiteUpdate(const Project& project, const ProjectReader& reader, const std::vector<std::string>& rooms,
             const stdfs::path& output, PageStyle style, OutputState mode, CompileReport& report)
      : project_(project), reader_(reader), rooms_(rooms), output_(output), style_(style), mode_(mode),
        report_(report) {}

  void run() {
    begin();
    list_copies();
    list_pages();
    find_strays();
    start_page_ = render_start_page(fields_, style_);
    decide();
    if (!nothing_to_do()) {
      write();
    } else if (verified_) {
      // Nothing to write but the state: what was verified is settled from now on.
      SiteState state = std::move(*old_);
      state.read_at = read_at_;
      state.written_at = compile_clock_now();
      if (Status saved = save_site_state(output_, state); !saved.ok()) report_.errors.push_back(saved.message());
    }
  }

  // Only the pages of `saved` rooms, made again and written, when the kept state answers for
  // the rest of Output; false (nothing touched) when it does not. The state keeps its times,
  // so that the next whole compile checks these pages again by their bytes: the stamps taken
  // now are younger than what the state was settled against.
  bool run_saved(const std::vector<std::string>& saved) {
    if (mode_ != OutputState::Reuse) return false;
    begin();
    if (!old_) return false;
    // Each page must be the file the state recorded (not a link or a copy put there since).
    for (const auto& room : saved) {
      const SiteState::Entry* e = old_entry(room + ".htm");
      if (!is_plain_name(room) || !e || !e->source.empty() || !e->output.exists() ||
          !(output_stamp(out_, room + ".htm") == e->output))
        return false;
    }
    std::vector<std::string> pages(saved.size());
    std::vector<FileStamp> inputs(saved.size()), scripts(saved.size());
    for (size_t i = 0; i < saved.size(); ++i) {
      std::vector<std::string> errors;
      const auto script_name = reader_.spelling(saved[i] + ".js");
      // Stamped before they are read: a change made meanwhile then differs from the stamp kept.
      inputs[i] = stamp_in(project_folder_, saved[i]);
      if (script_name) scripts[i] = stamp_in(project_folder_, *script_name);
      // A room gone or unreadable: the whole compile says what became of it.
      if (!render_page(saved[i], script_name ? *script_name : std::string_view(), pages[i], errors) ||
          !errors.empty())
        return false;
    }
    for (size_t i = 0; i < saved.size(); ++i) {
      const std::string name = saved[i] + ".htm";
      if (Status written = write_file_direct(out_, name, pages[i]); !written.ok()) {
        report_.errors.push_back(written.message());
        drop_state();
        return true;
      }
      SiteState::Entry& entry = old_->files[name];
      entry.input = inputs[i];
      entry.script = scripts[i];
      entry.output = output_stamp(out_, name);
      ++report_.pages;
      ++report_.changes;
    }
    if (Status kept = save_site_state(output_, *old_); !kept.ok()) {
      report_.errors.push_back(kept.message());
      drop_state();
    }
    return true;
  }

 private:
  // What every page is made from besides its room, and the state kept in Output when it was
  // made from the same.
  void begin() {
    read_at_ = compile_clock_now();
    fields_ = project_.read_fields();
    before_code_ = reader_.read("Global.cod", report_.errors);
    after_code_ = reader_.read("Global2.cod", report_.errors);
    key_ = KeyHash()
               .add(version_text())
               .add(path_text(project_.folder()))
               .add(style_ == PageStyle::Classic ? "classic" : "mobile")
               .add(fields_.title())
               .add(fields_.author())
               .add(fields_.site())
               .add(fields_.email())
               .add(fields_.width())
               .add(before_code_)
               .add(after_code_)
               .value();
    if (mode_ == OutputState::Reuse) {
      old_ = load_site_state(output_);
      // A state of another book, style or program, or written by a clock ahead of this
      // one (the clock went back since): nothing of it is trusted.
      if (old_ && (old_->key != key_ || read_at_ < old_->written_at)) old_.reset();
    }
    std::error_code ec;
    stdfs::create_directories(output_, ec);
    out_ = OpenFolder(output_);
    project_folder_ = OpenFolder(project_.folder());
  }

  // The page of `room` (its script named `script_name`, none when empty) into `page`; false
  // when the room has none. Reading errors go to `errors`.
  bool render_page(const std::string& room, std::string_view script_name, std::string& page,
                   std::vector<std::string>& errors) const {
    const std::string text = reader_.read(room, errors);
    const std::string script = script_name.empty() ? "" : reader_.read(script_name, errors);
    return render_room_page(RoomSources{text, script, before_code_, after_code_}, fields_, style_, page);
  }

  void list_copies() {
    const stdfs::path res = project_.res_folder();
    const std::string res_name = path_text(res.filename());
    if (is_folder(res)) {
      std::error_code ec;
      for (stdfs::recursive_directory_iterator it(res, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        const std::string rel = slashed(it->path().lexically_relative(res));
        if (it->is_directory(ec2)) {
          dirs_.insert("res/" + rel);
        } else {
          copies_.push_back({"res/" + rel, res_name + "/" + rel, it->path(), "le risorse", {}, true});
        }
      }
      if (ec) copy_failed("le risorse", res);
    }
    bool exact_sheet = false;
    for (const auto& name : reader_.names_with_letters()) {
      const bool css = matches_pattern(name, "*.css");
      if (!css && !matches_pattern(name, "*.js")) continue;
      exact_sheet = exact_sheet || name == "adv.css";
      copies_.push_back({name, name, project_.folder() / path_from_text(name),
                         css ? "i fogli di stile" : "gli script", {}, true});
    }
    // Pages link adv.css in lower case: a project's ADV.CSS answers to that name on a
    // case-sensitive web server too.
    if (!exact_sheet) {
      for (auto& c : copies_) {
        if (iequals(c.target, "adv.css")) {
          c.target = "adv.css";
          break;
        }
      }
    }
    for (auto& c : copies_) c.input = stamp_of(c.from);
    for (const auto& c : copies_) targets_.insert(c.target);
  }

  // The stamps of the pages Output holds now, taken on a second thread while this one takes
  // the rooms': a big book has thousands of each, every one a call to the system.
  std::vector<FileStamp> page_stamps() const {
    std::vector<FileStamp> stamps(rooms_.size());
    for (size_t i = 0; i < rooms_.size(); ++i)
      if (is_plain_name(rooms_[i])) stamps[i] = output_stamp(out_, rooms_[i] + ".htm");
    return stamps;
  }

  void list_pages() {
    std::future<std::vector<FileStamp>> outputs;
    if (old_) outputs = std::async(std::launch::async, [this] { return page_stamps(); });
    pages_.reserve(rooms_.size());
    for (size_t i = 0; i < rooms_.size(); ++i) {
      const std::string& room = rooms_[i];
      if (!is_plain_name(room)) {
        report_.errors.push_back("Nome di stanza non valido: " + room);
        continue;
      }
      Page p{&room, i, stamp_in(project_folder_, room), {}, {}, {}, true};
      if (auto spelling = reader_.spelling(room + ".js")) {
        p.script_name = std::string(*spelling);
        p.script = stamp_in(project_folder_, p.script_name);
      }
      targets_.insert(room + ".htm");
      pages_.push_back(std::move(p));
    }
    if (outputs.valid()) {
      const std::vector<FileStamp> stamps = outputs.get();
      for (auto& p : pages_) p.output = stamps[p.index];
    }
  }

  bool expected_top(const std::string& name) const {
    return name == "index.htm" || (name == kSiteStateName && mode_ != OutputState::Drop) || targets_.count(name);
  }

  void find_strays() {
    std::error_code ec;
    for (stdfs::directory_iterator it(output_, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = path_text(it->path().filename());
      const auto type = entry_type(*it);
      if (name == "res") {
        if (type != stdfs::file_type::directory) {
          strays_.res = true;
          add_stray(it->path(), name);
        }
        continue;
      }
      // A folder, a link or anything but a file, where the book makes a file, goes too.
      if (!expected_top(name) || type != stdfs::file_type::regular) add_stray(it->path(), name);
    }
    if (strays_.res) return;
    const stdfs::path out_res = output_ / "res";
    for (stdfs::recursive_directory_iterator it(out_res, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string rel = "res/" + slashed(it->path().lexically_relative(out_res));
      const bool folder = entry_type(*it) == stdfs::file_type::directory;
      if (folder ? dirs_.count(rel) != 0 : targets_.count(rel) != 0) continue;
      if (folder) it.disable_recursion_pending();
      add_stray(it->path(), rel);
    }
  }

  void add_stray(const stdfs::path& p, const std::string& name) {
    strays_.paths.push_back(p);
    strays_.lower.insert(to_lower_ascii(name));
  }

  // A file whose name a removed stray shares in another case: on a file system blind to
  // case, removing the stray took the file with it.
  bool shadowed(const std::string& name) const {
    return !strays_.lower.empty() && strays_.lower.count(to_lower_ascii(name)) != 0;
  }

  const SiteState::Entry* old_entry(const std::string& name) const {
    if (!old_) return nullptr;
    auto it = old_->files.find(name);
    return it == old_->files.end() ? nullptr : &it->second;
  }

  bool input_unchanged(const FileStamp& now, const FileStamp& was) const {
    return SiteState::unchanged(now, was, old_->read_at, read_at_);
  }

  // An output as the state recorded it: Same; changed: Redo; stamped as recorded but too
  // close to the moment it was written to be sure (which every file the last compile wrote
  // is): Verify, by its bytes. Once verified, the state written anew makes it Same.
  enum class Output { Same, Verify, Redo };
  Output output_check(const std::string& name, const FileStamp& now, const FileStamp& was) const {
    if ((strays_.res && name.find('/') != std::string::npos) || shadowed(name)) return Output::Redo;
    if (!(now == was)) return Output::Redo;
    return SiteState::unchanged(now, was, old_->written_at, read_at_) ? Output::Same : Output::Verify;
  }
  bool output_holds(const std::string& name, std::string_view bytes) const {
    std::string on_disk;
    return out_.read(name, on_disk).ok() && on_disk == bytes;
  }

  void decide() {
    for (auto& c : copies_) {
      const SiteState::Entry* e = old_entry(c.target);
      c.redo = !e || e->source != c.source || !input_unchanged(c.input, e->input) || !c.input.exists();
      if (c.redo) continue;
      switch (output_check(c.target, output_stamp(out_, c.target), e->output)) {
        case Output::Same: break;
        case Output::Redo: c.redo = true; break;
        case Output::Verify:
          c.redo = !output_holds(c.target, read_file_or_empty(c.from));
          verified_ = true;
          break;
      }
    }
    for (auto& p : pages_) {
      const std::string name = *p.room + ".htm";
      const SiteState::Entry* e = old_entry(name);
      p.redo = !e || !e->source.empty() || !input_unchanged(p.input, e->input) ||
               !input_unchanged(p.script, e->script);
      // Inputs touched (or too fresh to trust) over a page that is as this compile left it:
      // the page is made again and written only when it differs.
      if (p.redo && e && e->source.empty() && mode_ == OutputState::Reuse)
        p.compare = output_check(name, p.output, e->output) != Output::Redo;
      if (!p.redo) {
        switch (output_check(name, p.output, e->output)) {
          case Output::Same: break;
          case Output::Redo: p.redo = true; break;
          case Output::Verify: {
            std::vector<std::string> errors;
            std::string page;
            render_page(*p.room, p.script_name, page, errors);
            p.redo = !errors.empty() || !output_holds(name, page);
            verified_ = true;
            break;
          }
        }
      }
      if (!p.redo) ++report_.kept;
    }
    std::string on_disk;
    redo_start_page_ = mode_ != OutputState::Reuse || !stamp_in(out_, "index.htm", false).exists() ||
                       !out_.read("index.htm", on_disk).ok() || on_disk != start_page_ || shadowed("index.htm");
  }

  bool nothing_to_do() const {
    if (mode_ != OutputState::Reuse || !old_ || !strays_.paths.empty() || redo_start_page_) return false;
    for (const auto& c : copies_)
      if (c.redo) return false;
    for (const auto& p : pages_)
      if (p.redo) return false;
    return true;
  }

  // What an interrupted emptying of Output (the single-file compile's) left beside it.
  void remove_left_aside() {
    std::error_code ec;
    for (const auto& p : FolderEmptying::left_aside(output_)) stdfs::remove_all(p, ec);
  }

  void copy_failed(std::string_view what, const stdfs::path& from) {
    const std::string message = "Impossibile copiare " + std::string(what) + " da " + path_text(from);
    for (const auto& e : report_.errors)
      if (e == message) return;
    report_.errors.push_back(message);
  }

  // Without a state the next compile makes everything: what an interrupted or failed
  // compile leaves.
  void drop_state() { remove_file(output_ / std::string(kSiteStateName)); }

  void write() {
    drop_state();
    remove_left_aside();
    SiteState state;
    state.key = key_;
    state.read_at = read_at_;
    for (const auto& p : strays_.paths) {
      std::error_code ec;
      stdfs::remove_all(p, ec);
      if (ec) report_.errors.push_back("Impossibile rimuovere " + path_text(p) + ": " + ec.message());
      ++report_.changes;
    }
    std::error_code ec;
    stdfs::create_directories(output_ / "res", ec);
    if (ec) report_.errors.push_back("Impossibile creare la cartella " + path_text(output_ / "res") + ": " + ec.message());
    for (const auto& d : dirs_) stdfs::create_directories(output_ / path_from_text(d), ec);

    for (const auto& c : copies_) {
      if (c.redo) {
        if (!c.input.exists() || !copy_over(c.from, out_, c.target).ok()) {
          copy_failed(c.what, c.what == "le risorse" ? project_.res_folder() : project_.folder());
          continue;
        }
        ++report_.changes;
      }
      const SiteState::Entry* e = c.redo ? nullptr : old_entry(c.target);
      state.files[c.target] = {c.source, c.input, {}, e ? e->output : output_stamp(out_, c.target)};
    }
    if (!write_pages(state)) return;

    if (redo_start_page_) {
      if (Status written = write_file_direct(out_, "index.htm", start_page_); !written.ok())
        report_.errors.push_back(written.message());
      else
        ++report_.changes;
    }
    if (mode_ == OutputState::Drop || !report_.ok()) return;
    state.written_at = compile_clock_now();
    if (Status saved = save_site_state(output_, state); !saved.ok()) report_.errors.push_back(saved.message());
  }

  // The pages to make, read and rendered on a second thread while this one writes the
  // pages before them. False when a page could not be written.
  bool write_pages(SiteState& state) {
    std::vector<const Page*> todo;
    for (const auto& p : pages_) {
      const std::string name = *p.room + ".htm";
      if (p.redo) {
        todo.push_back(&p);
      } else if (const SiteState::Entry* e = old_entry(name)) {
        state.files[name] = *e;
      }
    }
    struct Made {
      std::string text, script, bytes;
      bool exists = false;
      std::vector<std::string> errors;
    };
    WorkAhead<Made> ahead(todo.size(), [&](size_t i, Made& m) {
      m.errors.clear();
      reader_.read(*todo[i]->room, m.text, m.errors);
      m.script.clear();
      if (!todo[i]->script_name.empty()) reader_.read(todo[i]->script_name, m.script, m.errors);
      m.exists = render_room_page(RoomSources{m.text, m.script, before_code_, after_code_}, fields_, style_, m.bytes);
    });
    for (size_t i = 0; i < todo.size(); ++i) {
      const Page& p = *todo[i];
      const std::string name = *p.room + ".htm";
      const Made& m = ahead.next();
      report_.errors.insert(report_.errors.end(), m.errors.begin(), m.errors.end());
      if (m.exists && p.compare && output_holds(name, m.bytes)) {
        // As it was: not written.
      } else if (m.exists) {
        if (Status written = write_file_direct(out_, name, m.bytes); !written.ok()) {
          // The disk or the folder failing: every page after it would fail the same way.
          // One message; the pages not made yet and the start page go, so that no old
          // page of this book stands beside the new ones and nothing leads to them.
          report_.errors.push_back(written.message());
          for (size_t j = i + 1; j < todo.size(); ++j) remove_file(output_ / path_from_text(*todo[j]->room + ".htm"));
          remove_file(output_ / "index.htm");
          return false;
        }
        ++report_.pages;
        ++report_.changes;
      } else if (stamp_in(out_, name, false).exists() || is_file(output_ / path_from_text(name))) {
        remove_file(output_ / path_from_text(name));
        ++report_.changes;
      }
      if (m.errors.empty()) state.files[name] = {{}, p.input, p.script, output_stamp(out_, name)};
      ahead.release();
    }
    return true;
  }

  const Project& project_;
  const ProjectReader& reader_;
  const std::vector<std::string>& rooms_;
  const stdfs::path output_;
  const PageStyle style_;
  const OutputState mode_;
  CompileReport& report_;

  std::int64_t read_at_ = 0;
  ProjectFields fields_;
  std::string before_code_, after_code_, start_page_;
  std::uint64_t key_ = 0;
  std::optional<SiteState> old_;
  OpenFolder out_, project_folder_;
  std::vector<Copy> copies_;
  std::unordered_set<std::string> dirs_, targets_;
  std::vector<Page> pages_;
  Strays strays_;
  bool redo_start_page_ = true;
  bool verified_ = false;  // an output was checked by its bytes
};

}  // namespace

void update_site(const Project& project, const ProjectReader& reader, const std::vector<std::string>& rooms,
                 const stdfs::path& output, PageStyle style, OutputState state, CompileReport& report) {
  SiteUpdate(project, reader, rooms, output, style, state, report).run();
}

bool update_saved_rooms(const Project& project, const ProjectReader& reader, const std::vector<std::string>& saved,
                        const stdfs::path& output, PageStyle style, CompileReport& report) {
  // What it read on the way (a global code that cannot be read, say) is told only when it
  // answers: else the whole compile reads it again and tells it once.
  CompileReport own;
  if (!SiteUpdate(project, reader, saved, output, style, OutputState::Reuse, own).run_saved(saved)) return false;
  report.errors.insert(report.errors.end(), own.errors.begin(), own.errors.end());
  report.pages += own.pages;
  report.kept += own.kept;
  report.changes += own.changes;
  return true;
}

}  // namespace pm
