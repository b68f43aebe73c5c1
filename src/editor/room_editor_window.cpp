// The room editor window (see room_editor_window.h).
#include "editor/room_editor_window.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTextCursor>
#include <QToolButton>
#include <utility>

#include "compiler/compile_request.h"
#include "preview/preview_server.h"
#include "editor/character_count.h"
#include "editor/link_markup.h"
#include "editor/resources.h"
#include "rooms/room_list.h"
#include "base/clock_text.h"
#include "project/book_encoding.h"
#include "project/book_history.h"
#include "project/help_pages.h"
#include "project/recovery_files.h"
#include "project/project_file.h"
#include "ui/block_caret_edit.h"
#include "ui/manager_requests.h"
#include "ui/one_shot_timer.h"
#include "ui/qt_editor_icons.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {

const PlacementRule kPlacement{9600, 7200, true, Centring::Quarter};
const long kStripLeft = 120, kStripTop = 120, kStripHeight = 720, kButtonTop = 120, kButtonSize = 480;
const long kCoverWidth = 5895, kCoverHeight = 495;

struct ButtonSpec {
  const char* name;
  EditorIcon icon;
  long left;
  const char* tip;
};

// Left to right; the first nine lie under the cover in restricted mode.
const ButtonSpec kButtons[12] = {
    {"Collega", EditorIcon::Link, 120, "F2 - Crea un collegamento ad una Stanza"},
    {"Timer", EditorIcon::Timer, 840, "F3 - Inserisci un timer espresso in secondi (SEC)"},
    {"Indietro", EditorIcon::BackLink, 1560, "F4 - Torna ad una Stanza precedente in automatico"},
    {"Immagini", EditorIcon::Images, 2280, "F5 - Inserisci immagini"},
    {"Script", EditorIcon::Script, 3000, "F6 - Includi codice esterno (ad esempio JavaScript)"},
    {"Test", EditorIcon::Test, 3720, "F7 - Esegui un Test su questa Stanza"},
    {"Annulla", EditorIcon::Undo, 4320, "Annulla (Undo)"},
    {"Ripeti", EditorIcon::Redo, 4800, "Ripeti (Redo)"},
    {"Trova", EditorIcon::Find, 5400, "F8 - Trova/Sostituisci..."},
    {"ChiudiSenzaSalvare", EditorIcon::CloseNoSave, 6120, "F9 - Chiudi senza Salvare nulla"},
    {"Suono", EditorIcon::Sound, 8400, "Inserisce un suono di sottofondo. Utile per la pagina iniziale."},
    {"AnteprimaDalVivo", EditorIcon::LivePreview, 7200, "Anteprima dal vivo"},
};
const int kCovered = 9;

}  // namespace

RoomEditorWindow::RoomEditorWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "Editor", "Edita Stanza", help::kEditor, kPlacement, "Editor.ini") {
  setFocusPolicy(Qt::ClickFocus);  // keys reach the window when nothing inside has the focus; no Tab stop

  textArea_ = new BlockCaretEdit(this);
  textArea_->setObjectName("Text1");
  textArea_->setAccessibleName("Testo della Stanza");
  textArea_->setFont(typewriterFont(12));
  textArea_->setContextMenuPolicy(Qt::NoContextMenu);
  textArea_->setTabChangesFocus(false);
  textArea_->installEventFilter(this);
  textArea_->viewport()->installEventFilter(this);
  connect(textArea_, &QPlainTextEdit::textChanged, this, &RoomEditorWindow::textChanged);

  buildToolbar();
  buildMenu();

  startOnce(Apri, 100, this, [this] { loadNow(); });
  startOnce(Compila, 100, this, [this] { runCompile(); });
  startOnce(SeguiLk, 100, this, [this] { markFollowed(); });
  // While the text differs from the file, a copy goes beside the book's history every few
  // seconds: a crash then loses at most those seconds.
  recovery_.setInterval(kRecoveryIntervalMs);
  connect(&recovery_, &QTimer::timeout, this, &RoomEditorWindow::writeRecoveryNow);

  // Opening: the main window's room commands are covered while a room is edited, and the
  // file is loaded on the first tick.
  owner()->setCoverShown(true);
  Apri.start();
}

