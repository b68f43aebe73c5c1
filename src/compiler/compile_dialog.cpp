// The compile dialog (see compile_dialog.h).
#include "compiler/compile_dialog.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "rooms/project_manager_window.h"
#include "shell/help_pages.h"
#include "shell/main_window.h"
#include "shell/qt_measure.h"
#include "shell/qt_tiled_background.h"

namespace pm {

namespace {
const long kWidth = 8400, kHeight = 5600;
}

CompileDialog::CompileDialog(MainWindow* main, QWidget* parent) : QWidget(parent), main_(main) {
  setObjectName("CompileDialog");
  setWindowTitle("Compilazione di un progetto");
  setFocusPolicy(Qt::StrongFocus);

  auto* heading = new QLabel("Compila il progetto e distribuiscilo", this);
  heading->setObjectName("Label1");
  heading->setFont(heavyFont(14));
  auto* sub = new QLabel("Crea un progetto in formato eseguibile.", this);
  sub->setObjectName("Label2");
  QFont subFont = sub->font();
  subFont.setBold(true);
  sub->setFont(subFont);
  auto* note = new QLabel("Questo modulo compilerà il tuo progetto rendendolo completamente indipendente ed "
                          "autonomo da Pagimond",
                          this);
  note->setObjectName("Label3");
  note->setWordWrap(true);
  for (QLabel* l : {heading, sub, note}) l->setStyleSheet("color: #1d2a36;");

  // Each option: a radio button and its caption as a word-wrapped label that also selects it.
  const char* names[] = {"Option1", "Option2", "Option3"};
  const QString captions[] = {
      "Compila un progetto in Exe con setup automatico (Solo per Windows).",
      "Compila un progetto senza setup automatico. Per Internet, Windows, Debian, Ubuntu, Mint, iPhone, iPod, "
      "Android, ect...",
      "Compila in un unico file. Per Internet, Windows, Debian, Ubuntu, Mint, iPhone, iPod, Android, ect..."};
  QWidget* rows[3];
  auto* group = new QButtonGroup(this);  // the options sit in separate rows: one group keeps them exclusive
  for (int i = 0; i < 3; ++i) {
    rows[i] = new QWidget(this);
    auto* row = new QHBoxLayout(rows[i]);
    row->setContentsMargins(0, 0, 0, 0);
    auto* option = new QRadioButton(rows[i]);
    option->setObjectName(names[i]);
    option->setAccessibleName(captions[i]);
    auto* caption = new QLabel(captions[i], rows[i]);
    caption->setObjectName(QString(names[i]) + "Caption");
    caption->setWordWrap(true);
    caption->setStyleSheet("color: #1d2a36;");
    caption->setCursor(Qt::PointingHandCursor);
    caption->installEventFilter(this);
    captions_[i] = caption;
    row->addWidget(option, 0, Qt::AlignTop);
    row->addWidget(caption, 1);
    group->addButton(option, i + 1);
    (i == 0 ? Option1 : i == 1 ? Option2 : Option3) = option;
  }
  Option1->setChecked(true);

  Command1 = new QPushButton("Avvia compilatore", this);
  Command1->setObjectName("Command1");
  Command1->setAccessibleName(Command1->text());
  Command1->setDefault(true);
  connect(Command1, &QPushButton::clicked, this, &CompileDialog::start);

  auto* column = new QVBoxLayout(this);
  const int m = twipsToPxX(this, 240);
  column->setContentsMargins(m, m, m, m);
  column->addWidget(heading);
  column->addWidget(sub);
  column->addWidget(note);
  column->addSpacing(m);
  for (QWidget* r : rows) column->addWidget(r);
  column->addStretch(1);
  column->addWidget(Command1, 0, Qt::AlignRight);
}

CompileDialog::~CompileDialog() = default;

void CompileDialog::load() {
  main_->setProjectToolbarEnabled(false);
  main_->setChildEnabled(main_->manager(), false);
  const QSize client = main_->clientSize();
  const int w = twipsToPxX(this, kWidth), h = twipsToPxY(this, kHeight);
  main_->placeChild(this, QRect(std::max(0, (client.width() - w) / 2), std::max(0, (client.height() - h) / 4), w, h));
  Command1->setFocus();
}

void CompileDialog::start() {
  if (Option2->isChecked()) {
    if (ProjectManagerWindow* m = main_->manager()) m->Compila2.start();
  } else if (Option3->isChecked()) {
    main_->UnicoFile.start();
  }
  // Option1, the installer build, arrives with the installer's issue.
}

void CompileDialog::keyPressEvent(QKeyEvent* event) {
  if (main_->childWindowKey(this, event->key(), help::kCompile))
    event->accept();
  else
    QWidget::keyPressEvent(event);
}

void CompileDialog::closeEvent(QCloseEvent* event) {
  main_->setProjectToolbarEnabled(true);
  main_->setChildEnabled(main_->manager(), true);
  event->accept();
}

bool CompileDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    QRadioButton* options[] = {Option1, Option2, Option3};
    for (int i = 0; i < 3; ++i)
      if (watched == captions_[i]) options[i]->setChecked(true);
  }
  return QWidget::eventFilter(watched, event);
}

void CompileDialog::paintEvent(QPaintEvent*) { paintTiledBackground(this, main_->context()); }

}  // namespace pm
