// The settings window (see settings_window.h).
#include "shell/settings_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "shell/help_pages.h"
#include "shell/main_window.h"
#include "shell/qt_icons.h"
#include "shell/qt_measure.h"
#include "shell/qt_tiled_background.h"

namespace pm {

namespace {
const long kWidth = 7200, kHeight = 4200;
const char* const kReleaseDate = "Versione 2.00 - dicembre 2026";
const char* const kProductAndAuthor = "Pagimond - strumento per creare libri gioco interattivi per il web";
}  // namespace

SettingsWindow::SettingsWindow(MainWindow* main, QWidget* parent) : QWidget(parent), main_(main) {
  setObjectName("Settings");
  setWindowTitle("Impostazioni Generali");

  auto* heading = new QLabel("Impostazione Files di Distribuzione", this);
  heading->setObjectName("Label1");
  heading->setAccessibleName(heading->text());
  heading->setStyleSheet("font-size: 12pt; font-weight: 700; color: #1d2a36;");

  auto row = [this](const QString& text, const char* labelName, const char* pictureName, const QString& tip,
                    void (SettingsWindow::*action)(), QGridLayout* grid, int r) {
    auto* picture = new QToolButton(this);
    picture->setObjectName(pictureName);
    picture->setIcon(icon(IconKind::TextFile));
    picture->setIconSize(QSize(twipsToPxX(this, 480), twipsToPxY(this, 480)));
    picture->setAutoRaise(true);
    picture->setCursor(Qt::PointingHandCursor);
    picture->setToolTip(tip);
    picture->setAccessibleName(tip);
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

  auto* date = new QLabel(kReleaseDate, this);
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

void SettingsWindow::load() {
  QSize client = main_->clientSize();
  const int w = twipsToPxX(this, kWidth), h = twipsToPxY(this, kHeight);
  main_->placeChild(this, QRect(std::max(0, (client.width() - w) / 2), std::max(0, (client.height() - h) / 4), w, h));
}

void SettingsWindow::openExtraFile(const char* name) {
  const ProgramFolder& home = main_->context().home;
  main_->context().platform->open_text_file(path_text(resolve(home.file("Extra"), name)));
}

void SettingsWindow::openUserHelp() { openExtraFile("Help.txt"); }
void SettingsWindow::openReadMe() { openExtraFile("ReadMe.txt"); }

void SettingsWindow::keyPressEvent(QKeyEvent* event) {
  if (main_->childWindowKey(this, event->key(), help::kSettings))
    event->accept();
  else
    QWidget::keyPressEvent(event);
}

void SettingsWindow::paintEvent(QPaintEvent*) { paintTiledBackground(this, main_->context()); }

void SettingsWindow::closeEvent(QCloseEvent* event) {
  main_->setManageProjectsEnabled(true);
  main_->setProjectToolbarEnabled(true);
  event->accept();
}

}  // namespace pm