RoomEditorWindow::~RoomEditorWindow() = default;

void RoomEditorWindow::buildToolbar() {
  strip_ = new QWidget(this);
  strip_->setObjectName("Toolbar");
  strip_->setAttribute(Qt::WA_StyledBackground);
  strip_->setStyleSheet(
      "#Toolbar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7f8fa, stop:1 #e4e8ed);"
      " border: 1px solid #c3cad3; border-radius: 3px; }");
  for (int i = 0; i < 12; ++i) {
    const ButtonSpec& spec = kButtons[i];
    QToolButton* b = editorButton(strip_, spec.name, spec.icon, spec.tip);
    b->setGeometry(twipsRect(this, spec.left, kButtonTop, kButtonSize, kButtonSize));
    buttons_[i] = b;
  }
  connect(buttons_[0], &QToolButton::clicked, this, &RoomEditorWindow::linkCommand);
  connect(buttons_[1], &QToolButton::clicked, this, &RoomEditorWindow::timerCommand);
  connect(buttons_[2], &QToolButton::clicked, this, &RoomEditorWindow::backLinkCommand);
  connect(buttons_[3], &QToolButton::clicked, this, [this] { owner()->openResources(ResourceMode::Images); });
  connect(buttons_[4], &QToolButton::clicked, this, [this] { owner()->openRoomScriptFresh(); });
  connect(buttons_[8], &QToolButton::clicked, this, [this] { owner()->openFindReplaceFresh(); });
  connect(buttons_[10], &QToolButton::clicked, this, [this] { owner()->openResources(ResourceMode::Sounds); });
  connect(buttons_[5], &QToolButton::clicked, this, &RoomEditorWindow::testRoom);
  connect(buttons_[6], &QToolButton::clicked, this, &RoomEditorWindow::undo);
  connect(buttons_[7], &QToolButton::clicked, this, &RoomEditorWindow::redo);
  connect(buttons_[9], &QToolButton::clicked, this, &RoomEditorWindow::closeWithoutSaving);
  connect(buttons_[11], &QToolButton::clicked, this, &RoomEditorWindow::livePreview);
  if (!preview_available()) {
    buttons_[11]->setEnabled(false);
    buttons_[11]->setToolTip("Anteprima dal vivo (non ancora disponibile)");
  }

  cover_ = new QWidget(strip_);
  cover_->setObjectName("Cover");
  cover_->setAttribute(Qt::WA_StyledBackground);
  cover_->setStyleSheet("#Cover { background: #e9ecf0; border-radius: 3px; }");
  cover_->setGeometry(twipsRect(this, 0, 0, kCoverWidth, kCoverHeight + kButtonTop));
  cover_->hide();
}

