// The project manager window (see project_manager_window.h).
#include "rooms/project_manager_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStringList>

#include "base/text.h"
#include "editor/link_markup.h"
#include "editor/recovery_offer.h"
#include "project/help_pages.h"
#include "project/project_file.h"
#include "rooms/follow_link.h"
#include "rooms/room_list.h"
#include "rooms/room_operations.h"
#include "ui/editor_requests.h"
#include "ui/one_shot_timer.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"
#include "ui/shown_text.h"

namespace pm {

namespace {

const char* const kCaption = "Gestione Progetto";
const char* const kHint = "Enter o Doppio click sulla Stanza->Edita una Stanza | F4 Edita Descrizione";
const PlacementRule kPlacement{9600, 7200, true, Centring::Quarter};

// The main window's commands on F2 to F9, as its toolbar shows them.
Command keyCommand(int key) {
  switch (key) {
    case Qt::Key_F2: return Command::CreateRoom;
    case Qt::Key_F3: return Command::OpenRoom;
    case Qt::Key_F4: return Command::DescribeRoom;
    case Qt::Key_F5: return Command::EditStyleSheet;
    case Qt::Key_F6: return Command::GlobalCode;
    case Qt::Key_F7: return Command::Properties;
    case Qt::Key_F8: return Command::TestProject;
    case Qt::Key_F9: return Command::Compile;
    default: return Command::None;
  }
}

}  // namespace

ProjectManagerWindow::ProjectManagerWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "ProjectManager", kCaption, help::kProjectManager, kPlacement, "Manager.ini") {
  setFocusPolicy(Qt::ClickFocus);  // keys reach the window when nothing inside has the focus; no Tab stop

  roomList_ = new QListWidget(this);
  roomList_->setObjectName("List1");
  roomList_->setAccessibleName("Elenco delle Stanze");
  roomList_->setFont(typewriterFont(10));
  roomList_->setUniformItemSizes(true);
  roomList_->setSelectionMode(QAbstractItemView::SingleSelection);
  roomList_->setCursor(Qt::PointingHandCursor);
  roomList_->setContextMenuPolicy(Qt::CustomContextMenu);
  roomList_->installEventFilter(this);

  hintPanel_ = new QWidget(this);
  hintPanel_->setObjectName("HintPanel");
  hint_ = new QLabel(hintPanel_);
  hint_->setObjectName("Label1");
  hint_->setAccessibleDescription("Suggerimento");
  setShownText(hint_, kHint);
  hint_->setStyleSheet("color: #1d2a36; font-weight: 600;");

  menu_ = new QMenu(this);
  menu_->setObjectName("Menu1");
  auto add = [this](const char* name, const QString& text, void (ProjectManagerWindow::*action)()) {
    QAction* a = menu_->addAction(text);
    a->setObjectName(name);
    if (action) connect(a, &QAction::triggered, this, action);
    return a;
  };
  add("MenuTesta", "Testa il progetto da qui...", &ProjectManagerWindow::testFromSelected);
  menu_->addSeparator();
  QAction* create = add("MenuCrea", "Crea Stanza...", nullptr);
  connect(create, &QAction::triggered, this, [this] { owner()->sendCommand(Command::CreateRoom); });
  add("MenuApri", "Apri Stanza", &ProjectManagerWindow::openFromMenu);
  QAction* describe = add("MenuDescrizione", "Descrizione a Stanza...", nullptr);
  connect(describe, &QAction::triggered, this, [this] { EditaStanza.start(); });
  add("MenuDuplica", "Duplica Stanza...", &ProjectManagerWindow::duplicateSelected);
  add("MenuElimina", "Elimina Stanza", &ProjectManagerWindow::deleteSelected);
  QAction* versions = add("MenuVersioni", "Versioni precedenti...", nullptr);
  connect(versions, &QAction::triggered, this, [this] {
    if (const std::string n = selectedNumber(); !n.empty()) owner()->openVersions(Percorso, fromNameBytes(n));
  });
  QAction* trash = add("MenuCestino", "Cestino...", nullptr);
  connect(trash, &QAction::triggered, this, [this] { owner()->openTrash(); });
  menu_->addSeparator();
  QAction* check = add("MenuVerifica", "Verifica del libro...", nullptr);
  connect(check, &QAction::triggered, this, [this] { owner()->sendCommand(Command::BookCheck); });
  menu_->addSeparator();
  add("MenuChiudi", "Chiudi", nullptr);

  startOnce(Aggiorna, 100, this, [this] { rebuildList(); });
  startOnce(Apri, 100, this, [this] { openSelected(); });
  startOnce(EditaStanza, 100, this, [this] { editDescription(); });
  startOnce(Compila, 100, this, [this] { compileFromFirst(&ManagerRequests::CompilaTutto); });
  startOnce(Compila2, 100, this, [this] { compileFromFirst(&ManagerRequests::CompilaTutto2); });
  SegLink.setInterval(kFollowLinkRetryMs);
  // Following a link: retried at a sane pace until the target room's text holds a line (or
  // a new request replaces the target); a room that stays missing or empty is given up
  // after a few seconds, with a message naming it. A target naming no file of the project
  // is dropped.
  connect(&SegLink, &QTimer::timeout, this, [this] {
    const std::string target = toNameBytes(SeguiLink);
    const FollowLinkRetry::Step step = segLinkRetry_.tick(toPath(Percorso), target);
    if (step == FollowLinkRetry::Step::Wait) return;
    SegLink.stop();
    if (step == FollowLinkRetry::Step::GiveUp) tell(follow_link_missing_message(target), MessageIcon::Warning);
    if (step != FollowLinkRetry::Step::Open) return;
    EditorRequests* editor = openRoom(target);
    if (editor && followedFromEditor) editor->SeguiLk.start();
  });

  connect(roomList_, &QListWidget::itemDoubleClicked, this, [this] { chooseByDoubleClick(); });
  connect(roomList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!rebuilding_ && row >= 0) Posi = QString::number(row);
  });
  connect(roomList_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { menu_->popup(roomList_->viewport()->mapToGlobal(pos)); });

  // The project toolbar comes with the project, before the window is first shown and
  // placed: it takes its height from the work area.
  owner()->setProjectToolbarShown(true);
  owner()->setManageProjectsEnabled(false);
}

