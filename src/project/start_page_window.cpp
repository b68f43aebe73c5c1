// The start page (see start_page_window.h).
#include "project/start_page_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "project/project_creation.h"
#include "ui/accessibility.h"
#include "ui/manager_requests.h"
#include "project/help_pages.h"
#include "ui/qt_drives.h"
#include "ui/qt_icons.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {

const PlacementRule kPlacement{9000, 6600, false, Centring::Quarter};

// A label that acts like a link: flat, underlined, a pointing hand.
QPushButton* linkButton(const QString& text, const char* name, QWidget* parent, int points = 0) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setFlat(true);
  b->setCursor(Qt::PointingHandCursor);
  b->setAccessibleName(text);
  b->setStyleSheet(QString("QPushButton { color: #0b4f8a; text-decoration: underline; border: none;"
                           " background: transparent; padding: 2px 4px; text-align: left;%1 }"
                           "QPushButton:hover { color: #c0621a; }"
                           "QPushButton:focus { outline: 1px dotted #0b4f8a; }")
                       .arg(points > 0 ? QString(" font-size: %1pt; font-weight: 600;").arg(points) : QString()));
  return b;
}

}  // namespace

StartPageWindow::StartPageWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "StartPage", "Gestione Progetti", help::kStartPage, kPlacement) {

  createButton_ = new QPushButton("&Crea Progetto", this);
  createButton_->setObjectName("Command1");
  createButton_->setAccessibleName("Crea Progetto");
  openButton_ = new QPushButton("&Apri Progetto", this);
  openButton_->setObjectName("Command2");
  openButton_->setAccessibleName("Apri Progetto");
  for (QPushButton* b : {createButton_, openButton_}) {
    b->setMinimumHeight(twipsToPxY(this, 450));
    b->setMinimumWidth(twipsToPxX(this, 2000));
    b->setCursor(Qt::PointingHandCursor);
  }
  connect(createButton_, &QPushButton::clicked, this, &StartPageWindow::showCreatePanel);
  connect(openButton_, &QPushButton::clicked, this, &StartPageWindow::showOpenPanel);

  panels_ = new QStackedWidget(this);
  createPanel_ = buildCreatePanel();
  openPanel_ = buildOpenPanel();
  panels_->addWidget(createPanel_);
  panels_->addWidget(openPanel_);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(createButton_);
  buttons->addWidget(openButton_);
  buttons->addStretch(1);
  auto* column = new QVBoxLayout(this);
  column->addLayout(buttons);
  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  column->addWidget(rule);
  column->addWidget(panels_, 1);
}

StartPageWindow::~StartPageWindow() = default;

QWidget* StartPageWindow::buildCreatePanel() {
  auto* panel = new QWidget;
  panel->setObjectName("Frame1");
  const int big = twipsToPxX(this, 1080), small = twipsToPxX(this, 480);

  auto* picture = pictureButton(panel, "Image1", icon(IconKind::NewProject), "Nuovo Progetto", QSize(big, big));
  auto* label = linkButton("Nuovo Progetto", "Label1", panel, 16);
  makeDecorativeTwin(picture);
  connect(picture, &QToolButton::clicked, this, &StartPageWindow::createProject);
  connect(label, &QPushButton::clicked, this, &StartPageWindow::createProject);
  auto* create = new QHBoxLayout;
  create->addStretch(1);
  create->addWidget(picture);
  create->addWidget(label);
  create->addStretch(1);

  struct HelpLink {
    IconKind kind;
    const char* text;
    const char* name;
    const char* pictureName;
    std::string_view page;
  };
  const HelpLink links[] = {
      {IconKind::FirstSteps, "Primi Passi", "Label2", "Image2", help::kStartPage},
      {IconKind::VideoGuide, "Video Guida", "Label3", "Image3", help::kTutorial},
      {IconKind::Lifebuoy, "Aiuto", "Label4", "Image4", help::kRoot},
  };
  auto* help = new QHBoxLayout;
  help->addStretch(1);
  for (const HelpLink& l : links) {
    auto* p = pictureButton(panel, l.pictureName, icon(l.kind), l.text, QSize(small, small));
    auto* t = linkButton(l.text, l.name, panel);
    makeDecorativeTwin(p);
    std::string_view target = l.page;
    connect(p, &QToolButton::clicked, this, [this, target] { owner()->openHelp(target); });
    connect(t, &QPushButton::clicked, this, [this, target] { owner()->openHelp(target); });
    help->addWidget(p);
    help->addWidget(t);
    help->addSpacing(twipsToPxX(this, 240));
  }
  help->addStretch(1);

  auto* column = new QVBoxLayout(panel);
  column->addStretch(2);
  column->addLayout(create);
  column->addStretch(3);
  column->addLayout(help);
  column->addStretch(1);
  return panel;
}

