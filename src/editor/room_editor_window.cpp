// The room editor window (see room_editor_window.h).
#include "editor/room_editor_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTime>
#include <QToolButton>

#include "compiler/compile_request.h"
#include "compiler/site_compiler.h"
#include "editor/character_count.h"
#include "editor/link_markup.h"
#include "rooms/follow_link.h"
#include "rooms/project_manager_window.h"
#include "shell/help_pages.h"
#include "shell/main_window.h"
#include "shell/qt_editor_icons.h"
#include "shell/qt_measure.h"
#include "shell/qt_paths.h"
#include "shell/qt_tiled_background.h"

namespace pm {

namespace {

const char* const kMessageTitle = "Pagimond";
const long kDefaultWidth = 9600, kDefaultHeight = 7200, kMinimumTop = 400;
const long kStripLeft = 120, kStripTop = 120, kStripHeight = 720, kButtonTop = 120, kButtonSize = 480;
const long kCoverWidth = 5895, kCoverHeight = 495;

struct ButtonSpec {
  const char* name;
  EditorIcon icon;
  long left;
  const char* tip;
};

// Left to right; the first nine lie under the cover in restricted mode.
const ButtonSpec kButtons[11] = {
    {"Collega", EditorIcon::Link, 120, "F2 - Crea un collegamento ad una Stanza"},
    {"Timer", EditorIcon::Timer, 840, "F3 - Inserisci un timer espesso in secondi (SEC)"},
    {"Indietro", EditorIcon::BackLink, 1560, "F4 - Torna ad una Stanza precedente in automatico"},
    {"Immagini", EditorIcon::Images, 2280, "F5 - Inserisci immagini"},
    {"Script", EditorIcon::Script, 3000, "F6 - Includi codice esterno (ad esempio JavaScript)"},
    {"Test", EditorIcon::Test, 3720, "F7 - Esegui un Test su questa Stanza"},
    {"Annulla", EditorIcon::Undo, 4320, "Annulla (Undo)"},
    {"Ripeti", EditorIcon::Redo, 4800, "Ripeti (Redo)"},
    {"Trova", EditorIcon::Find, 5400, "F8 - Trova/Sostituisci..."},
    {"ChiudiSenzaSalvare", EditorIcon::CloseNoSave, 6120, "F9 - Chiudi senza Salvare nulla"},
    {"Suono", EditorIcon::Sound, 8400, "Inserisce un suono di sottofondo. Utile per la pagina iniziale."},
};
const int kCovered = 9;

QString fromUtf8(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// The text area with the tool's block caret: 3 pixels wide and (font size in points + 5)
// pixels high, standing on the bottom of its line, blinking at the system's rate. Qt's own
// caret (as tall as the line) is switched off by a zero width.
class CaretEdit : public QPlainTextEdit {
 public:
  explicit CaretEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setCursorWidth(0);
    const int flash = QApplication::cursorFlashTime();
    blink_.setInterval(flash > 0 ? flash / 2 : 0);
    QObject::connect(&blink_, &QTimer::timeout, this, [this] {
      on_ = !on_;
      viewport()->update(caretRect().adjusted(-1, -1, 1, 1));
    });
    QObject::connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { restartBlink(); });
  }

  QRect caretRect() const {
    const QRect line = cursorRect();
    const int h = std::max(1, font().pointSize() + 5);
    return QRect(line.left(), line.bottom() + 1 - h, 3, h);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPlainTextEdit::paintEvent(event);
    if (!on_ || !hasFocus()) return;
    QPainter p(viewport());
    p.fillRect(caretRect(), palette().text());
  }
  void focusInEvent(QFocusEvent* event) override {
    QPlainTextEdit::focusInEvent(event);
    restartBlink();
  }
  void focusOutEvent(QFocusEvent* event) override {
    QPlainTextEdit::focusOutEvent(event);
    blink_.stop();
    on_ = false;
    viewport()->update(shown_.adjusted(-1, -1, 1, 1));
  }
  void scrollContentsBy(int dx, int dy) override {
    QPlainTextEdit::scrollContentsBy(dx, dy);
    shown_ = caretRect();
  }