ProjectManagerWindow::~ProjectManagerWindow() = default;

Project ProjectManagerWindow::project() const { return Project(toPath(Percorso), toNameBytes(Nome)); }

// ---- the list -------------------------------------------------------------------------------

void ProjectManagerWindow::rebuildList() {
  rebuilding_ = true;
  showProjectCaption();
  roomList_->clear();
  entries_ = build_room_list(project());
  QStringList items;
  items.reserve(int(entries_.size()));
  for (const auto& e : entries_) items << fromFileText(e);
  roomList_->addItems(items);
  int target = 0;
  if (!Posi.isEmpty()) {
    bool ok = false;
    target = Posi.trimmed().toInt(&ok);
    if (!ok) target = -1;
  }
  if (target >= 0 && target < roomList_->count()) {
    roomList_->setCurrentRow(target);
    roomList_->scrollToItem(roomList_->item(target));
  } else {
    roomList_->setCurrentRow(-1);
    roomList_->clearSelection();
  }
  rebuilding_ = false;
  owner()->setRoomCounter(roomList_->count());
  owner()->setSkipStartPage(project().read_fields().skip_start_page());
  owner()->setHelpTooltip("F1 - Leggi la guida al programma");
  if (!recoveriesOffered_) {
    recoveriesOffered_ = true;
    offerRecoveries();
  }
}

void ProjectManagerWindow::offerRecoveries() {
  const stdfs::path book = toPath(Percorso);
  const Recoveries found = find_recoveries(book);
  if (!found.damaged.empty()) tell(error_list_message("Alcuni file di recupero sono danneggiati:", found.damaged), MessageIcon::Warning);
  for (const Recovery& r : found.found) {
    const bool yes = context().prompts->ask_yes_no(recovery_question(book, r), "Recupero del testo non salvato");
    const Status done = yes ? accept_recovery(book, r) : decline_recovery(book, r);
    if (!done.ok()) tell(done.message(), MessageIcon::Critical);
  }
}