QWidget* StartPageWindow::buildOpenPanel() {
  auto* panel = new QWidget;
  panel->setObjectName("Frame2");

  driveList_ = new QComboBox(panel);
  driveList_->setObjectName("Drive1");
  driveList_->setAccessibleName("Unità");
  driveList_->setToolTip("Unità");
  connect(driveList_, &QComboBox::activated, this, [this](int i) { setCurrentFolder(driveList_->itemData(i).toString()); });

  path_ = new QLabel(panel);
  path_->setObjectName("Path");
  exposeChangingLabel(path_, "Cartella corrente");
  path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  path_->setWordWrap(true);
  auto* up = new QToolButton(panel);
  up->setObjectName("Up");
  up->setIcon(icon(IconKind::FolderUp));
  up->setIconSize(QSize(twipsToPxX(this, 360), twipsToPxY(this, 360)));
  up->setAutoRaise(true);
  up->setCursor(Qt::PointingHandCursor);
  up->setToolTip("Cartella superiore");
  up->setAccessibleName("Cartella superiore");
  connect(up, &QToolButton::clicked, this, &StartPageWindow::goUp);

  model_ = new QFileSystemModel(this);
  model_->setReadOnly(true);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  folderList_ = new QListView(panel);
  folderList_->setObjectName("Dir1");
  folderList_->setAccessibleName("Cartelle");
  folderList_->setModel(model_);
  folderList_->setUniformItemSizes(true);
  folderList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  folderList_->setSelectionMode(QAbstractItemView::SingleSelection);
  folderList_->installEventFilter(this);
  connect(folderList_, &QListView::doubleClicked, this, [this] { enterSelected(); });
  connect(model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
    if (selectLastPending_ && QDir::cleanPath(loaded) == current_) QTimer::singleShot(0, this, [this] { selectLastEntry(); });
  });

  auto* hint = new QLabel("Doppio click sulla cartella per aprire il progetto", panel);
  hint->setObjectName("Label5");
  hint->setAccessibleName(hint->text());
  hint->setStyleSheet("font-weight: 600; color: #1d2a36;");

  auto* goTo = new QLabel("Vai in:", panel);
  goTo->setObjectName("Label6");
  goTo->setAccessibleName(goTo->text());
  auto* projects = linkButton("Progetti", "Label7", panel);
  projects->setToolTip("Torna alla Cartella Progetti del programma");
  auto* desktop = linkButton("Desktop", "Label8", panel);
  desktop->setToolTip("Va nella Desktop");
  connect(projects, &QPushButton::clicked, this, &StartPageWindow::goToProjects);
  connect(desktop, &QPushButton::clicked, this, &StartPageWindow::goToDesktop);
  auto* last = new QPushButton("&L'ultimo progetto caricato", panel);
  last->setObjectName("Command3");
  last->setAccessibleName("L'ultimo progetto caricato");
  last->setCursor(Qt::PointingHandCursor);
  connect(last, &QPushButton::clicked, this, &StartPageWindow::openLastProject);

  auto* links = new QHBoxLayout;
  links->addWidget(goTo);
  links->addWidget(projects);
  links->addWidget(desktop);
  links->addStretch(1);
  links->addWidget(last);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(driveList_);
  auto* where = new QHBoxLayout;
  where->addWidget(up);
  where->addWidget(path_, 1);
  column->addLayout(where);
  column->addWidget(folderList_, 1);
  column->addWidget(hint);
  column->addLayout(links);
  return panel;
}

void StartPageWindow::load() {
  owner()->setHelpTooltip("F1 - Leggi la guida al programma");
  fillDriveList(driveList_);
  selectLastPending_ = true;
  showOpenPanel();
  goToProjects();
}

// ---- panels ---------------------------------------------------------------------------------