 private:
  void restartBlink() {
    viewport()->update(shown_.adjusted(-1, -1, 1, 1));
    on_ = true;
    shown_ = caretRect();
    viewport()->update(shown_.adjusted(-1, -1, 1, 1));
    if (blink_.interval() > 0 && hasFocus()) blink_.start();
  }

  QTimer blink_;
  bool on_ = false;
  QRect shown_;
};

// The pieces of a room-list entry split at "|" and trimmed; empty when missing.
QString entryPiece(const QString& entry, int i) {
  const QStringList pieces = entry.split('|');
  return i < pieces.size() ? pieces[i].trimmed() : QString();
}

}  // namespace

RoomEditorWindow::RoomEditorWindow(MainWindow* main, QWidget* parent) : QWidget(parent), main_(main) {
  setObjectName("Editor");
  setWindowTitle("Edita Stanza");
  setFocusPolicy(Qt::StrongFocus);

  Text1 = new CaretEdit(this);
  Text1->setObjectName("Text1");
  Text1->setAccessibleName("Testo della Stanza");
  Text1->setFont(typewriterFont(12));
  Text1->setContextMenuPolicy(Qt::NoContextMenu);
  Text1->setTabChangesFocus(false);
  Text1->installEventFilter(this);
  Text1->viewport()->installEventFilter(this);
  connect(Text1, &QPlainTextEdit::textChanged, this, &RoomEditorWindow::textChanged);

  buildToolbar();
  buildMenu();

  Apri.setInterval(100);
  Compila.setInterval(100);
  SeguiLk.setInterval(100);
  connect(&Apri, &QTimer::timeout, this, [this] {
    Apri.stop();
    loadNow();
  });
  connect(&Compila, &QTimer::timeout, this, [this] {
    Compila.stop();
    runCompile();
  });
  connect(&SeguiLk, &QTimer::timeout, this, [this] {
    SeguiLk.stop();
    markFollowed();
  });

  // Opening: the main window's room commands are covered while a room is edited, and the
  // file is loaded on the first tick.
  main_->setCoverShown(true);
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
  for (int i = 0; i < 11; ++i) {
    const ButtonSpec& spec = kButtons[i];
    auto* b = new QToolButton(strip_);
    b->setObjectName(spec.name);
    b->setIcon(editorIcon(spec.icon));
    b->setIconSize(QSize(twipsToPxX(this, 400), twipsToPxY(this, 400)));
    b->setAutoRaise(true);
    b->setToolTip(spec.tip);
    b->setAccessibleName(spec.tip);
    b->setCursor(Qt::PointingHandCursor);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(twipsRect(this, spec.left, kButtonTop, kButtonSize, kButtonSize));
    buttons_[i] = b;
  }
  connect(buttons_[0], &QToolButton::clicked, this, &RoomEditorWindow::linkCommand);
  connect(buttons_[1], &QToolButton::clicked, this, &RoomEditorWindow::timerCommand);
  connect(buttons_[2], &QToolButton::clicked, this, &RoomEditorWindow::backLinkCommand);
  // buttons_[3] (images), [4] (room script), [8] (find and replace) and [10] (background
  // sound) open windows that arrive with their own issues.
  connect(buttons_[5], &QToolButton::clicked, this, &RoomEditorWindow::testRoom);
  connect(buttons_[6], &QToolButton::clicked, this, &RoomEditorWindow::undo);
  connect(buttons_[7], &QToolButton::clicked, this, &RoomEditorWindow::redo);
  connect(buttons_[9], &QToolButton::clicked, this, &RoomEditorWindow::closeWithoutSaving);

  cover_ = new QWidget(strip_);
  cover_->setObjectName("Cover");
  cover_->setAttribute(Qt::WA_StyledBackground);
  cover_->setStyleSheet("#Cover { background: #e9ecf0; border-radius: 3px; }");
  cover_->setGeometry(twipsRect(this, 0, 0, kCoverWidth, kCoverHeight + kButtonTop));
  cover_->hide();
}