// Also the end of a target choice: the hint goes back to the list's own.
void ProjectManagerWindow::showProjectCaption() {
  setWindowTitle("Gestione del Progetto \"" + Nome + "\"");
  setShownText(hint_, kHint);
}

void ProjectManagerWindow::showTargetPrompt(const QString& message) {
  setWindowTitle(message);
  setShownText(hint_, message);
  roomList_->setFocus();
}

int ProjectManagerWindow::selectedRow() const {
  const auto items = roomList_->selectedItems();
  return items.isEmpty() ? -1 : roomList_->row(items.first());
}

QString ProjectManagerWindow::selectedEntry() const {
  int row = selectedRow();
  return row < 0 ? QString() : roomList_->item(row)->text();
}

std::string ProjectManagerWindow::selectedNumber() const {
  int row = selectedRow();
  if (row < 0 || size_t(row) >= entries_.size()) return {};
  return split_room_entry(entries_[size_t(row)]).number;
}

std::vector<std::string> ProjectManagerWindow::roomNumbers() const { return room_numbers(entries_); }

int ProjectManagerWindow::entryCount() const { return roomList_->count(); }

// ---- choosing and opening rooms -------------------------------------------------------------

void ProjectManagerWindow::insertLink(const std::string& number) {
  EditorRequests* editor = owner()->editor();
  if (!editor) return;
  editor->replaceSelection(fromUtf8(link_markup(number, editor->selectedText().toStdString())));
}

bool ProjectManagerWindow::insertRedirect(const std::string& number) {
  auto seconds = context().prompts->input(std::string(kSecondsPrompt), std::string(kSecondsTitle), "0");
  if (!seconds || seconds->empty()) return false;
  if (EditorRequests* editor = owner()->editor()) editor->replaceSelection(fromUtf8(timer_markup(number, *seconds)));
  return true;
}

void ProjectManagerWindow::backToEditor() {
  setShownText(hint_, kHint);
  if (EditorRequests* editor = owner()->editor()) owner()->showChild(editor->widget(), true);
  owner()->showChild(this, false);
}

EditorRequests* ProjectManagerWindow::openRoom(const std::string& number) {
  EditorRequests* editor = owner()->openEditorFresh();
  if (!editor) return nullptr;
  editor->Percorso = Percorso;
  editor->Nome = fromNameBytes(number);
  owner()->showChild(this, false);
  return editor;
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
    openRoom(number);
  }
}

void ProjectManagerWindow::refuse(const char* message) {
  tell(message, MessageIcon::Information);
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
  auto answer = context().prompts->input("Descrizione della Stanza:", "Sintesi della Stanza",
                                                fromFileText(description_line(old)).toStdString());
  if (!answer || answer->empty()) return;
  RoomResult r = describe_room(p, number, toFileText(QString::fromStdString(*answer), book_encoding(p.folder())));
  if (!r.status.ok()) tell(r.status.message(), MessageIcon::Critical);
  Aggiorna.start();
}

void ProjectManagerWindow::duplicateSelected() {
  if (selectedRow() < 0) return;
  std::string source = selectedNumber();
  Project p = project();
  std::string old = p.read_description_bytes(source);
  QString proposed = fromFileText(description_line(old));
  if (!NomeLink.isEmpty()) {
    EditorRequests* editor = owner()->editor();
    proposed = editor ? editor->selectedText() : QString();
    NomeLink.clear();
  }
  auto answer = context().prompts->input("Duplicazione di una nuova Stanza. Descrizione della Stanza:",
                                                "Creazione della Stanza", proposed.toStdString());
  if (!answer || answer->empty()) return;
  RoomResult r =
      duplicate_room(p, source, size_t(entryCount()), toFileText(QString::fromStdString(*answer), book_encoding(p.folder())));
  if (!r.status.ok()) tell(r.status.message(), MessageIcon::Critical);
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
  if (!context().prompts->ask_yes_no(question, "Eliminazione della stanza")) return;
  RoomResult r = delete_room(project(), number);
  if (!r.status.ok()) tell(r.status.message(), MessageIcon::Critical);
  Aggiorna.start();
}

