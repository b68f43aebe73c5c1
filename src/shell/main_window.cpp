// The main window (see main_window.h).
#include "shell/main_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>

#include "compiler/compile_dialog.h"
#include "compiler/compile_request.h"
#include "compiler/single_file.h"
#include "editor/room_editor_window.h"
#include "project/start_page_window.h"
#include "rooms/project_manager_window.h"
#include "rooms/room_operations.h"
#include "shell/help_pages.h"
#include "shell/qt_icons.h"
#include "shell/qt_measure.h"
#include "shell/qt_paths.h"
#include "shell/settings_window.h"

namespace pm {

namespace {

const char* const kCaption = "Pagimond 2.00 - Libri gioco interattivi per il web";
const char* const kMessageTitle = "Pagimond";

// The sub-window of a child window. It tells the main window when its child has closed,
// whether the sub-window was closed or the child closed itself.
class ChildFrame : public QMdiSubWindow {
 public:
  std::function<void(QWidget*)> onClosed;

  bool done() const { return done_; }

 protected:
  void closeEvent(QCloseEvent* event) override {
    in_close_ = true;
    QMdiSubWindow::closeEvent(event);
    in_close_ = false;
    if (event->isAccepted()) finish();
  }

  // The child's own close: a Close event followed by the child hiding itself.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget() && !done_) {
      if (event->type() == QEvent::Close) {
        close_seen_ = true;
        QTimer::singleShot(0, this, [this] { close_seen_ = false; });
      } else if (event->type() == QEvent::Hide && close_seen_ && !in_close_ && widget()->isHidden()) {
        finish();
        hide();
        deleteLater();
      }
    }
    return QMdiSubWindow::eventFilter(watched, event);
  }

 private:
  void finish() {
    if (done_) return;
    done_ = true;
    if (onClosed) onClosed(widget());
  }

  bool in_close_ = false;
  bool close_seen_ = false;
  bool done_ = false;
};

ChildFrame* frameOf(QWidget* w) { return w ? dynamic_cast<ChildFrame*>(w->parentWidget()) : nullptr; }

}  // namespace

MainWindow::MainWindow(AppContext context, QWidget* parent) : QMainWindow(parent), context_(std::move(context)) {
  setObjectName("MainWindow");
  setWindowTitle(kCaption);
  setWindowIcon(icon(IconKind::Logo));
  Crea.setInterval(100);
  UnicoFile.setInterval(1);
  connect(&Crea, &QTimer::timeout, this, &MainWindow::onCrea);
  connect(&UnicoFile, &QTimer::timeout, this, &MainWindow::onUnicoFile);

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  buildToolbars();
  column->addWidget(Picture1);
  column->addWidget(Picture2);
  mdi_ = new QMdiArea(central);
  mdi_->setObjectName("Client");
  mdi_->setAccessibleName("Area di lavoro");
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  column->addWidget(mdi_, 1);
  setCentralWidget(central);
  mdi_->viewport()->installEventFilter(this);
  Picture1->installEventFilter(this);

  // The load: the desktop picture, a size close to the one the window is shown at (so the
  // first child windows are placed in the right client area), the start page.
  desktop_.load(fromPath(context_.home.file("DeskTop.jpg")));
  if (QScreen* screen = QGuiApplication::primaryScreen()) resize(screen->availableGeometry().size());
  central->layout()->activate();
  stretchBackground();
  placeRightPictures();
  openStartPageFresh();
}

MainWindow::~MainWindow() {
  closing_ = true;
  for (QMdiSubWindow* sub : mdi_->subWindowList())
    if (auto* f = dynamic_cast<ChildFrame*>(sub)) f->onClosed = nullptr;
}

