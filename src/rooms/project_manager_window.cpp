// The project manager window (see project_manager_window.h).
#include "rooms/project_manager_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QStringList>

#include "editor/room_editor_window.h"
#include "project/project_file.h"
#include "rooms/follow_link.h"
#include "rooms/room_list.h"
#include "rooms/room_operations.h"
#include "shell/help_pages.h"
#include "shell/main_window.h"
#include "shell/qt_measure.h"
#include "shell/qt_paths.h"
#include "shell/qt_tiled_background.h"

namespace pm {

namespace {

const char* const kCaption = "Gestione Progetto";
const char* const kHint = "Enter o Doppio click sulla Stanza->Edita una Stanza | F4 Edita Descrizione";
const char* const kMessageTitle = "Pagimond";
const long kDefaultWidth = 9600, kDefaultHeight = 7200, kMinimumTop = 400;

void startOnce(QTimer& timer, QObject* owner, std::function<void()> action) {
  QObject::connect(&timer, &QTimer::timeout, owner, [&timer, action = std::move(action)] {
    timer.stop();
    action();
  });
}

}  // namespace

ProjectManagerWindow::ProjectManagerWindow(MainWindow* main, QWidget* parent) : QWidget(parent), main_(main) {
  setObjectName("ProjectManager");
  setWindowTitle(kCaption);
  setFocusPolicy(Qt::StrongFocus);

  List1 = new QListWidget(this);
  List1->setObjectName("List1");
  List1->setAccessibleName("Elenco delle Stanze");
  List1->setFont(typewriterFont(10));
  List1->setUniformItemSizes(true);
  List1->setSelectionMode(QAbstractItemView::SingleSelection);
  List1->setCursor(Qt::PointingHandCursor);
  List1->setContextMenuPolicy(Qt::CustomContextMenu);
  List1->installEventFilter(this);

  hintPanel_ = new QWidget(this);
  hintPanel_->setObjectName("HintPanel");
  Label1 = new QLabel(kHint, hintPanel_);
  Label1->setObjectName("Label1");
  Label1->setAccessibleName("Suggerimento");
  Label1->setStyleSheet("color: #1d2a36; font-weight: 600;");

  Menu1 = new QMenu(this);
  Menu1->setObjectName("Menu1");
  auto add = [this](const char* name, const QString& text, void (ProjectManagerWindow::*action)()) {
    QAction* a = Menu1->addAction(text);
    a->setObjectName(name);
    if (action) connect(a, &QAction::triggered, this, action);
    return a;
  };
  add("MenuTesta", "Testa il progetto da qui...", &ProjectManagerWindow::testFromSelected);
  Menu1->addSeparator();
  QAction* create = add("MenuCrea", "Crea Stanza...", nullptr);
  connect(create, &QAction::triggered, this, [this] { sendCommand("1"); });
  add("MenuApri", "Apri Stanza", &ProjectManagerWindow::openFromMenu);
  QAction* describe = add("MenuDescrizione", "Descrizione a Stanza...", nullptr);
  connect(describe, &QAction::triggered, this, [this] { EditaStanza.start(); });
  add("MenuDuplica", "Duplica Stanza...", &ProjectManagerWindow::duplicateSelected);
  add("MenuElimina", "Elimina Stanza", &ProjectManagerWindow::deleteSelected);
  Menu1->addSeparator();
  add("MenuChiudi", "Chiudi", nullptr);

  for (QTimer* t : {&Aggiorna, &Apri, &EditaStanza, &Compila, &Compila2}) t->setInterval(100);
  SegLink.setInterval(1);
  startOnce(Aggiorna, this, [this] { rebuildList(); });
  startOnce(Apri, this, [this] { openSelected(); });
  startOnce(EditaStanza, this, [this] { editDescription(); });
  startOnce(Compila, this, [this] { compileFromFirst(&ProjectManagerWindow::CompilaTutto); });
  startOnce(Compila2, this, [this] { compileFromFirst(&ProjectManagerWindow::CompilaTutto2); });
  // Following a link: retried at every tick until the target room's text holds a line (or
  // a new request replaces the target). A target naming no file of the project is dropped.
  connect(&SegLink, &QTimer::timeout, this, [this] {
    const std::string target = toNameBytes(SeguiLink);
    if (!is_safe_link_target(target)) {
      SegLink.stop();
      return;
    }
    if (!follow_link_ready(toPath(Percorso), target)) return;
    SegLink.stop();
    RoomEditorWindow* editor = main_->openEditorFresh();
    if (!editor) return;
    editor->Percorso = Percorso;
    editor->Nome = SeguiLink;
    editor->SeguiLk.start();
    main_->showChild(this, false);
  });

  connect(List1, &QListWidget::itemDoubleClicked, this, [this] { chooseByDoubleClick(); });
  connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!rebuilding_ && row >= 0) Posi = QString::number(row);
  });
  connect(List1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { Menu1->popup(List1->viewport()->mapToGlobal(pos)); });
}