// The button of the panel on show in bold, the other one plain.
static void emphasise(QPushButton* shown, QPushButton* other) {
  QFont bold = shown->font(), plain = other->font();
  bold.setBold(true);
  plain.setBold(false);
  shown->setFont(bold);
  other->setFont(plain);
}

void StartPageWindow::showCreatePanel() {
  panels_->setCurrentWidget(createPanel_);
  emphasise(createButton_, openButton_);
}

void StartPageWindow::showOpenPanel() {
  panels_->setCurrentWidget(openPanel_);
  emphasise(openButton_, createButton_);
  folderList_->setFocus();
}

// ---- navigation -------------------------------------------------------------------------------

void StartPageWindow::setCurrentFolder(const QString& folder) {
  if (folder.isEmpty()) return;
  QFileInfo info(folder);
  if (!info.isDir()) return;
  QString f = QDir::cleanPath(info.absoluteFilePath());
  current_ = f;
  model_->setRootPath(f);
  folderList_->setRootIndex(model_->index(f));
  path_->setText(QDir::toNativeSeparators(f));
  selectDriveOf(driveList_, f);
  openIfProject(f);
}

void StartPageWindow::enterSelected() {
  QModelIndex index = folderList_->currentIndex();
  if (!index.isValid() || !folderList_->selectionModel()->isSelected(index)) return;
  setCurrentFolder(model_->filePath(index));
}

void StartPageWindow::goUp() {
  QDir up(current_);
  if (!current_.isEmpty() && up.cdUp()) setCurrentFolder(up.absolutePath());
}

void StartPageWindow::goToProjects() {
  QString projects = fromPath(context().home.projects());
  if (!QFileInfo(projects).isDir()) projects = fromPath(context().home.home());
  setCurrentFolder(projects);
}

void StartPageWindow::goToDesktop() {
  std::string desktop = context().platform->desktop_folder();
  if (!desktop.empty()) setCurrentFolder(QString::fromStdString(desktop));
}

void StartPageWindow::openLastProject() {
  auto last = context().home.read_last_project();
  if (last) setCurrentFolder(fromNameBytes(*last));
}

void StartPageWindow::selectLastEntry() {
  if (!selectLastPending_) return;
  QModelIndex root = folderList_->rootIndex();
  int rows = model_->rowCount(root);
  if (rows <= 0) return;
  selectLastPending_ = false;
  model_->sort(0, Qt::AscendingOrder);
  QModelIndex last = model_->index(rows - 1, 0, root);
  folderList_->setCurrentIndex(last);
  folderList_->scrollTo(last);
}

bool StartPageWindow::openIfProject(const QString& folder) {
  auto ref = check_project_folder(toPath(folder));
  if (!ref) return false;
  ManagerRequests* manager = owner()->openManagerFresh();
  if (!manager) return false;
  // Last.ini only spares the author a few clicks next time: when it cannot be written the
  // project still opens, and "L'ultimo progetto caricato" goes to the one before.
  (void)context().home.write_last_project(path_text(ref->folder));
  manager->Percorso = folder;
  manager->Nome = fromNameBytes(ref->name);
  if (!closed_) owner()->closeChild(this);
  return true;
}

// ---- creation -----------------------------------------------------------------------------------

void StartPageWindow::createProject() {
  auto answer = context().prompts->input("Titolo:", "Creazione di un nuovo progetto", "");
  std::string title = answer.value_or("");
  CreationResult r = create_project(toPath(current_), title, context().home.home());
  if (!r.status.ok()) {
    bool expected = r.status.kind() == StatusKind::NoTitle || r.status.kind() == StatusKind::NameExists;
    tell(r.status.message(), expected ? MessageIcon::Information : MessageIcon::Critical);
    return;
  }
  setCurrentFolder(fromPath(r.folder));
  if (closed_) return;
  showOpenPanel();
  owner()->closeChild(this);
}

// ---- keys, painting, closing ------------------------------------------------------------------

bool StartPageWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == folderList_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      enterSelected();
      return true;
    }
    if (key->key() == Qt::Key_Backspace) {
      goUp();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool StartPageWindow::onClose() {
  closed_ = true;
  owner()->setHelpTooltip("Leggi la guida al programma");
  return true;
}

}  // namespace pm
