// The settings window (see settings_window.h).
#include "shell/settings_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/version.h"
#include "project/help_pages.h"
#include "ui/qt_icons.h"
#include "ui/qt_measure.h"

namespace pm {

namespace {
const PlacementRule kPlacement{7200, 4200, false, Centring::Quarter};
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
  column->addStretch(1);
  column->addWidget(date);
  column->addWidget(product);
}

void SettingsWindow::openExtraFile(const char* name) {
  const ProgramFolder& home = context().home;
  context().platform->open_text_file(path_text(resolve(home.file("Extra"), name)));
}

void SettingsWindow::openUserHelp() { openExtraFile("Help.txt"); }
void SettingsWindow::openReadMe() { openExtraFile("ReadMe.txt"); }

bool SettingsWindow::onClose() {
  owner()->setManageProjectsEnabled(true);
  owner()->setProjectToolbarEnabled(true);
  return true;
}

}  // namespace pm
