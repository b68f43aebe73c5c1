// The main window (see main_window.h).
#include "shell/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "base/text.h"
#include "base/version.h"
#include "compiler/compile_request.h"
#include "project/project_properties.h"
#include "project/book_history.h"
#include "project/help_pages.h"
#include "project/recovery_files.h"
#include "rooms/room_operations.h"
#include "ui/accessibility.h"
#include "ui/one_shot_timer.h"
#include "ui/qt_icons.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"
#include "ui/shown_text.h"

namespace pm {

namespace {

const char* const kMessageTitle = "Pagimond";

// The sub-window of a child window. It tells the main window once, when its child has
// closed, whether the sub-window was closed or the child closed itself.
class ChildFrame : public QMdiSubWindow {
 public:
  ChildFrame(ChildWindow* child, std::function<void(QWidget*)> onClosed) : onClosed_(std::move(onClosed)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(child);
    QObject::connect(child, &ChildWindow::closed, this, [this] {
      finish();
      // A child that closed itself leaves its frame behind: take it away too.
      if (!inClose_) {
        hide();
        deleteLater();
      }
    });
  }

  bool done() const { return done_; }
  void forget() { onClosed_ = nullptr; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    inClose_ = true;
    QMdiSubWindow::closeEvent(event);
    inClose_ = false;
  }

 private:
  void finish() {
    if (done_) return;
    done_ = true;
    if (onClosed_) onClosed_(widget());
  }