void RoomEditorWindow::buildMenu() {
  Menu = new QMenu(this);
  Menu->setObjectName("Menu");
  auto item = [](QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
  };
  connect(item(Menu, "Collega", "Collega Con..."), &QAction::triggered, this, &RoomEditorWindow::linkCommand);
  Menu->addSeparator();
  connect(item(Menu, "SeguiLink", "Segui un Collegamento"), &QAction::triggered, this,
          &RoomEditorWindow::followLink);
  Menu->addSeparator();
  connect(item(Menu, "AnnullaUndo", "Annulla (Undo)"), &QAction::triggered, this, &RoomEditorWindow::undo);
  connect(item(Menu, "RipetiRedo", "Ripeti (Redo)"), &QAction::triggered, this, &RoomEditorWindow::redo);
  Menu->addSeparator();
  connect(item(Menu, "TagliaTesto", "Taglia Testo"), &QAction::triggered, this, &RoomEditorWindow::cutText);
  connect(item(Menu, "CopiaTesto", "Copia Testo"), &QAction::triggered, this, &RoomEditorWindow::copyText);
  connect(item(Menu, "EliminaTesto", "Elimina Testo"), &QAction::triggered, this, &RoomEditorWindow::deleteText);
  connect(item(Menu, "IncollaTesto", "Incolla Testo"), &QAction::triggered, this, &RoomEditorWindow::pasteText);
  Menu->addSeparator();
  connect(item(Menu, "SelezionaTutto", "Seleziona Tutto"), &QAction::triggered, this,
          &RoomEditorWindow::selectAllText);
  Menu->addSeparator();
  // The HTML formatting commands arrive with their own issue.
  item(Menu, "Grassetto", "Grassetto");
  item(Menu, "Corsivo", "Corsivo");
  item(Menu, "Sottolineato", "Sottolineato");
  Menu->addSeparator();
  QMenu* advanced = Menu->addMenu("Avanzate");
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
  const std::pair<const char*, const char*> htmlItems[] = {
      {"Spazio_HTML", "Spazio HTML"}, {"Table", "Table"},         {"FontHtml", "Font"},
      {"LeftHTML", "Left"},           {"CenterHTML", "Center"},   {"RightHTML", "Right"},
      {"WidthImg", "Width"},          {"JustifyHTML", "Justify"}, {"HeightImg", "Height"},
      {"WidtheHeight", "Width e Height"}, {"TagTogli", "Elimina HTML e Doppi Spazi"}};
  for (const auto& [name, caption] : htmlItems) item(html, name, caption);
  Menu->addSeparator();
  item(Menu, "ChiudiPoPup", "Cancel");
}

// ---- mode, text and selection ---------------------------------------------------------------

void RoomEditorWindow::setRestricted(bool covered, int fontPoints) {
  covered_ = covered;
  cover_->setVisible(covered);
  if (covered) cover_->raise();
  for (int i = 0; i < kCovered; ++i) buttons_[i]->setEnabled(!covered);
  Text1->setFont(typewriterFont(fontPoints));
}

bool RoomEditorWindow::restricted() const { return covered_; }

QString RoomEditorWindow::selectedText() const {
  return Text1->textCursor().selectedText().replace(QChar::ParagraphSeparator, "\r\n");
}

void RoomEditorWindow::replaceSelection(const QString& text) {
  QString t = text;
  t.replace("\r\n", "\n").replace('\r', '\n');
  QTextCursor c = Text1->textCursor();
  c.insertText(t);
  Text1->setTextCursor(c);
}

QString RoomEditorWindow::text() const {
  // The raw text keeps non-breaking spaces; blocks are separated by U+2029.
  return Text1->document()->toRawText().replace(QChar::ParagraphSeparator, '\n');
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
  QTextCursor c(Text1->document());
  c.setPosition(int(head));
  c.setPosition(int(have.size() - tail), QTextCursor::KeepAnchor);
  c.insertText(want.mid(head, want.size() - head - tail));
  Text1->setTextCursor(c);
  history_.set_replaying(false);
}