ProjectManagerWindow::~ProjectManagerWindow() = default;

Project ProjectManagerWindow::project() const { return Project(toPath(Percorso), toNameBytes(Nome)); }

// ---- the list -------------------------------------------------------------------------------

void ProjectManagerWindow::rebuildList() {
  rebuilding_ = true;
  setWindowTitle("Gestione del Progetto \"" + Nome + "\"");
  List1->clear();
  entries_ = build_room_list(project());
  QStringList items;
  items.reserve(int(entries_.size()));
  for (const auto& e : entries_) items << fromFileText(e);
  List1->addItems(items);
  int target = 0;
  if (!Posi.isEmpty()) {
    bool ok = false;
    target = Posi.trimmed().toInt(&ok);
    if (!ok) target = -1;
  }
  if (target >= 0 && target < List1->count()) {
    List1->setCurrentRow(target);
    List1->scrollToItem(List1->item(target));
  } else {
    List1->setCurrentRow(-1);
    List1->clearSelection();
  }
  rebuilding_ = false;
  main_->setRoomCounter(List1->count());
  main_->setHelpTooltip("F1 - Leggi la guida al programma");
}

int ProjectManagerWindow::selectedRow() const {
  const auto items = List1->selectedItems();
  return items.isEmpty() ? -1 : List1->row(items.first());
}

QString ProjectManagerWindow::selectedEntry() const {
  int row = selectedRow();
  return row < 0 ? QString() : List1->item(row)->text();
}

std::string ProjectManagerWindow::selectedNumber() const {
  int row = selectedRow();
  if (row < 0 || size_t(row) >= entries_.size()) return {};
  return split_room_entry(entries_[size_t(row)]).number;
}

std::vector<std::string> ProjectManagerWindow::roomNumbers() const { return room_numbers(entries_); }

int ProjectManagerWindow::entryCount() const { return List1->count(); }

// ---- choosing and opening rooms -------------------------------------------------------------

void ProjectManagerWindow::insertLink(const std::string& number) {
  RoomEditorWindow* editor = main_->editor();
  if (!editor) return;
  QString n = fromNameBytes(number);
  editor->replaceSelection("<a href=\"" + n + ".htm\">" + editor->selectedText() + "</a>");
}

bool ProjectManagerWindow::insertRedirect(const std::string& number) {
  auto seconds = main_->context().prompts->input("Inserire un numero epresso in secondi:", "Contatore", "0");
  if (!seconds || seconds->empty()) return false;
  if (RoomEditorWindow* editor = main_->editor())
    editor->replaceSelection("<meta http-equiv='refresh' content='" + QString::fromStdString(*seconds) +
                             "; url=" + fromNameBytes(number) + ".htm'>");
  return true;
}

void ProjectManagerWindow::backToEditor() {
  if (RoomEditorWindow* editor = main_->editor()) main_->showChild(editor, true);
  main_->showChild(this, false);
}

void ProjectManagerWindow::chooseByDoubleClick() {
  int row = selectedRow();
  if (row < 0) return;
  std::string number = selectedNumber();
  Link.clear();
  Posi = QString::number(row);
  if (!Modi2.isEmpty()) {
    insertRedirect(number);
    backToEditor();
    Modi2.clear();
  } else if (!Modi.isEmpty()) {
    insertLink(number);
    backToEditor();
    Modi.clear();
  } else {
    Apri.start();
  }
}