  std::function<void(QWidget*)> onClosed_;
  bool inClose_ = false;
  bool done_ = false;
};

ChildFrame* frameOf(QWidget* w) { return w ? dynamic_cast<ChildFrame*>(w->parentWidget()) : nullptr; }

}  // namespace

MainWindow::MainWindow(AppContext context, QWidget* parent) : QMainWindow(parent), context_(std::move(context)) {
  setObjectName("MainWindow");
  setWindowTitle("Pagimond " + QString::fromUtf8(version_text()) + " - Libri gioco interattivi per il web");
  setWindowIcon(icon(IconKind::Logo));
  // What the book's history keeps, as the settings window last saved it.
  set_history_policy(read_history_policy(context_.home.home()));
  startOnce(Crea, 100, this, [this] { runCommand(commandFromCode(Scelta)); });
  startOnce(UnicoFile, 1, this, [this] { onUnicoFile(); });

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  buildToolbars();
  column->addWidget(topBar_);
  column->addWidget(projectBar_);
  mdi_ = new QMdiArea(central);
  mdi_->setObjectName("Client");
  mdi_->setAccessibleName("Area di lavoro");
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  column->addWidget(mdi_, 1);
  setCentralWidget(central);
  mdi_->viewport()->installEventFilter(this);
  topBar_->installEventFilter(this);

  // The load: the desktop picture, a size close to the one the window is shown at (so the
  // first child windows are placed in the right client area), the start page.
  desktop_.load(fromPath(context_.home.file("DeskTop.jpg")));
  if (QScreen* screen = QGuiApplication::primaryScreen()) resize(screen->availableGeometry().size());
  central->layout()->activate();
  stretchBackground();
  placeRightPictures();
  openStartPageFresh();
  QTimer::singleShot(0, this, [this] { offerCrashRecovery(); });
}

MainWindow::~MainWindow() {
  closing_ = true;
  for (QMdiSubWindow* sub : mdi_->subWindowList())
    if (auto* f = dynamic_cast<ChildFrame*>(sub)) f->forget();
}

QToolButton* MainWindow::makeButton(QWidget* bar, const char* name, IconKind kind, const QString& tip, long left) {
  auto* b = pictureButton(bar, name, icon(kind), tip, QSize(twipsToPxX(this, 400), twipsToPxY(this, 400)));
  b->setGeometry(twipsRect(this, left, 120, 480, 480));
  return b;
}

static QFrame* separator(QWidget* bar, const char* name, const QRect& r) {
  auto* line = new QFrame(bar);
  line->setObjectName(name);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(r);
  return line;
}

void MainWindow::buildToolbars() {
  const QString barStyle =
      "#%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f7f8fa, stop:1 #e4e8ed);"
      " border-bottom: 1px solid #c3cad3; }";
  topBar_ = new QWidget(this);
  topBar_->setObjectName("Picture1");
  topBar_->setAttribute(Qt::WA_StyledBackground);
  topBar_->setStyleSheet(barStyle.arg("Picture1"));
  topBar_->setFixedHeight(twipsToPxY(this, 735));

  manageButton_ = makeButton(topBar_, "Image1", IconKind::ManageProjects, "Gestisci e crea nuovi progetti", 120);
  topSeparator_ = separator(topBar_, "Line2", twipsRect(this, 720, 90, 30, 555));
  topSeparator_->hide();
  helpButton_ = makeButton(topBar_, "Image10", IconKind::Help, "Leggi la guida al programma", 840);
  helpButton_->hide();
  skipStartPage_ = new QCheckBox("Salta il menù iniziale", topBar_);
  skipStartPage_->setObjectName("Check1");
  skipStartPage_->setAccessibleName(skipStartPage_->text());
  skipStartPage_->adjustSize();
  skipStartPage_->move(twipsToPxX(this, 1560), (topBar_->height() - skipStartPage_->height()) / 2);
  skipStartPage_->setEnabled(false);  // a project's flag: there is none without a project
  settingsButton_ = makeButton(topBar_, "Image15", IconKind::Settings, "Impostazioni", 0);
  importButton_ = makeButton(topBar_, "ImageImporta", IconKind::TextFile,
                             "Importa una storia: un file Twee o una storia HTML diventa un nuovo progetto", 0);
  logo_ = new QLabel(topBar_);
  logo_->setObjectName("Image16");
  logo_->setPixmap(iconPixmap(IconKind::Logo, twipsToPxX(this, 480), devicePixelRatioF()));
  logo_->setAccessibleName("Pagimond");
  logo_->setGeometry(twipsRect(this, 0, 120, 480, 480));

  projectBar_ = new QWidget(this);
  projectBar_->setObjectName("Picture2");
  projectBar_->setAttribute(Qt::WA_StyledBackground);
  projectBar_->setStyleSheet(barStyle.arg("Picture2"));
  projectBar_->setFixedHeight(twipsToPxY(this, 735));
  QWidget* bar = projectBar_;
  // The project toolbar, left to right; the first ten lie under the cover while a room is
  // edited.
  struct BarButton {
    const char* name;
    IconKind icon;
    long left;
    const char* tip;
    void (*action)(MainWindow&);
  };
  const BarButton buttons[] = {
      {"Image2", IconKind::NewRoom, 120, "F2 - Crea una nuova Stanza", [](MainWindow& w) { w.createRoom(); }},
      {"Image3", IconKind::OpenEditor, 720, "F3 - Apri l'Editor per editare una Stanza",
       [](MainWindow& w) { w.openSelectedRoom(); }},
      {"Image4", IconKind::Description, 1320, "F4 - Edita la Descrizione di una Stanza",
       [](MainWindow& w) { w.describeSelectedRoom(); }},
      {"Image5", IconKind::StyleSheet, 1920, "F5 - Impostazione delle Stanze (Testo, dimensioni, colori)",
       [](MainWindow& w) { w.editStyleSheet(); }},
      {"Image6", IconKind::GlobalCode, 2520, "F6 - Imposta un codice generale che sarà presente in tutte le Stanze",
       [](MainWindow& w) { w.openGlobalCodeFresh(); }},
      {"Image7", IconKind::Properties, 3120, "F7 - Proprietà - Inserisci i tuoi dati personali",
       [](MainWindow& w) { w.openProperties(); }},
      {"Image8", IconKind::Test, 3720, "F8 - Testa l'intero progetto", [](MainWindow& w) { w.testProject(); }},
      {"Image9", IconKind::Distribute, 4320, "F9 - Distribuisci il progetto", [](MainWindow& w) { w.openCompile(); }},
      {"Image13", IconKind::Map, 5040, "Crea una mappa dell'intera avventura", [](MainWindow& w) { w.openMapFresh(); }},
      {"Image20", IconKind::SingleFile, 5640, "Testa in un unico file (Libro gioco Interattivo)",
       [](MainWindow& w) { w.runSingleFile(true); }},
      {"Image11", IconKind::Colours, 6360, "Preleva i colori dallo schermo e trasformali in codice HTML",
       [](MainWindow& w) { w.openColourPaletteFresh(); }},
      {"Image12", IconKind::ResourceFolder, 6960,
       "Cartella delle risorse res (La cartella dove inserire immagini ed altri elementi)",
       [](MainWindow& w) { w.openResourceFolder(); }},
      {"ImageVerifica", IconKind::BookCheck, 7680,
       "Verifica del libro: collegamenti interrotti e Stanze irraggiungibili",
       [](MainWindow& w) { w.openBookCheckFresh(); }},
      {"ImageGrafo", IconKind::GraphMap, 8280, "Grafo dell'avventura: Stanze e collegamenti",
       [](MainWindow& w) { w.openGraphFresh(); }},
      {"ImageAnteprima", IconKind::LivePreview, 8880, "Anteprima dal vivo", [](MainWindow& w) { w.showLivePreview({}); }},
  };
  const size_t kCovered = 10;
  for (const BarButton& spec : buttons) {
    QToolButton* b = makeButton(bar, spec.name, spec.icon, spec.tip, spec.left);
    connect(b, &QToolButton::clicked, this, [this, action = spec.action] { action(*this); });
    if (covered_.size() < kCovered) covered_.push_back(b);
  }
  separator(bar, "Line1", twipsRect(this, 4920, 90, 30, 555));
  separator(bar, "Line3", twipsRect(this, 6240, 90, 30, 555));
  separator(bar, "Line4", twipsRect(this, 7560, 90, 30, 555));
  separator(bar, "LineVerifica", twipsRect(this, 9480, 90, 30, 555));
  if (!preview_available()) {
    auto* live = bar->findChild<QToolButton*>("ImageAnteprima");
    live->setEnabled(false);
    live->setToolTip("Anteprima dal vivo (non ancora disponibile)");
  }
  // The paper book: one button, its two commands in a menu.
  QToolButton* paper = makeButton(bar, "ImageCarta", IconKind::TextFile,
                                  "Libro su carta: rinumera le Stanze, esporta in EPUB, PDF o ODT", 9600);
  auto* paperMenu = new QMenu(paper);
  paperMenu->setObjectName("MenuCarta");
  paperMenu->addAction("Rinumera le Stanze...", this, [this] { openRenumberFresh(); });
  paperMenu->addAction("Esporta il libro...", this, [this] { openExportFresh(); });
  paper->setMenu(paperMenu);
  paper->setPopupMode(QToolButton::InstantPopup);
  separator(bar, "LineCarta", twipsRect(this, 10200, 90, 30, 555));
  roomCounter_ = new QLabel(bar);
  roomCounter_->setObjectName("Label1");
  roomCounter_->setFont(typewriterFont(10));
  exposeChangingLabel(roomCounter_, "Numero di Stanze");
  roomCounter_->setGeometry(twipsToPxX(this, 10320), 0, twipsToPxX(this, 4000), bar->height());
  cover_ = new QWidget(bar);
  cover_->setObjectName("Picture3");
  cover_->setAttribute(Qt::WA_StyledBackground);
  cover_->setStyleSheet("#Picture3 { background: rgba(228, 232, 237, 190); border-radius: 4px; }");
  cover_->setToolTip("Comandi non disponibili mentre l'Editor è aperto");
  cover_->setGeometry(twipsRect(this, 120, 120, 6015, 495));
  cover_->raise();
  cover_->hide();
  projectBar_->hide();
  // Under the cover the buttons (covered_) are disabled too, so neither the keyboard nor
  // assistive technology can use them.

  connect(manageButton_, &QToolButton::clicked, this, [this] { openStartPageFresh(); });
  connect(skipStartPage_, &QCheckBox::clicked, this, &MainWindow::changeSkipStartPage);
  connect(helpButton_, &QToolButton::clicked, this, [this] { openHelp(help::kRoot); });
  connect(settingsButton_, &QToolButton::clicked, this, [this] { openSettingsFresh(); });
  connect(importButton_, &QToolButton::clicked, this, [this] { openStoryImportFresh(); });
}

void MainWindow::placeRightPictures() {
  const int w = topBar_->width();
  settingsButton_->move(w - settingsButton_->width() - twipsToPxX(this, 1100), settingsButton_->y());
  importButton_->move(settingsButton_->x() - importButton_->width() - twipsToPxX(this, 120), settingsButton_->y());
  logo_->move(w - logo_->width() - twipsToPxX(this, 150), logo_->y());
}

void MainWindow::stretchBackground() {
  if (desktop_.isNull()) return;
  QSize size = mdi_->viewport()->size();
  if (size.isEmpty()) return;
  mdi_->setBackground(desktop_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    if (watched == mdi_->viewport()) stretchBackground();
    if (watched == topBar_) placeRightPictures();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  placeRightPictures();
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // The first child was placed before the window had its final size.
  centralWidget()->layout()->activate();
  if (start_) start_->place();
}

// ---- child windows ---------------------------------------------------------------------

QMdiSubWindow* MainWindow::addChild(ChildWindow* w, Origin from) {
  // A window that was closed to make room for this one (or closed meanwhile) hands on
  // where it came from.
  while (from.window && (!frameOf(from.window) || frameOf(from.window)->done()))
    from = {from.window->openedFrom(), from.window->openedFromControl()};
  w->setOpenedFrom(from.window, from.control);
  ++opened_;
  auto* frame = new ChildFrame(w, [this](QWidget* child) {
    auto* closed = static_cast<ChildWindow*>(child);
    // The windows opened from this one now come from where it came from.
    for (QMdiSubWindow* sub : mdi_->subWindowList())
      if (auto* c = qobject_cast<ChildWindow*>(sub->widget()); c && c->openedFrom() == closed)
        c->setOpenedFrom(closed->openedFrom(), closed->openedFromControl());
    if (!closing_) returnFocus({closed->openedFrom(), closed->openedFromControl()}, closed->hadFocusAtClose());
    if (child == start_) start_ = nullptr;
    if (child == manager_) {
      manager_ = nullptr;
      preview_.reset();  // the book closes: its live preview stops
    }
    if (child == editor_) editor_ = nullptr;
    if (child == settings_) settings_ = nullptr;
    if (child == compile_) compile_ = nullptr;
    if (child == properties_) properties_ = nullptr;
    if (child == resources_) resources_ = nullptr;
    if (child == upload_) upload_ = nullptr;
    if (child == find_) find_ = nullptr;
    if (child == script_) script_ = nullptr;
    if (child == globalCode_) globalCode_ = nullptr;
    if (child == palette_) palette_ = nullptr;
    if (child == map_) map_ = nullptr;
    if (child == check_) check_ = nullptr;
    if (child == graph_) graph_ = nullptr;
    if (child == renumber_) renumber_ = nullptr;
    if (child == export_) export_ = nullptr;
  });
  frame->setWindowIcon(icon(IconKind::Logo));
  mdi_->addSubWindow(frame);
  frame->show();
  return frame;
}

ChildWindow* MainWindow::childOf(QWidget* w) const {
  for (; w; w = w->parentWidget())
    if (auto* c = qobject_cast<ChildWindow*>(w); c && frameOf(c)) return c;
  return nullptr;
}

bool MainWindow::usable(ChildWindow* w) const {
  ChildFrame* frame = frameOf(w);
  return frame && !frame->done() && !frame->isHidden() && frame->isEnabled() && w->isEnabled();
}

MainWindow::Origin MainWindow::focusOrigin() const {
  QWidget* control = QApplication::focusWidget();
  if (control && control->window() != this) control = nullptr;  // a message box, a menu
  ChildWindow* window = childOf(control);
  if (!window && mdi_->activeSubWindow()) window = qobject_cast<ChildWindow*>(mdi_->activeSubWindow()->widget());
  return {window, control};
}

bool MainWindow::focusLost() const {
  QWidget* f = QApplication::focusWidget();
  if (!f) return true;
  if (f->window() != this) return false;  // a dialog of its own holds it
  if (!f->isVisible() || !f->isEnabled()) return true;
  ChildWindow* c = childOf(f);
  return c && !usable(c);
}

void MainWindow::returnFocus(Origin from, bool hadFocus) {
  // After the close: the window's own close handling may show or enable other windows,
  // and its sub-window goes only once the close is over. A window opened meanwhile keeps
  // the keyboard it was given.
  const unsigned openedBefore = opened_;
  QTimer::singleShot(0, this, [this, from, hadFocus, openedBefore] {
    if (closing_ || opened_ != openedBefore || (!hadFocus && !focusLost())) return;
    Origin to = from;
    while (to.window && !usable(to.window)) to = {to.window->openedFrom(), to.window->openedFromControl()};
    if (!to.window) {
      // Nothing left of the line it came from: the front-most window a person can use.
      const auto subs = mdi_->subWindowList(QMdiArea::StackingOrder);
      for (auto it = subs.rbegin(); it != subs.rend() && !to.window; ++it)
        if (auto* c = qobject_cast<ChildWindow*>((*it)->widget()); c && usable(c)) to.window = c;
    }
    if (to.window) showChild(to.window, true);
    // The control it came from: one of that window's, or of the toolbars.
    QWidget* control = to.control;
    const bool controlFits = control && control->isVisible() && control->isEnabled() &&
                             control->focusPolicy() != Qt::NoFocus &&
                             (!childOf(control) || childOf(control) == to.window.data());
    if (controlFits) {
      control->setFocus(Qt::OtherFocusReason);
    } else if (to.window) {
      QWidget* last = to.window->focusWidget();
      if (last && last->isVisible() && last->isEnabled() && to.window->isAncestorOf(last))
        last->setFocus(Qt::OtherFocusReason);
      else
        to.window->setFocus(Qt::OtherFocusReason);
    }
  });
}

CompileDialog* MainWindow::openCompileDialogFresh() { return loadFresh(compile_); }

MapWindow* MainWindow::openMapFresh() {
  if (!manager_) return nullptr;
  return loadFresh(map_);
}

BookCheckWindow* MainWindow::openBookCheckFresh() { return loadFresh(check_); }

GraphWindow* MainWindow::openGraphFresh() { return loadFresh(graph_); }
RenumberWindow* MainWindow::openRenumberFresh() { return loadFresh(renumber_); }
ExportWindow* MainWindow::openExportFresh() { return loadFresh(export_); }

StoryImportWindow* MainWindow::openStoryImportFresh() {
  StoryImportWindow* w = replaceChild(storyImport_);
  if (w) connect(w, &StoryImportWindow::projectOpened, this, [this] { if (start_) closeChild(start_); });
  return w;
}

void MainWindow::openStartPageFresh() { loadFresh(start_); }

ProjectManagerWindow* MainWindow::openManagerFresh() { return loadFresh(manager_); }

RoomEditorWindow* MainWindow::openEditorFresh() { return replaceChild(editor_); }

PropertiesWindow* MainWindow::openPropertiesFresh() { return replaceChild(properties_); }

// `w` serves `holder` and closes with it.
void MainWindow::closeWith(ChildWindow* holder, ChildWindow* w) {
  connect(holder, &ChildWindow::closed, w, [this, w] { closeChild(w); });
}

// The room editor's tool windows (find, room script, resources, upload) close with it.
// F8 again while it is open brings it back as it is, with what was typed in it.
void MainWindow::openFindReplaceFresh() {
  if (!editor_) return;
  if (find_) {
    showChild(find_, true);
    return;
  }
  if (auto* w = loadFresh(find_)) closeWith(editor_, w);
}

void MainWindow::openRoomScriptFresh() {
  if (!editor_) return;
  auto* w = replaceChild(script_);
  if (!w) return;
  closeWith(editor_, w);
  w->Percorso = editor_->Percorso;
  w->Nome = editor_->Nome;
}

// At start-up: a book left with the editor's recovery files (the tool ended without closing
// the editor) is offered to be opened; its project manager then offers each text back.
void MainWindow::offerCrashRecovery() {
  const auto last = context_.home.read_last_project();
  if (!last || !start_) return;
  const stdfs::path folder = path_from_text(*last);
  if (find_recoveries(folder).found.empty()) return;
  if (context_.prompts->ask_yes_no("Pagimond si è chiuso mentre scrivevi nel progetto \"" + path_text(folder.filename()) +
                                       "\" e c'è del testo non salvato. Aprire il progetto per recuperarlo?",
                                   "Recupero del testo non salvato"))
    start_->openLastProject();
}

void MainWindow::openVersions(const QString& folder, const QString& name) { loadFresh(versions_, folder, name); }

void MainWindow::openTrash() {
  if (manager_) loadFresh(trash_);
}

GlobalCodeWindow* MainWindow::openGlobalCodeFresh() {
  if (!manager_) return nullptr;
  return loadFresh(globalCode_);
}

ResourcesWindow* MainWindow::openResourcesFresh(ResourceMode mode) {
  if (!editor_) return nullptr;
  if (upload_) closeChild(upload_);
  auto* w = replaceChild(resources_, mode);
  if (!w) return nullptr;
  closeWith(editor_, w);
  w->load();
  return w;
}

UploadWindow* MainWindow::openUploadFresh() {
  if (!editor_) return nullptr;
  auto* w = replaceChild(upload_);
  if (!w) return nullptr;
  closeWith(editor_, w);
  // Closing the upload shows the resources window again; its refresh lists the new files.
  connect(w, &ChildWindow::closed, this, [this] {
    if (resources_ && !closing_) {
      showChild(resources_, true);
      resources_->Aggiorna.start();
    }
  });
  w->load();
  return w;
}

// The palette belongs to the project manager and closes with it.
ColourPaletteWindow* MainWindow::openColourPaletteFresh() {
  auto* w = loadFresh(palette_);
  if (w && manager_) closeWith(manager_, w);
  return w;
}

SettingsWindow* MainWindow::openSettingsFresh() {
  if (!closeAllChildren()) return nullptr;
  auto* w = replaceChild(settings_);
  if (!w) return nullptr;
  setManageProjectsEnabled(false);
  setProjectToolbarEnabled(false);
  return w;
}

bool MainWindow::closeChild(QWidget* w) {
  ChildFrame* frame = frameOf(w);
  if (!frame) return w ? w->close() : true;
  if (frame->done()) return true;
  return frame->close();
}

void MainWindow::showChild(QWidget* w, bool shown) {
  ChildFrame* frame = frameOf(w);
  if (!frame || frame->done()) return;
  frame->setVisible(shown);
  if (shown) {
    frame->raise();
    mdi_->setActiveSubWindow(frame);
  }
}

void MainWindow::setChildEnabled(QWidget* w, bool enabled) {
  if (ChildFrame* frame = frameOf(w))
    frame->setEnabled(enabled);
  else if (w)
    w->setEnabled(enabled);
}

void MainWindow::placeChild(QWidget* w, const QRect& r) {
  if (ChildFrame* frame = frameOf(w)) frame->setGeometry(r);
}

QRect MainWindow::childGeometry(QWidget* w) const {
  ChildFrame* frame = frameOf(w);
  return frame ? frame->geometry() : QRect();
}

QSize MainWindow::clientSize() const { return mdi_->viewport()->size(); }

QPoint MainWindow::clientPoint(const QPoint& global) const { return mdi_->viewport()->mapFromGlobal(global); }

bool MainWindow::closeAllChildren(QWidget* keep) {
  ChildFrame* kept = frameOf(keep);
  // Closing one child may open another (the project manager reopens the start page), so
  // go round until none is left; stop when a round closes nothing.
  for (int round = 0; round < 16; ++round) {
    QList<QPointer<ChildFrame>> open;
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
      auto* f = dynamic_cast<ChildFrame*>(sub);
      if (f && f != kept && !f->done()) open.append(f);
    }
    if (open.isEmpty()) return true;
    bool closedOne = false;
    for (const auto& f : open)
      if (f && !f->done() && f->close()) closedOne = true;
    if (!closedOne) return false;
  }
  return false;
}

void MainWindow::setProjectToolbarShown(bool shown) {
  skipStartPage_->setEnabled(shown);
  projectBar_->setVisible(shown);
  projectBar_->setEnabled(true);
  topSeparator_->setVisible(shown);
  helpButton_->setVisible(shown);
}

void MainWindow::setProjectToolbarEnabled(bool enabled) { projectBar_->setEnabled(enabled); }

void MainWindow::setCoverShown(bool shown) {
  for (QToolButton* b : covered_) b->setEnabled(!shown);
  cover_->setVisible(shown);
  if (shown) cover_->raise();
  // What the cover hides is out of reach of the keyboard and of a screen reader too.
  for (QToolButton* b : projectBar_->findChildren<QToolButton*>())
    if (b->geometry().intersects(cover_->geometry())) b->setEnabled(!shown);
}

void MainWindow::setManageProjectsEnabled(bool enabled) { manageButton_->setEnabled(enabled); }

void MainWindow::openHelp(std::string_view page) {
  stdfs::path file = help_page_file(context_.home.home(), page);
  // Asked as an address; when it cannot open, the author is told the file's path.
  if (!context_.platform->open_document(QUrl::fromLocalFile(fromPath(file)).toString().toStdString()).ok())
    context_.prompts->message(browser_not_started(path_text(file)).message(), kMessageTitle, MessageIcon::Warning);
}

void MainWindow::setSkipStartPage(bool skip) { skipStartPage_->setChecked(skip); }

// The author ticked "Salta il menù iniziale": the open project's flag changes, as in the
// properties window; when it cannot, the tick goes back and the author is told why.
void MainWindow::changeSkipStartPage(bool skip) {
  ProjectManagerWindow* m = manager();
  if (!m) return;
  const PropertiesLoad loaded = load_properties(m->project());
  PropertiesForm form = loaded.form;
  form.skip_start_page = skip;
  const Status s = save_properties(m->project(), loaded, form);
  if (s.ok()) return;
  setSkipStartPage(!skip);
  context_.prompts->message(s.message(), kMessageTitle, MessageIcon::Warning);
}

void MainWindow::setRoomCounter(int rooms) { setShownText(roomCounter_, "Numero di Stanze: " + QString::number(rooms)); }

void MainWindow::setHelpTooltip(const QString& text) {
  helpButton_->setToolTip(text);
  helpButton_->setAccessibleName(text);
}

// ---- commands ----------------------------------------------------------------------------

void MainWindow::runCommand(Command command) {
  switch (command) {
    case Command::None: break;
    case Command::CreateRoom: createRoom(); break;
    case Command::OpenRoom: openSelectedRoom(); break;
    case Command::DescribeRoom: describeSelectedRoom(); break;
    case Command::EditStyleSheet: editStyleSheet(); break;
    case Command::GlobalCode: openGlobalCodeFresh(); break;
    case Command::Properties: openProperties(); break;
    case Command::TestProject: testProject(); break;
    case Command::Compile: openCompile(); break;
    case Command::BookCheck: openBookCheckFresh(); break;
  }
}

void MainWindow::openSelectedRoom() {
  if (ProjectManagerWindow* m = manager()) m->Apri.start();
}

void MainWindow::describeSelectedRoom() {
  if (ProjectManagerWindow* m = manager()) m->EditaStanza.start();
}

void MainWindow::openProperties() {
  if (manager() && openPropertiesFresh()) properties_->Apri.start();
}

void MainWindow::testProject() {
  if (ProjectManagerWindow* m = manager()) m->Compila.start();
}

void MainWindow::openCompile() {
  if (manager()) openCompileDialogFresh();
}

void MainWindow::createRoom() {
  ProjectManagerWindow* m = manager();
  if (!m) return;
  QString proposed;
  if (!m->NomeLink.isEmpty()) {
    if (RoomEditorWindow* e = editor()) proposed = e->selectedText();
    m->NomeLink.clear();
  }
  auto answer = context_.prompts->input("Creazione di una nuova Stanza. Descrizione della Stanza:",
                                        "Creazione della Stanza", proposed.toStdString());
  if (!answer || answer->empty()) return;
  const Project project = m->project();
  RoomResult r = create_room(project, size_t(m->entryCount()),
                             toFileText(QString::fromStdString(*answer), book_encoding(project.folder())));
  if (!r.status.ok()) context_.prompts->message(r.status.message(), kMessageTitle, MessageIcon::Critical);
  m->Aggiorna.start();
}

// The compile dialog's single file: the page is not opened, Output is shown instead.
void MainWindow::onUnicoFile() {
  runSingleFile(false);
}

void MainWindow::runSingleFile(bool openBrowser) {
  ProjectManagerWindow* m = manager();
  if (!m) return;
  CompileRequest request;
  request.project = m->project();
  request.rooms = m->roomNumbers();
  request.output = context_.home.output();
  request.form = CompileForm::SingleFile;
  const CompileResult result = run_compile(request);
  // Every compile takes the start-page flag from the project file into Check1.
  setSkipStartPage(result.skip_start_page);
  using Show = CompileFollowUp::Show;
  const CompileFollowUp then = openBrowser ? CompileFollowUp{Show::Page, request.output / "index.htm"}
                                           : CompileFollowUp{Show::Folder, request.output};
  present_compile(result, then, *context_.platform, *context_.prompts);
}

// The project's style sheet in the room editor, restricted, at 9 points.
void MainWindow::editStyleSheet() {
  ProjectManagerWindow* m = manager();
  if (!m) return;
  RoomEditorWindow* e = openEditorFresh();
  if (!e) return;
  showChild(m, false);
  e->Percorso = m->Percorso;
  e->Nome = "adv.css";
  e->setRestricted(true, 9);
}

void MainWindow::openResourceFolder() {
  ProjectManagerWindow* m = manager();
  if (!m) return;
  const Status shown = context_.platform->show_folder(path_text(m->project().res_folder()));
  if (!shown.ok()) context_.prompts->message(shown.message(), kMessageTitle, MessageIcon::Warning);
}

// ---- closing ---------------------------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event) {
  closing_ = true;
  // The editor first: it saves, and may refuse when its file cannot be written.
  if (editor_ && !closeChild(editor_)) {
    closing_ = false;
    event->ignore();
    return;
  }
  if (manager_) manager_->clearTargetChoice();
  if (!closeAllChildren()) {
    closing_ = false;
    event->ignore();
    return;
  }
  event->accept();
  emit closed();
}

}  // namespace pm

namespace pm {

// ---- the live preview ----------------------------------------------------------------------

void MainWindow::showLivePreview(const std::string& room) {
  ProjectManagerWindow* m = manager();
  if (!m) return;
  const stdfs::path book = m->project().folder();
  if (!preview_ || !preview_->running() || previewBook_ != book) {
    preview_ = std::make_unique<PreviewServer>();
    PreviewOptions options;
    options.book = book;
    options.output = context_.home.output();
    if (Status started = preview_->start(options); !started.ok()) {
      preview_.reset();
      context_.prompts->message(started.message(), kMessageTitle, MessageIcon::Warning);
      return;
    }
    previewBook_ = book;
  }
  // From the main toolbar, the room being edited; a file that is no room shows the start page.
  std::string page = room;
  if (page.empty() && editor_) page = toNameBytes(editor_->Nome);
  if (!is_digits(page)) page.clear();
  if (Status shown = context_.platform->open_document(preview_->address(page)); !shown.ok())
    context_.prompts->message(shown.message(), kMessageTitle, MessageIcon::Warning);
}

void MainWindow::bookFileSaved(const std::string& name) {
  if (!preview_ || !preview_->running()) return;
  preview_->compile_now(is_digits(name) ? name : std::string());
}

}  // namespace pm