void RoomEditorWindow::undo() {
  if (auto t = history_.undo()) putBack(*t);
  Text1->setFocus();
}

void RoomEditorWindow::redo() {
  if (auto t = history_.redo()) putBack(*t);
}

// ---- load and save --------------------------------------------------------------------------

QString RoomEditorWindow::caption(const QString& piece) const { return "Edita Stanza \"" + Nome + " | " + piece + "\""; }

void RoomEditorWindow::loadNow() {
  Apri.stop();
  if (loaded_) return;
  ProjectManagerWindow* m = main_->manager();
  const QString entry = m ? m->selectedEntry() : QString();
  setWindowTitle(followed_ ? caption("Da Segui un Collegamento") : caption(entryPiece(entry, 1)));

  LoadResult r = load_editor_file(toPath(Percorso), toNameBytes(Nome));
  if (r.status == LoadStatus::Unreadable) {
    // Never write over a file that exists but could not be read.
    NoSave = "1";
    message(fromUtf8(r.error) + "\nIl file non verrà modificato alla chiusura dell'Editor.", int(MessageIcon::Critical));
  }
  file_ = std::move(r.text);
  history_ = EditHistory();
  history_.record_load(file_.display_lines(), "\n");
  history_.set_replaying(true);
  Text1->setPlainText(fromUtf8(file_.display()));
  history_.set_replaying(false);
  loaded_ = true;
  Text1->moveCursor(QTextCursor::End);
  Text1->setFocus();
}

bool RoomEditorWindow::saveNow(std::string* error) {
  return save_editor_file(toPath(Percorso), toNameBytes(Nome), file_, text().toStdString(), error);
}

bool RoomEditorWindow::closeEditor() { return main_->closeChild(this); }

void RoomEditorWindow::closeWithoutSaving() {
  NoSave = "1";
  if (!closeEditor()) NoSave.clear();
}

void RoomEditorWindow::closeEvent(QCloseEvent* event) {
  // An editor closed before its load never showed the file: there is nothing to write.
  if (loaded_ && NoSave.isEmpty()) {
    std::string error;
    if (!saveNow(&error)) {
      event->ignore();
      main_->showChild(this, true);
      message(fromUtf8(error) + "\nIl testo resta nell'Editor: risolvi il problema e chiudi di nuovo, oppure "
                                "copia il testo altrove.",
              int(MessageIcon::Critical));
      return;
    }
  }
  ProjectManagerWindow* m = main_->manager();
  if (m) {
    m->NomeLink.clear();
    if (!m->Modi.isEmpty()) m->Modi.clear();
    if (!m->Modi2.isEmpty()) m->Modi2.clear();
  }
  QRect r = main_->childGeometry(this);
  if (r.isValid())
    main_->context().home.write_placement("Editor.ini", pxToTwipsY(this, r.top()), pxToTwipsX(this, r.left()),
                                          pxToTwipsX(this, r.width()), pxToTwipsY(this, r.height()));
  main_->setCoverShown(false);
  if (m && !main_->closing()) {
    main_->showChild(m, true);
    m->setWindowTitle("Gestione del Progetto \"" + m->Nome + "\"");
  }
  // The resources, properties, room script and find windows close with the editor once
  // they exist.
  event->accept();
}

// ---- link, timer, back link, following links ---------------------------------------------------

void RoomEditorWindow::linkCommand() { chooseTarget(&ProjectManagerWindow::Modi, "1"); }

void RoomEditorWindow::timerCommand() { chooseTarget(&ProjectManagerWindow::Modi2, "2"); }