QToolButton* MainWindow::makeButton(QWidget* bar, const char* name, int iconKind, const QString& tip, long left) {
  auto* b = new QToolButton(bar);
  b->setObjectName(name);
  b->setIcon(icon(IconKind(iconKind)));
  b->setIconSize(QSize(twipsToPxX(this, 400), twipsToPxY(this, 400)));
  b->setAutoRaise(true);
  b->setToolTip(tip);
  b->setAccessibleName(tip);
  b->setCursor(Qt::PointingHandCursor);
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
  Picture1 = new QWidget(this);
  Picture1->setObjectName("Picture1");
  Picture1->setAttribute(Qt::WA_StyledBackground);
  Picture1->setStyleSheet(barStyle.arg("Picture1"));
  Picture1->setFixedHeight(twipsToPxY(this, 735));

  Image1 = makeButton(Picture1, "Image1", int(IconKind::ManageProjects), "Gestisci e crea nuovi progetti", 120);
  Line2 = separator(Picture1, "Line2", twipsRect(this, 720, 90, 30, 555));
  Line2->hide();
  Image10 = makeButton(Picture1, "Image10", int(IconKind::Help), "Leggi la guida al programma", 840);
  Image10->hide();
  Check1 = new QCheckBox("Salta il menù iniziale", Picture1);
  Check1->setObjectName("Check1");
  Check1->setAccessibleName(Check1->text());
  Check1->adjustSize();
  Check1->move(twipsToPxX(this, 1560), (Picture1->height() - Check1->height()) / 2);
  Image15 = makeButton(Picture1, "Image15", int(IconKind::Settings), "Impostazioni", 0);
  Image16 = new QLabel(Picture1);
  Image16->setObjectName("Image16");
  Image16->setPixmap(iconPixmap(IconKind::Logo, twipsToPxX(this, 480), devicePixelRatioF()));
  Image16->setAccessibleName("Pagimond");
  Image16->setGeometry(twipsRect(this, 0, 120, 480, 480));

  Picture2 = new QWidget(this);
  Picture2->setObjectName("Picture2");
  Picture2->setAttribute(Qt::WA_StyledBackground);
  Picture2->setStyleSheet(barStyle.arg("Picture2"));
  Picture2->setFixedHeight(twipsToPxY(this, 735));
  Image2 = makeButton(Picture2, "Image2", int(IconKind::NewRoom), "F2 - Crea una nuova Stanza", 120);
  Image3 = makeButton(Picture2, "Image3", int(IconKind::OpenEditor), "F3 - Apri l'Editor per editare una Stanza", 720);
  Image4 = makeButton(Picture2, "Image4", int(IconKind::Description), "F4 - Edita la Descrizione di una Stanza", 1320);
  Image5 = makeButton(Picture2, "Image5", int(IconKind::StyleSheet),
                      "F5 - Impostazione delle Stanze (Testo, dimensioni, colori)", 1920);
  Image6 = makeButton(Picture2, "Image6", int(IconKind::GlobalCode),
                      "F6 - Imposta un codice generale che sarà presente in tutte le Stanze", 2520);
  Image7 = makeButton(Picture2, "Image7", int(IconKind::Properties),
                      "F7 - Proprietà - Inserisci i tuoi dati personali", 3120);
  Image8 = makeButton(Picture2, "Image8", int(IconKind::Test), "F8 - Testa l'intero progetto", 3720);
  Image9 = makeButton(Picture2, "Image9", int(IconKind::Distribute), "F9 - Distribuisci il progetto", 4320);
  Image13 = makeButton(Picture2, "Image13", int(IconKind::Map), "Crea una mappa dell'intera avventura", 5040);
  Image20 = makeButton(Picture2, "Image20", int(IconKind::SingleFile),
                       "Testa in un unico file (Libro gioco Interattivo)", 5640);
  Image11 = makeButton(Picture2, "Image11", int(IconKind::Colours),
                       "Preleva i colori dallo schermo e trasformali in codice HTML", 6360);
  Image12 = makeButton(Picture2, "Image12", int(IconKind::ResourceFolder),
                       "Cartella delle risorse res (La cartella dove inserire immagini ed altri elementi)", 6960);
  separator(Picture2, "Line1", twipsRect(this, 4920, 90, 30, 555));
  separator(Picture2, "Line3", twipsRect(this, 6240, 90, 30, 555));
  separator(Picture2, "Line4", twipsRect(this, 7560, 90, 30, 555));
  Label1 = new QLabel(Picture2);
  Label1->setObjectName("Label1");
  Label1->setFont(typewriterFont(10));
  Label1->setAccessibleName("Numero di Stanze");
  Label1->setGeometry(twipsToPxX(this, 7680), 0, twipsToPxX(this, 4000), Picture2->height());
  Picture3 = new QWidget(Picture2);
  Picture3->setObjectName("Picture3");
  Picture3->setAttribute(Qt::WA_StyledBackground);
  Picture3->setStyleSheet("#Picture3 { background: rgba(228, 232, 237, 190); border-radius: 4px; }");
  Picture3->setToolTip("Comandi non disponibili mentre l'Editor è aperto");
  Picture3->setGeometry(twipsRect(this, 120, 120, 6015, 495));
  Picture3->raise();
  Picture3->hide();
  Picture2->hide();

  connect(Image1, &QToolButton::clicked, this, [this] { openStartPageFresh(); });
  connect(Image10, &QToolButton::clicked, this, [this] { openHelp(""); });
  connect(Image15, &QToolButton::clicked, this, [this] { openSettingsFresh(); });
  const std::pair<QToolButton*, const char*> commands[] = {{Image2, "1"}, {Image3, "2"}, {Image4, "3"},
                                                           {Image5, "4"}, {Image6, "5"}, {Image7, "6"},
                                                           {Image8, "7"}, {Image9, "8"}};
  for (const auto& [button, code] : commands) {
    QString c = code;
    connect(button, &QToolButton::clicked, this, [this, c] { runCommand(c); });
  }
  connect(Image13, &QToolButton::clicked, this, [] {
    // The adventure map window is not built yet.
  });
  connect(Image20, &QToolButton::clicked, this, [this] { runSingleFile(true); });
  connect(Image11, &QToolButton::clicked, this, [] {
    // The colour palette is not built yet.
  });
  connect(Image12, &QToolButton::clicked, this, &MainWindow::openResourceFolder);
}