void RoomEditorWindow::buildMenu() {
  menu_ = new QMenu(this);
  menu_->setObjectName("Menu");
  auto item = [](QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
  };
  linkItem_ = item(menu_, "Collega", "Collega Con...");
  connect(linkItem_, &QAction::triggered, this, &RoomEditorWindow::linkCommand);
  menu_->addSeparator();
  connect(item(menu_, "SeguiLink", "Segui un Collegamento"), &QAction::triggered, this,
          &RoomEditorWindow::followLink);
  menu_->addSeparator();
  connect(item(menu_, "AnnullaUndo", "Annulla (Undo)"), &QAction::triggered, this, &RoomEditorWindow::undo);
  connect(item(menu_, "RipetiRedo", "Ripeti (Redo)"), &QAction::triggered, this, &RoomEditorWindow::redo);
  menu_->addSeparator();
  connect(item(menu_, "TagliaTesto", "Taglia Testo"), &QAction::triggered, this, &RoomEditorWindow::cutText);
  connect(item(menu_, "CopiaTesto", "Copia Testo"), &QAction::triggered, this, &RoomEditorWindow::copyText);
  connect(item(menu_, "EliminaTesto", "Elimina Testo"), &QAction::triggered, this, &RoomEditorWindow::deleteText);
  connect(item(menu_, "IncollaTesto", "Incolla Testo"), &QAction::triggered, this, &RoomEditorWindow::pasteText);
  menu_->addSeparator();
  connect(item(menu_, "SelezionaTutto", "Seleziona Tutto"), &QAction::triggered, this,
          &RoomEditorWindow::selectAllText);
  menu_->addSeparator();
  auto htmlItem = [this, &item](QMenu* menu, const HtmlMenuItem& spec) {
    const QString name = fromUtf8(spec.name);
    QAction* a = item(menu, name.toLatin1().constData(), fromUtf8(spec.caption));
    const HtmlCommand command = spec.command;
    connect(a, &QAction::triggered, this, [this, command] { htmlCommand(command); });
  };
  for (const HtmlMenuItem& spec : kHtmlContextItems) htmlItem(menu_, spec);
  menu_->addSeparator();
  QMenu* advanced = menu_->addMenu("Avanzate");
  advanced->setObjectName("Inserisci");
  advanced->menuAction()->setObjectName("Inserisci");
  QMenu* textMenu = advanced->addMenu("Testo");
  textMenu->setObjectName("Testo");
  textMenu->menuAction()->setObjectName("Testo");
  connect(item(textMenu, "Data", "Data"), &QAction::triggered, this, &RoomEditorWindow::insertDate);
  connect(item(textMenu, "Ora", "Ora"), &QAction::triggered, this, &RoomEditorWindow::insertTime);
  connect(item(textMenu, "TuttoMaiuscolo", "Tutto Maiuscolo"), &QAction::triggered, this,
          &RoomEditorWindow::upperCase);
  connect(item(textMenu, "TuttoMinuscolo", "Tutto Minuscolo"), &QAction::triggered, this,
          &RoomEditorWindow::lowerCase);
  connect(item(textMenu, "ContaCaratteri", "Conta Caratteri"), &QAction::triggered, this,
          &RoomEditorWindow::countCharacters);
  QMenu* html = advanced->addMenu("HTML");
  html->setObjectName("HTML");
  html->menuAction()->setObjectName("HTML");
  for (const HtmlMenuItem& spec : kHtmlSubmenuItems) htmlItem(html, spec);
  menu_->addSeparator();
  connect(item(menu_, "VersioniPrecedenti", "Versioni precedenti..."), &QAction::triggered, this,
          [this] { owner()->openVersions(Percorso, Nome); });
  menu_->addSeparator();
  item(menu_, "ChiudiPoPup", "Cancel");
}

// ---- mode, text and selection ---------------------------------------------------------------

void RoomEditorWindow::setRestricted(bool covered, int fontPoints) {
  covered_ = covered;
  cover_->setVisible(covered);
  if (covered) cover_->raise();
  for (int i = 0; i < kCovered; ++i) buttons_[i]->setEnabled(!covered);
  linkItem_->setEnabled(!covered);
  textArea_->setFont(typewriterFont(fontPoints));
}

bool RoomEditorWindow::restricted() const { return covered_; }

QString RoomEditorWindow::selectedText() const {
  return textArea_->textCursor().selectedText().replace(QChar::ParagraphSeparator, "\r\n");
}

void RoomEditorWindow::replaceSelection(const QString& text) {
  QString t = text;
  t.replace("\r\n", "\n").replace('\r', '\n');
  QTextCursor c = textArea_->textCursor();
  c.insertText(t);
  textArea_->setTextCursor(c);
}

int RoomEditorWindow::selectionStart() const { return textArea_->textCursor().selectionStart(); }

int RoomEditorWindow::selectionLength() const {
  const QTextCursor c = textArea_->textCursor();
  return c.selectionEnd() - c.selectionStart();
}

QRect RoomEditorWindow::selectionRect() const {
  const QTextCursor selection = textArea_->textCursor();
  QTextCursor first(textArea_->document()), last(textArea_->document());
  first.setPosition(selection.selectionStart());
  last.setPosition(selection.selectionEnd());
  const QRect r = textArea_->cursorRect(first).united(textArea_->cursorRect(last));
  return QRect(textArea_->viewport()->mapToGlobal(r.topLeft()), r.size());
}