void RoomEditorWindow::chooseTarget(QString ProjectManagerWindow::*mode, const char* link) {
  ProjectManagerWindow* m = main_->manager();
  if (!m) return;
  main_->showChild(m, true);
  m->*mode = "1";
  main_->showChild(this, false);
  const QString msg = fromUtf8(kChooseTargetMessage);
  m->setWindowTitle(msg);
  m->Label1->setText(msg);
  m->Link = link;
  if (m->Link == "1") m->NomeLink = "1";  // a room made now for the link proposes the selection
  m->List1->setFocus();
}

void RoomEditorWindow::backLinkCommand() {
  ProjectManagerWindow* m = main_->manager();
  const std::string room = entryPiece(m ? m->selectedEntry() : QString(), 0).toStdString();
  auto seconds = main_->context().prompts->input(std::string(kSecondsPrompt), std::string(kSecondsTitle), "0");
  if (!seconds || seconds->empty()) return;
  replaceSelection(fromUtf8(back_link_markup(room, *seconds)));
}

void RoomEditorWindow::followLink() {
  ProjectManagerWindow* m = main_->manager();
  if (!m) return;
  auto target = follow_link_target(selectedText().toStdString());
  if (!target) return;
  m->SeguiLink = fromUtf8(*target);
  m->SegLink.start();
}

void RoomEditorWindow::markFollowed() {
  followed_ = true;
  setWindowTitle(caption("Da Segui un Collegamento"));
}

// ---- room test and compiles -------------------------------------------------------------------

void RoomEditorWindow::testRoom() { Compila.start(); }

void RoomEditorWindow::runCompile() {
  loadNow();  // the text must be the room's before the test writes it back
  ProjectManagerWindow* m = main_->manager();
  if (!m) return;
  AppContext& ctx = main_->context();
  const Project project = m->project();
  const CompilePlan plan = plan_compile(compile_request_from_flags(m->CompilaTutto.toStdString(),
                                                                   m->CompilaTutto2.toStdString()),
                                        ctx.home.output(), toNameBytes(Nome));
  if (plan.save_room_first) {
    std::string error;
    if (!saveNow(&error)) {
      message(fromUtf8(error) + "\nIl Test non è stato eseguito.", int(MessageIcon::Critical));
      return;
    }
  }
  main_->Check1->setChecked(project.read_fields().skip_start_page());
  const CompileReport report = compile_project(project, m->roomNumbers(), ctx.home.output(), plan.style);
  if (plan.clear_flag == 1) m->CompilaTutto.clear();
  if (plan.clear_flag == 2) m->CompilaTutto2.clear();
  if (!report.ok()) message(fromUtf8(compile_failure_message(report)), int(MessageIcon::Warning));
  if (plan.show_folder)
    ctx.platform->show_folder(path_text(plan.target));
  else if (is_file(plan.target))
    ctx.platform->open_document(path_text(plan.target));
  if (plan.close_host_without_saving) {
    NoSave = "1";
    closeEditor();
  }
}

// ---- text commands ------------------------------------------------------------------------------

void RoomEditorWindow::cutText() { Text1->cut(); }
void RoomEditorWindow::copyText() { Text1->copy(); }
void RoomEditorWindow::deleteText() { Text1->cut(); }  // the deleted text goes to the clipboard too
void RoomEditorWindow::pasteText() { Text1->paste(); }

void RoomEditorWindow::selectAllText() {
  Text1->setFocus();
  Text1->selectAll();
}

void RoomEditorWindow::upperCase() { replaceSelection(selectedText().toUpper()); }
void RoomEditorWindow::lowerCase() { replaceSelection(selectedText().toLower()); }