void ProjectManagerWindow::openSelected() {
  if (selectedRow() < 0) return;
  std::string number = selectedNumber();
  if (Link == "1") {
    insertLink(number);
    backToEditor();
    Link.clear();
  } else if (Link == "2") {
    if (insertRedirect(number)) {
      backToEditor();
      Link.clear();
    }
  } else {
    RoomEditorWindow* editor = main_->openEditorFresh();
    if (!editor) return;
    editor->Percorso = Percorso;
    editor->Nome = fromNameBytes(number);
    main_->showChild(this, false);
  }
}

void ProjectManagerWindow::refuse(const char* message) {
  main_->context().prompts->message(message, kMessageTitle, MessageIcon::Information);
}

void ProjectManagerWindow::openFromMenu() {
  if (Link == "1") {
    refuse("Non è possibile aprire una Stanza in questo momento. Scegli una Stanza di destinazione.");
    return;
  }
  chooseByDoubleClick();
}

// ---- room operations --------------------------------------------------------------------------

void ProjectManagerWindow::editDescription() {
  int row = selectedRow();
  if (row < 0) return;
  Posi = QString::number(row);
  std::string number = selectedNumber();
  Project p = project();
  std::string old = p.read_description_bytes(number);
  auto answer = main_->context().prompts->input("Descrizione della Stanza:", "Sintesi della Stanza",
                                                fromFileText(first_field_text(old)).toStdString());
  if (!answer || answer->empty()) return;
  RoomResult r = describe_room(p, number, toFileText(QString::fromStdString(*answer), old));
  if (!r.status.ok()) main_->context().prompts->message(r.status.message(), kMessageTitle, MessageIcon::Critical);
  Aggiorna.start();
}

void ProjectManagerWindow::duplicateSelected() {
  if (selectedRow() < 0) return;
  std::string source = selectedNumber();
  Project p = project();
  std::string old = p.read_description_bytes(source);
  QString proposed = fromFileText(first_field_text(old));
  if (!NomeLink.isEmpty()) {
    RoomEditorWindow* editor = main_->editor();
    proposed = editor ? editor->selectedText() : QString();
    NomeLink.clear();
  }
  auto answer = main_->context().prompts->input("Duplicazione di una nuova Stanza. Descrizione della Stanza:",
                                                "Creazione della Stanza", proposed.toStdString());
  if (!answer || answer->empty()) return;
  RoomResult r = duplicate_room(p, source, size_t(entryCount()), toFileText(QString::fromStdString(*answer), old));
  if (!r.status.ok()) main_->context().prompts->message(r.status.message(), kMessageTitle, MessageIcon::Critical);
  Aggiorna.start();
}

void ProjectManagerWindow::deleteSelected() {
  if (Link == "1") {
    refuse("Non è possibile eliminare una Stanza in questo momento. Scegli una Stanza di destinazione.");
    return;
  }
  if (selectedRow() < 0) return;
  std::string number = selectedNumber();
  RoomEntry shown = split_room_entry(selectedEntry().toStdString());
  std::string question = "Eliminare la Stanza " + shown.number + " | " + shown.description + "?";
  if (!main_->context().prompts->ask_yes_no(question, "Eliminazione della stanza")) return;
  RoomResult r = delete_room(project(), number);
  if (!r.status.ok()) main_->context().prompts->message(r.status.message(), kMessageTitle, MessageIcon::Critical);
  Aggiorna.start();
}

void ProjectManagerWindow::testFromSelected() {
  if (Link == "1") {
    refuse("Non è possibile fare il Test in questo momento. Scegli una Stanza di destinazione.");
    return;
  }
  if (selectedRow() < 0) return;
  std::string number = selectedNumber();
  RoomEditorWindow* editor = main_->openEditorFresh();
  if (!editor) return;
  editor->Percorso = Percorso;
  editor->Nome = fromNameBytes(number);
  editor->Compila.start();
  main_->showChild(this, false);
}

void ProjectManagerWindow::compileFromFirst(QString ProjectManagerWindow::*flag) {
  if (List1->count() == 0) return;
  List1->setCurrentRow(0);
  if (selectedEntry().isEmpty()) return;
  std::string number = selectedNumber();
  RoomEditorWindow* editor = main_->openEditorFresh();
  if (!editor) return;
  editor->Percorso = Percorso;
  editor->Nome = fromNameBytes(number);
  this->*flag = "1";
  editor->Compila.start();
  main_->showChild(this, false);
}

void ProjectManagerWindow::sendCommand(const QString& code) {
  main_->Scelta = code;
  main_->Crea.start();
}