void RoomEditorWindow::selectRange(int start, int length) {
  QTextCursor c(textArea_->document());
  c.setPosition(start);
  c.setPosition(start + length, QTextCursor::KeepAnchor);
  textArea_->setTextCursor(c);
  textArea_->setFocus();
}

QString RoomEditorWindow::text() const {
  // The raw text keeps non-breaking spaces; blocks are separated by U+2029.
  return textArea_->document()->toRawText().replace(QChar::ParagraphSeparator, '\n');
}

void RoomEditorWindow::textChanged() {
  if (!loaded_ || history_.replaying()) return;
  history_.record(text().toStdString());
}

// Puts a recorded text back by replacing only the stretch that differs, so the view
// keeps its place and a large room is not laid out anew.
void RoomEditorWindow::putBack(const std::string& utf8) {
  const QString want = QString::fromStdString(utf8);
  const QString have = text();
  const qsizetype n = std::min(want.size(), have.size());
  qsizetype head = 0;
  while (head < n && want[head] == have[head]) ++head;
  if (head > 0 && want[head - 1].isHighSurrogate()) --head;
  qsizetype tail = 0;
  while (tail < n - head && want[want.size() - 1 - tail] == have[have.size() - 1 - tail]) ++tail;
  if (tail > 0 && want[want.size() - tail].isLowSurrogate()) --tail;
  history_.set_replaying(true);
  QTextCursor c(textArea_->document());
  c.setPosition(int(head));
  c.setPosition(int(have.size() - tail), QTextCursor::KeepAnchor);
  c.insertText(want.mid(head, want.size() - head - tail));
  textArea_->setTextCursor(c);
  history_.set_replaying(false);
}

void RoomEditorWindow::undo() {
  if (auto t = history_.undo()) putBack(*t);
  textArea_->setFocus();
}

void RoomEditorWindow::redo() {
  if (auto t = history_.redo()) putBack(*t);
}

// ---- load and save --------------------------------------------------------------------------

QString RoomEditorWindow::caption(const QString& piece) const { return "Edita Stanza \"" + Nome + " | " + piece + "\""; }

QString RoomEditorWindow::textName() const {
  switch (editor_file_kind(toNameBytes(Nome))) {
    case EditorFileKind::StyleSheet: return "Foglio di stile " + Nome;
    case EditorFileKind::GlobalCode:
    case EditorFileKind::GlobalCode2: return "Codice generale " + Nome;
    case EditorFileKind::RoomScript: return "Script " + Nome;
    case EditorFileKind::Room: break;
  }
  return "Testo della Stanza " + Nome;
}

void RoomEditorWindow::loadNow() {
  Apri.stop();
  if (loaded_) return;
  // The caption names what is open: the room with its own description (whichever room the
  // manager has selected), or the global code or style sheet file.
  const std::string name = toNameBytes(Nome);
  if (is_restricted_file(name) || !is_plain_file_name(name))
    setWindowTitle("Edita \"" + Nome + "\"");
  else
    setWindowTitle(followed_ ? caption("Da Segui un Collegamento")
                             : caption(fromFileText(Project(toPath(Percorso), "").read_description_text(name))));
  textArea_->setAccessibleName(textName());

  Result<LoadedText> r = load_editor_file(toPath(Percorso), toNameBytes(Nome));
  if (!r.ok()) {
    // Never write over a file that exists but could not be read.
    NoSave = "1";
    tell(r.status().message() + "\nIl file non verrà modificato alla chiusura dell'Editor.", MessageIcon::Critical);
  }
  file_ = r.ok() ? std::move(r).value() : LoadedText();
  // The text as loaded is the bottom of the history: undo stops there.
  const std::string shown = file_.display();
  history_.start(shown);
  history_.set_replaying(true);
  textArea_->setPlainText(fromUtf8(shown));
  history_.set_replaying(false);
  loaded_ = true;
  recovery_.start();
  textArea_->moveCursor(QTextCursor::End);
  textArea_->setFocus();
}