void ProjectManagerWindow::testFromSelected() {
  if (Link == "1") {
    refuse("Non è possibile fare il Test in questo momento. Scegli una Stanza di destinazione.");
    return;
  }
  if (selectedRow() < 0) return;
  if (EditorRequests* editor = openRoom(selectedNumber())) editor->Compila.start();
}

void ProjectManagerWindow::compileFromFirst(QString ManagerRequests::*flag) {
  if (roomList_->count() == 0) return;
  roomList_->setCurrentRow(0);
  if (selectedEntry().isEmpty()) return;
  EditorRequests* editor = openRoom(selectedNumber());
  if (!editor) return;
  this->*flag = "1";
  editor->Compila.start();
}

// ---- keys, placement, painting, closing -----------------------------------------------------

bool ProjectManagerWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == roomList_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const int k = key->key();
    // The menu from the keyboard, beside the selected room, wherever the platform does not
    // turn these keys into a context-menu request itself.
    if ((k == Qt::Key_Menu && key->modifiers() == Qt::NoModifier) ||
        (k == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
      QListWidgetItem* item = roomList_->currentItem();
      const QRect at = item ? roomList_->visualItemRect(item) : QRect();
      menu_->popup(roomList_->viewport()->mapToGlobal(at.isValid() ? at.bottomLeft() : QPoint()));
      return true;
    }
    if (k == Qt::Key_F1 || keyCommand(k) != Command::None || k == Qt::Key_Escape || k == Qt::Key_Return ||
        k == Qt::Key_Enter) {
      keyPressEvent(key);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void ProjectManagerWindow::keyPressEvent(QKeyEvent* event) {
  const int k = event->key();
  const Command command = keyCommand(k);
  if (k == Qt::Key_F1) {
    commonKey(k);
  } else if (command == Command::CreateRoom) {
    owner()->sendCommand(command);
  } else if (command != Command::None) {
    // While a target room is being chosen only a new room may be made.
    if (Link.isEmpty()) owner()->sendCommand(command);
  } else if (k == Qt::Key_Escape) {
    if (!Modi.isEmpty() || !Modi2.isEmpty()) {
      clearTargetChoice();
      backToEditor();
    }
  } else if (k == Qt::Key_Return || k == Qt::Key_Enter) {
    Apri.start();
  } else {
    ChildWindow::keyPressEvent(event);
    return;
  }
  event->accept();
}

void ProjectManagerWindow::load() {
  Aggiorna.start();
  roomList_->setFocus();
}

void ProjectManagerWindow::layoutControls() {
  QRect outer = owner()->childGeometry(this);
  QSize frame = outer.isValid() ? outer.size() : size();
  const int margin = twipsToPxX(this, 120);
  int listWidth = std::min(frame.width() - twipsToPxX(this, 350), width() - 2 * margin);
  int listHeight = std::min(frame.height() - twipsToPxY(this, 1200), height() - margin - twipsToPxY(this, 500));
  roomList_->setGeometry(margin, margin, std::max(listWidth, 50), std::max(listHeight, 50));
  int panelTop = roomList_->geometry().bottom() + 1 + twipsToPxY(this, 100);
  hintPanel_->setGeometry(margin, panelTop, roomList_->width(), std::max(20, height() - panelTop - margin / 2));
  hint_->setGeometry(hintPanel_->rect());
}

void ProjectManagerWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutControls();
}

bool ProjectManagerWindow::onClose() {
  if (!Modi.isEmpty() || !Modi2.isEmpty()) {
    backToEditor();
    clearTargetChoice();
    return false;
  }
  // The editor first: it saves its text, and a failed save keeps the project open.
  if (EditorRequests* editor = owner()->editor(); editor && !owner()->closeChild(editor->widget())) return false;
  owner()->setProjectToolbarShown(false);
  owner()->setManageProjectsEnabled(true);
  if (!owner()->closing() && !owner()->startPageOpen()) owner()->openStartPageFresh();
  return true;
}

}  // namespace pm