// ---- keys, placement, painting, closing -----------------------------------------------------

bool ProjectManagerWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == List1 && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const int k = key->key();
    if ((k >= Qt::Key_F1 && k <= Qt::Key_F9) || k == Qt::Key_Escape || k == Qt::Key_Return || k == Qt::Key_Enter) {
      keyPressEvent(key);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void ProjectManagerWindow::keyPressEvent(QKeyEvent* event) {
  const int k = event->key();
  if (k == Qt::Key_F1) {
    main_->openHelp(QString::fromUtf8(help::kProjectManager.data(), int(help::kProjectManager.size())));
  } else if (k == Qt::Key_F2) {
    sendCommand("1");
  } else if (k >= Qt::Key_F3 && k <= Qt::Key_F9) {
    if (Link.isEmpty()) sendCommand(QString::number(k - Qt::Key_F3 + 2));
  } else if (k == Qt::Key_Escape) {
    if (!Modi.isEmpty() || !Modi2.isEmpty()) {
      Modi.clear();
      Modi2.clear();
      Link.clear();
      backToEditor();
    }
  } else if (k == Qt::Key_Return || k == Qt::Key_Enter) {
    Apri.start();
  } else {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

void ProjectManagerWindow::load() {
  main_->setProjectToolbarShown(true);
  main_->setManageProjectsEnabled(false);
  Aggiorna.start();
  Placement stored = main_->context().home.read_placement("Manager.ini");
  long top = std::max(stored.top().value_or(0), kMinimumTop);
  long width = stored.width().value_or(kDefaultWidth);
  long height = stored.height().value_or(kDefaultHeight);
  if (width < 1500) width = kDefaultWidth;
  if (height < 1500) height = kDefaultHeight;
  QSize client = main_->clientSize();
  QPoint at;
  if (!stored.left() || !stored.top()) {
    const int w = twipsToPxX(this, kDefaultWidth), h = twipsToPxY(this, kDefaultHeight);
    at = QPoint(std::max(0, (client.width() - w) / 2), std::max(0, (client.height() - h) / 4));
  } else {
    at = QPoint(twipsToPxX(this, *stored.left()), twipsToPxY(this, top));
  }
  main_->placeChild(this, QRect(at, QSize(twipsToPxX(this, width), twipsToPxY(this, height))));
  List1->setFocus();
}

void ProjectManagerWindow::layoutControls() {
  QRect outer = main_->childGeometry(this);
  QSize frame = outer.isValid() ? outer.size() : size();
  const int margin = twipsToPxX(this, 120);
  int listWidth = std::min(frame.width() - twipsToPxX(this, 350), width() - 2 * margin);
  int listHeight = std::min(frame.height() - twipsToPxY(this, 1200), height() - margin - twipsToPxY(this, 500));
  List1->setGeometry(margin, margin, std::max(listWidth, 50), std::max(listHeight, 50));
  int panelTop = List1->geometry().bottom() + 1 + twipsToPxY(this, 100);
  hintPanel_->setGeometry(margin, panelTop, List1->width(), std::max(20, height() - panelTop - margin / 2));
  Label1->setGeometry(hintPanel_->rect());
}

void ProjectManagerWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutControls();
}

void ProjectManagerWindow::paintEvent(QPaintEvent*) { paintTiledBackground(this, main_->context()); }

void ProjectManagerWindow::closeEvent(QCloseEvent* event) {
  if (!Modi.isEmpty() || !Modi2.isEmpty()) {
    event->ignore();
    backToEditor();
    if (!Modi.isEmpty()) Modi.clear(); else Modi2.clear();
    return;
  }
  // The editor first: it saves its text, and a failed save keeps the project open.
  if (RoomEditorWindow* editor = main_->editor(); editor && !main_->closeChild(editor)) {
    event->ignore();
    return;
  }
  main_->setProjectToolbarShown(false);
  main_->setManageProjectsEnabled(true);
  QRect r = main_->childGeometry(this);
  if (r.isValid())
    main_->context().home.write_placement("Manager.ini", pxToTwipsY(this, r.top()), pxToTwipsX(this, r.left()),
                                          pxToTwipsX(this, r.width()), pxToTwipsY(this, r.height()));
  if (!main_->closing() && !main_->startPage()) main_->openStartPageFresh();
  event->accept();
}

}  // namespace pm