Status RoomEditorWindow::saveNow() {
  Status saved = save_editor_file(toPath(Percorso), toNameBytes(Nome), file_, text().toStdString());
  if (saved.ok()) owner()->bookFileSaved(toNameBytes(Nome));
  return saved;
}

// The text is saved first, as for the room test, so the browser shows what the editor holds.
void RoomEditorWindow::livePreview() {
  if (loaded_) {
    if (Status saved = saveNow(); !saved.ok()) {
      tell(saved.message(), MessageIcon::Critical);
      return;
    }
  }
  owner()->showLivePreview(toNameBytes(Nome));
}


void RoomEditorWindow::closeWithoutSaving() {
  // One slip of F9 must not throw an hour's work away: a changed text asks first, and the
  // text thrown away is kept among the versions of the file.
  const std::string shown = text().toStdString();
  const bool changed = loaded_ && shown != file_.display();
  if (changed && !context().prompts->ask_yes_no("Chiudere senza salvare? Le modifiche andranno perse.", "Pagimond"))
    return;
  if (changed && NoSave.isEmpty()) {
    const stdfs::path book = toPath(Percorso);
    const std::string name = toNameBytes(Nome);
    if (auto path = editor_file_path(book, name)) {
      const std::string bytes = file_.save_bytes(shown, book_encoding(book), editor_file_use(name));
      if (Status kept = keep_version(book, *path, bytes, VersionReason::Discarded); !kept.ok()) {
        tell(kept.message(), MessageIcon::Critical);
        return;
      }
    }
  }
  NoSave = "1";
  if (!closeEditor()) NoSave.clear();
}

void RoomEditorWindow::writeRecoveryNow() {
  if (!loaded_) return;
  const std::string shown = text().toStdString();
  const stdfs::path book = toPath(Percorso);
  if (shown == file_.display()) {
    if (recovered_) remove_recovery(book, toNameBytes(Nome));
    recovered_ = false;
    lastRecovered_.clear();
    return;
  }
  if (recovered_ && shown == lastRecovered_) return;
  // A copy that cannot be written (a read-only book) is tried again at the next tick;
  // the save at close says what is wrong with the folder.
  if (write_recovery(book, toNameBytes(Nome), shown).ok()) {
    recovered_ = true;
    lastRecovered_ = shown;
  }
}

bool RoomEditorWindow::onClose() {
  // An editor closed before its load never showed the file: there is nothing to write.
  if (loaded_ && NoSave.isEmpty()) {
    if (Status saved = saveNow(); !saved.ok()) {
      owner()->showChild(this, true);
      tell(saved.message() + "\nIl testo resta nell'Editor: risolvi il problema e chiudi di nuovo, oppure copia il testo "
                   "altrove.",
           MessageIcon::Critical);
      return false;
    }
  }
  recovery_.stop();
  // A clean close: saved, or thrown away on purpose (and kept as a version).
  if (loaded_) remove_recovery(toPath(Percorso), toNameBytes(Nome));
  ManagerRequests* m = owner()->manager();
  if (m) {
    m->NomeLink.clear();
    m->clearTargetChoice();
    // A compile asked of this editor that has not run yet goes with it: its flags must not
    // turn the next editor's room test into a project test.
    m->CompilaTutto.clear();
    m->CompilaTutto2.clear();
  }
  Compila.stop();
  owner()->setCoverShown(false);
  if (m && !owner()->closing()) {
    owner()->showChild(m->widget(), true);
    m->showProjectCaption();
  }
  return true;
}

// ---- link, timer, back link, following links ---------------------------------------------------

// The link, timer and back-link commands belong to rooms: the global code and the style
// sheet (restricted mode) never get them, whichever way they are asked for.
void RoomEditorWindow::linkCommand() { chooseTarget(&ManagerRequests::Modi, "1"); }

void RoomEditorWindow::timerCommand() { chooseTarget(&ManagerRequests::Modi2, "2"); }

