// The settings window (see settings_window.h).
#include "shell/settings_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "base/version.h"
#include "project/book_history.h"
#include "project/help_pages.h"
#include "ui/qt_icons.h"
#include "ui/qt_measure.h"

namespace pm {

namespace {
const PlacementRule kPlacement{7800, 5400, false, Centring::Quarter};
const char* const kProductAndAuthor = "Pagimond - strumento per creare libri gioco interattivi per il web";
}  // namespace

SettingsWindow::SettingsWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "Settings", "Impostazioni Generali", help::kSettings, kPlacement) {

  auto* heading = new QLabel("Impostazione Files di Distribuzione", this);
  heading->setObjectName("Label1");
  heading->setAccessibleName(heading->text());
  heading->setStyleSheet("font-size: 12pt; font-weight: 700; color: #1d2a36;");

  auto row = [this](const QString& text, const char* labelName, const char* pictureName, const QString& tip,
                    void (SettingsWindow::*action)(), QGridLayout* grid, int r) {
    auto* picture = pictureButton(this, pictureName, icon(IconKind::TextFile), tip,
                                  QSize(twipsToPxX(this, 480), twipsToPxY(this, 480)));
    auto* label = new QPushButton(text, this);
    label->setObjectName(labelName);
    label->setFlat(true);
    label->setCursor(Qt::PointingHandCursor);
    label->setAccessibleName(text);
    label->setStyleSheet("QPushButton { color: #0b4f8a; text-decoration: underline; border: none;"
                         " background: transparent; text-align: left; padding: 2px 4px; }"
                         "QPushButton:hover { color: #c0621a; }");
    connect(picture, &QToolButton::clicked, this, action);
    connect(label, &QPushButton::clicked, this, action);
    grid->addWidget(picture, r, 0);
    grid->addWidget(label, r, 1);
  };
  auto* grid = new QGridLayout;
  grid->setColumnStretch(2, 1);
  row("File Aiuto Utente", "Label2", "Image1", "Personalizza il file di aiuto", &SettingsWindow::openUserHelp, grid, 0);
  row("File ReadMe", "Label3", "Image2", "Personalizza il file ReadMe", &SettingsWindow::openReadMe, grid, 1);

  // The book's history: kept or not, and its two bounds; saved in Versioni.ini at once.
  auto* historyHeading = new QLabel("Versioni precedenti dei libri", this);
  historyHeading->setObjectName("Label6");
  historyHeading->setAccessibleName(historyHeading->text());
  historyHeading->setStyleSheet(heading->styleSheet());
  const HistoryPolicy policy = read_history_policy(context().home.home());
  historyOn_ = new QCheckBox("Conserva le versioni precedenti e le Stanze eliminate", this);
  historyOn_->setToolTip("Nella cartella Versioni di ogni progetto");
  historyOn_->setObjectName("Check1");
  historyOn_->setAccessibleName(historyOn_->text());
  historyOn_->setChecked(policy.enabled);
  perFile_ = new QSpinBox(this);
  perFile_->setObjectName("Versioni");
  perFile_->setRange(1, 1000);
  perFile_->setValue(int(std::min<size_t>(policy.versions_per_file, 1000)));
  perBook_ = new QSpinBox(this);
  perBook_->setObjectName("Dimensione");
  perBook_->setRange(1, 100000);
  perBook_->setSuffix(" MB");
  perBook_->setValue(int(std::min<uint64_t>(policy.bytes_per_book >> 20, 100000)));
  auto* historyGrid = new QGridLayout;
  historyGrid->setColumnStretch(2, 1);
  auto bound = [this, historyGrid](const QString& text, QSpinBox* box, int r) {
    auto* label = new QLabel(text, this);
    label->setBuddy(box);
    box->setAccessibleName(text);
    historyGrid->addWidget(label, r, 0);
    historyGrid->addWidget(box, r, 1);
  };
  bound("Versioni conservate per file:", perFile_, 0);
  bound("Spazio massimo per libro:", perBook_, 1);
  connect(historyOn_, &QCheckBox::toggled, this, &SettingsWindow::saveHistorySettings);
  connect(perFile_, &QSpinBox::valueChanged, this, &SettingsWindow::saveHistorySettings);
  connect(perBook_, &QSpinBox::valueChanged, this, &SettingsWindow::saveHistorySettings);

  auto* date = new QLabel("Versione " + QString::fromUtf8(version_text()) + " - dicembre 2026", this);
  date->setObjectName("Label4");
  date->setAccessibleName(date->text());
  auto* product = new QLabel(kProductAndAuthor, this);
  product->setObjectName("Label5");
  product->setAccessibleName(product->text());
  product->setWordWrap(true);
  for (QLabel* l : {date, product}) l->setStyleSheet("color: #3b4b5a;");

  auto* column = new QVBoxLayout(this);
  column->addWidget(heading);
  column->addSpacing(twipsToPxY(this, 120));
  column->addLayout(grid);
  column->addSpacing(twipsToPxY(this, 240));
  column->addWidget(historyHeading);
  column->addWidget(historyOn_);
  column->addLayout(historyGrid);
  column->addStretch(1);
  column->addWidget(date);
  column->addWidget(product);
}

void SettingsWindow::openExtraFile(const char* name) {
  const ProgramFolder& home = context().home;
  context().platform->open_text_file(path_text(resolve(home.file("Extra"), name)));
}

void SettingsWindow::saveHistorySettings() {
  HistoryPolicy p;
  p.enabled = historyOn_->isChecked();
  p.versions_per_file = size_t(perFile_->value());
  p.bytes_per_book = uint64_t(perBook_->value()) << 20;
  set_history_policy(p);
  if (Status s = write_history_policy(context().home.home(), p); !s.ok()) tell(s.message(), MessageIcon::Critical);
}

void SettingsWindow::openUserHelp() { openExtraFile("Help.txt"); }
void SettingsWindow::openReadMe() { openExtraFile("ReadMe.txt"); }

bool SettingsWindow::onClose() {
  owner()->setManageProjectsEnabled(true);
  owner()->setProjectToolbarEnabled(true);
  return true;
}

}  // namespace pm