void RoomEditorWindow::insertDate() {
  replaceSelection(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
}

void RoomEditorWindow::insertTime() {
  replaceSelection(QLocale::system().toString(QTime::currentTime(), QLocale::ShortFormat));
}

void RoomEditorWindow::countCharacters() {
  const size_t n = count_characters(text().toStdString());
  message("Numero di Caratteri presenti: " + QString::number(qulonglong(n)), int(MessageIcon::Information));
}

void RoomEditorWindow::message(const QString& text, int icon) {
  main_->context().prompts->message(text.toStdString(), kMessageTitle, MessageIcon(icon));
}

// ---- keys and mouse -----------------------------------------------------------------------------

bool RoomEditorWindow::handleKey(int key) {
  if (key == Qt::Key_Escape) {
    closeEditor();
    return true;
  }
  if (key < Qt::Key_F1 || key > Qt::Key_F9) return false;
  const std::string name = toNameBytes(Nome);
  if (key == Qt::Key_F1) {
    main_->openHelp(fromUtf8(editor_help_page(name)));
    return true;
  }
  if (editor_file_kind(name) == EditorFileKind::StyleSheet) return true;  // only F1 there
  if (key == Qt::Key_F8) return true;  // find and replace: the window is not built yet
  if (covered_) return true;
  switch (key) {
    case Qt::Key_F2: linkCommand(); break;
    case Qt::Key_F3: timerCommand(); break;
    case Qt::Key_F4: backLinkCommand(); break;
    case Qt::Key_F5: break;  // images: with the resources window
    case Qt::Key_F6: break;  // room script: with its window
    case Qt::Key_F7: testRoom(); break;
    case Qt::Key_F9: closeWithoutSaving(); break;
    default: break;
  }
  return true;
}

void RoomEditorWindow::keyPressEvent(QKeyEvent* event) {
  if (handleKey(event->key()))
    event->accept();
  else
    QWidget::keyPressEvent(event);
}

bool RoomEditorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Text1 && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
      if (handleKey(key->key())) return true;
    }
  } else if (watched == Text1->viewport()) {
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      Text1->setFocus();
      Menu->popup(Text1->viewport()->mapToGlobal(mouse->position().toPoint()));
      return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (Text1->textCursor().selectedText().size() > 2)
        Menu->popup(Text1->viewport()->mapToGlobal(mouse->position().toPoint()));
    }
  }
  return QWidget::eventFilter(watched, event);
}

// ---- placement, layout, painting ----------------------------------------------------------------

void RoomEditorWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!placed_) {
    placed_ = true;
    place();
  }
}

void RoomEditorWindow::place() {
  Placement stored = main_->context().home.read_placement("Editor.ini");
  const long top = std::max(stored.top().value_or(0), kMinimumTop);
  long width = stored.width().value_or(kDefaultWidth);
  long height = stored.height().value_or(kDefaultHeight);
  if (width < 1500) width = kDefaultWidth;
  if (height < 1500) height = kDefaultHeight;
  const QSize client = main_->clientSize();
  const QSize size(twipsToPxX(this, width), twipsToPxY(this, height));
  QPoint at;
  if (!stored.left() || !stored.top()) {
    // Centred with the size the window is about to take.
    at = QPoint(std::max(0, (client.width() - size.width()) / 2), std::max(0, (client.height() - size.height()) / 4));
  } else {
    at = QPoint(twipsToPxX(this, *stored.left()), twipsToPxY(this, top));
  }
  main_->placeChild(this, QRect(at, size));
}

void RoomEditorWindow::layoutControls() {
  const QRect outer = main_->childGeometry(this);
  const QSize frame = outer.isValid() ? outer.size() : size();
  const int left = twipsToPxX(this, kStripLeft);
  const int textTop = twipsToPxY(this, kStripTop + kStripHeight + 60);
  const int textWidth = std::max(50, std::min(frame.width() - twipsToPxX(this, 350), width() - 2 * left));
  const int textHeight =
      std::max(50, std::min(frame.height() - twipsToPxY(this, 1600), height() - textTop - twipsToPxY(this, 120)));
  strip_->setGeometry(left, twipsToPxY(this, kStripTop), textWidth, twipsToPxY(this, kStripHeight));
  Text1->setGeometry(left, textTop, textWidth, textHeight);
}

void RoomEditorWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutControls();
}

void RoomEditorWindow::paintEvent(QPaintEvent*) { paintTiledBackground(this, main_->context()); }

}  // namespace pm