void RoomEditorWindow::chooseTarget(QString ManagerRequests::*mode, const char* link) {
  ManagerRequests* m = owner()->manager();
  if (!m || covered_) return;
  owner()->showChild(m->widget(), true);
  m->*mode = "1";
  owner()->showChild(this, false);
  m->Link = link;
  if (m->Link == "1") m->NomeLink = "1";  // a room made now for the link proposes the selection
  m->showTargetPrompt(fromUtf8(kChooseTargetMessage));
}

void RoomEditorWindow::backLinkCommand() {
  if (covered_) return;
  auto answer = context().prompts->input(std::string(kSecondsPrompt), std::string(kSecondsTitle), "0");
  if (!answer || answer->empty()) return;
  const auto seconds = back_link_seconds(*answer);
  if (!seconds) {
    tell(std::string(kBadSecondsMessage), MessageIcon::Warning);
    return;
  }
  replaceSelection(fromUtf8(back_link_markup(*seconds)));
}

void RoomEditorWindow::followLink() {
  if (ManagerRequests* m = owner()->manager()) m->followSelection(selectedText(), true);
}

void RoomEditorWindow::markFollowed() {
  followed_ = true;
  setWindowTitle(caption("Da Segui un Collegamento"));
}

// ---- room test and compiles -------------------------------------------------------------------

void RoomEditorWindow::testRoom() {
  roomTestAsked_ = true;
  Compila.start();
}

void RoomEditorWindow::runCompile() {
  loadNow();  // the text must be the room's before the test writes it back
  const bool roomTest = std::exchange(roomTestAsked_, false);
  ManagerRequests* m = owner()->manager();
  if (!m) return;
  AppContext& ctx = context();
  const CompilePlan plan = plan_compile(hosted_compile_from_flags(m->CompilaTutto.toStdString(),
                                                                  m->CompilaTutto2.toStdString()),
                                        ctx.home.output(), toNameBytes(Nome));
  if (plan.save_room_first) {
    if (Status saved = saveNow(); !saved.ok()) {
      tell(saved.message() + "\nIl Test non è stato eseguito.", MessageIcon::Critical);
      return;
    }
  }
  CompileRequest request;
  request.project = m->project();
  request.rooms = m->roomNumbers();
  request.output = ctx.home.output();
  request.style = plan.style;
  // The tests make only what changed; the book the author hands on keeps no state.
  request.state = plan.request == HostedCompile::BuildWithoutInstaller ? OutputState::Drop : OutputState::Reuse;
  const CompileResult result = run_compile(request);
  owner()->setSkipStartPage(result.skip_start_page);
  if (plan.clears == CompileFlag::CompilaTutto) m->CompilaTutto.clear();
  if (plan.clears == CompileFlag::CompilaTutto2) m->CompilaTutto2.clear();
  present_compile(result, plan.then, *ctx.platform, *ctx.prompts);
  if (plan.close_host_without_saving) {
    // The author's own room test (F7) in the same tick keeps its edits: close with saving.
    if (!roomTest) NoSave = "1";
    closeEditor();
  }
}

// ---- text commands ------------------------------------------------------------------------------

void RoomEditorWindow::cutText() { textArea_->cut(); }
void RoomEditorWindow::copyText() { textArea_->copy(); }
// Delete removes the selection only: the clipboard keeps what the author copied.
void RoomEditorWindow::deleteText() { textArea_->textCursor().removeSelectedText(); }
void RoomEditorWindow::pasteText() { textArea_->paste(); }

void RoomEditorWindow::selectAllText() {
  textArea_->setFocus();
  textArea_->selectAll();
}

void RoomEditorWindow::upperCase() { replaceSelection(selectedText().toUpper()); }
void RoomEditorWindow::lowerCase() { replaceSelection(selectedText().toLower()); }

void RoomEditorWindow::insertDate() { replaceSelection(fromUtf8(today_short_date())); }

void RoomEditorWindow::insertTime() { replaceSelection(fromUtf8(now_time_text())); }

void RoomEditorWindow::htmlCommand(HtmlCommand command) {
  // The replacement leaves the caret after itself, where insertText leaves it.
  replaceSelection(fromUtf8(html_command(command, selectedText().toStdString()).text));
}