void MainWindow::placeRightPictures() {
  const int w = Picture1->width();
  Image15->move(w - Image15->width() - twipsToPxX(this, 1100), Image15->y());
  Image16->move(w - Image16->width() - twipsToPxX(this, 150), Image16->y());
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
    if (watched == Picture1) placeRightPictures();
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

QMdiSubWindow* MainWindow::addChild(QWidget* w) {
  auto* frame = new ChildFrame;
  frame->setAttribute(Qt::WA_DeleteOnClose);
  frame->setWidget(w);
  frame->setWindowIcon(icon(IconKind::Logo));
  frame->onClosed = [this](QWidget* child) {
    if (child == start_) start_ = nullptr;
    if (child == manager_) manager_ = nullptr;
    if (child == editor_) editor_ = nullptr;
    if (child == settings_) settings_ = nullptr;
    if (child == compile_) compile_ = nullptr;
  };
  mdi_->addSubWindow(frame);
  frame->show();
  return frame;
}

StartPageWindow* MainWindow::startPage() const { return start_.data(); }
ProjectManagerWindow* MainWindow::manager() const { return manager_.data(); }
RoomEditorWindow* MainWindow::editor() const { return editor_.data(); }
SettingsWindow* MainWindow::settings() const { return settings_.data(); }
CompileDialog* MainWindow::compileDialog() const { return compile_.data(); }

CompileDialog* MainWindow::openCompileDialogFresh() {
  if (compile_ && !closeChild(compile_)) return nullptr;
  auto* w = new CompileDialog(this);
  compile_ = w;
  addChild(w);
  w->load();
  return w;
}

StartPageWindow* MainWindow::openStartPageFresh() {
  if (start_) closeChild(start_);
  auto* w = new StartPageWindow(this);
  start_ = w;
  addChild(w);
  w->load();
  return w;
}

ProjectManagerWindow* MainWindow::openManagerFresh() {
  if (manager_ && !closeChild(manager_)) return nullptr;
  auto* w = new ProjectManagerWindow(this);
  manager_ = w;
  addChild(w);
  w->load();
  return w;
}

RoomEditorWindow* MainWindow::openEditorFresh() {
  if (editor_ && !closeChild(editor_)) return nullptr;
  auto* w = new RoomEditorWindow(this);
  editor_ = w;
  addChild(w);
  return w;
}

SettingsWindow* MainWindow::openSettingsFresh() {
  if (settings_ && !closeChild(settings_)) return nullptr;
  if (!closeAllChildren()) return nullptr;
  auto* w = new SettingsWindow(this);
  settings_ = w;
  setManageProjectsEnabled(false);
  setProjectToolbarEnabled(false);
  addChild(w);
  w->load();
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
  Picture2->setVisible(shown);
  Picture2->setEnabled(true);
  Line2->setVisible(shown);
  Image10->setVisible(shown);
}

void MainWindow::setProjectToolbarEnabled(bool enabled) { Picture2->setEnabled(enabled); }

void MainWindow::setCoverShown(bool shown) {
  Picture3->setVisible(shown);
  if (shown) Picture3->raise();
}

void MainWindow::setManageProjectsEnabled(bool enabled) { Image1->setEnabled(enabled); }

void MainWindow::openHelp(const QString& page) {
  stdfs::path file = help_page_file(context_.home.home(), toNameBytes(page));
  context_.platform->open_document(QUrl::fromLocalFile(fromPath(file)).toString().toStdString());
}

bool MainWindow::childWindowKey(QWidget* child, int key, std::string_view helpPage) {
  if (key == Qt::Key_F1)
    openHelp(QString::fromUtf8(helpPage.data(), qsizetype(helpPage.size())));
  else if (key == Qt::Key_Escape)
    closeChild(child);
  else
    return false;
  return true;
}

void MainWindow::setRoomCounter(int rooms) { Label1->setText("Numero di Stanze: " + QString::number(rooms)); }

void MainWindow::setHelpTooltip(const QString& text) {
  Image10->setToolTip(text);
  Image10->setAccessibleName(text);
}

// ---- commands ----------------------------------------------------------------------------

void MainWindow::onCrea() {
  Crea.stop();
  runCommand(Scelta);
}

void MainWindow::runCommand(const QString& code) {
  ProjectManagerWindow* m = manager();
  if (code == "1") {
    createRoom();
  } else if (code == "2") {
    if (m) m->Apri.start();
  } else if (code == "3") {
    if (m) m->EditaStanza.start();
  } else if (code == "4") {
    editStyleSheet();
  } else if (code == "5") {
    // The global-code window is not built yet: the command does nothing.
  } else if (code == "6") {
    // The project properties window is not built yet: the command does nothing.
  } else if (code == "7") {
    if (m) m->Compila.start();
  } else if (code == "8") {
    if (m) openCompileDialogFresh();
  }
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
  RoomResult r = create_room(m->project(), size_t(m->entryCount()), toFileText(QString::fromStdString(*answer)));
  if (!r.status.ok()) context_.prompts->message(r.status.message(), kMessageTitle, MessageIcon::Critical);
  m->Aggiorna.start();
}

void MainWindow::onUnicoFile() {
  UnicoFile.stop();
  NoBrowser = "1";
  runSingleFile(false);
  context_.platform->show_folder(path_text(context_.home.output()));
  NoBrowser.clear();
}

void MainWindow::runSingleFile(bool openBrowser) {
  ProjectManagerWindow* m = manager();
  if (!m) return;
  Text1.clear();
  const Project project = m->project();
  // Every compile first takes the start-page flag from the project file into Check1.
  Check1->setChecked(project.read_fields().skip_start_page());
  const stdfs::path output = context_.home.output();
  const CompileReport report = compile_single_file(project, m->roomNumbers(), output);
  if (!report.ok())
    context_.prompts->message(compile_failure_message(report), kMessageTitle, MessageIcon::Warning);
  const stdfs::path index = output / "index.htm";
  if (openBrowser && NoBrowser.isEmpty() && is_file(index)) context_.platform->open_document(path_text(index));
}

// Command "4": the project's style sheet in the room editor, restricted, at 9 points.
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
  context_.platform->show_folder(path_text(m->project().res_folder()));
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
  if (manager_) {
    manager_->Modi.clear();
    manager_->Modi2.clear();
  }
  if (!closeAllChildren()) {
    closing_ = false;
    event->ignore();
    return;
  }
  event->accept();
  emit closed();
}

}  // namespace pm