void RoomEditorWindow::countCharacters() {
  const size_t n = count_characters(text().toStdString());
  tell("Numero di Caratteri presenti: " + std::to_string(n), MessageIcon::Information);
}

// ---- keys and mouse -----------------------------------------------------------------------------

bool RoomEditorWindow::handleKey(int key) {
  if (key == Qt::Key_F1) setHelpPage(editor_help_page(toNameBytes(Nome)));
  if (key == Qt::Key_Escape || key == Qt::Key_F1) return commonKey(key);
  if (key < Qt::Key_F1 || key > Qt::Key_F9) return false;
  const std::string name = toNameBytes(Nome);
  if (editor_file_kind(name) == EditorFileKind::StyleSheet) return true;  // only F1 there
  if (key == Qt::Key_F8) {
    owner()->openFindReplaceFresh();
    return true;
  }
  if (covered_) return true;
  switch (key) {
    case Qt::Key_F2: linkCommand(); break;
    case Qt::Key_F3: timerCommand(); break;
    case Qt::Key_F4: backLinkCommand(); break;
    case Qt::Key_F5: owner()->openResources(ResourceMode::Images); break;
    case Qt::Key_F6: owner()->openRoomScriptFresh(); break;
    case Qt::Key_F7: testRoom(); break;
    case Qt::Key_F9: closeWithoutSaving(); break;
    default: break;
  }
  return true;
}

// The keys of the text beside the function keys: the context menu at the caret (the Menu
// key, Shift+F10), bold, italic and underline, and undo and redo through the editor's own
// history (Qt's own undo would not know the steps the history records).
bool RoomEditorWindow::handleShortcut(int key, Qt::KeyboardModifiers modifiers) {
  if ((key == Qt::Key_Menu && modifiers == Qt::NoModifier) || (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
    menu_->popup(textArea_->viewport()->mapToGlobal(textArea_->cursorRect().bottomLeft()));
    return true;
  }
  if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) && key == Qt::Key_Z) {
    redo();
    return true;
  }
  if (modifiers != Qt::ControlModifier) return false;
  switch (key) {
    case Qt::Key_Z: undo(); return true;
    case Qt::Key_Y: redo(); return true;
    case Qt::Key_B: htmlCommand(HtmlCommand::Bold); return true;
    case Qt::Key_I: htmlCommand(HtmlCommand::Italic); return true;
    case Qt::Key_U: htmlCommand(HtmlCommand::Underline); return true;
    default: return false;
  }
}

void RoomEditorWindow::keyPressEvent(QKeyEvent* event) {
  if (handleKey(event->key()))
    event->accept();
  else
    ChildWindow::keyPressEvent(event);
}

bool RoomEditorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == textArea_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
      if (handleKey(key->key())) return true;
    }
    if (handleShortcut(key->key(), key->modifiers() & ~Qt::KeypadModifier)) return true;
  } else if (watched == textArea_->viewport()) {
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      textArea_->setFocus();
      menu_->popup(textArea_->viewport()->mapToGlobal(mouse->position().toPoint()));
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// ---- placement, layout, painting ----------------------------------------------------------------

void RoomEditorWindow::layoutControls() {
  const QRect outer = owner()->childGeometry(this);
  const QSize frame = outer.isValid() ? outer.size() : size();
  const int left = twipsToPxX(this, kStripLeft);
  const int textTop = twipsToPxY(this, kStripTop + kStripHeight + 60);
  const int textWidth = std::max(50, std::min(frame.width() - twipsToPxX(this, 350), width() - 2 * left));
  const int textHeight =
      std::max(50, std::min(frame.height() - twipsToPxY(this, 1600), height() - textTop - twipsToPxY(this, 120)));
  strip_->setGeometry(left, twipsToPxY(this, kStripTop), textWidth, twipsToPxY(this, kStripHeight));
  textArea_->setGeometry(left, textTop, textWidth, textHeight);
}

void RoomEditorWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutControls();
}


}  // namespace pm
