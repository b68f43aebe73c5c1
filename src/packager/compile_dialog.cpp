// The compile dialog (see compile_dialog.h).
#include "packager/compile_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "packager/installer_build.h"
#include "project/help_pages.h"
#include "ui/manager_requests.h"
#include "ui/qt_measure.h"

namespace pm {

namespace {
const PlacementRule kPlacement{8400, 5600, false, Centring::Quarter};
}

CompileDialog::CompileDialog(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "CompileDialog", "Compilazione di un progetto", help::kCompile, kPlacement) {
  setFocusPolicy(Qt::ClickFocus);  // keys reach the window when nothing inside has the focus; no Tab stop

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
      "Android, etc...",
      "Compila in un unico file. Per Internet, Windows, Debian, Ubuntu, Mint, iPhone, iPod, Android, etc..."};
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
    caption->setStyleSheet("QLabel { color: #1d2a36; } QLabel:disabled { color: #7d8893; }");  // greyed with its option
    caption->setCursor(Qt::PointingHandCursor);
    caption->installEventFilter(this);
    captions_[i] = caption;
    row->addWidget(option, 0, Qt::AlignTop);
    row->addWidget(caption, 1);
    group->addButton(option, i + 1);
    (i == 0 ? installerOption_ : i == 1 ? siteOption_ : singleFileOption_) = option;
  }
  installerOption_->setChecked(true);

  startButton_ = new QPushButton("Avvia compilatore", this);
  startButton_->setObjectName("Command1");
  startButton_->setAccessibleName(startButton_->text());
  startButton_->setDefault(true);
  connect(startButton_, &QPushButton::clicked, this, &CompileDialog::start);

  auto* column = new QVBoxLayout(this);
  const int m = twipsToPxX(this, 240);
  column->setContentsMargins(m, m, m, m);
  column->addWidget(heading);
  column->addWidget(sub);
  column->addWidget(note);
  column->addSpacing(m);
  for (QWidget* r : rows) column->addWidget(r);
  column->addStretch(1);
  column->addWidget(startButton_, 0, Qt::AlignRight);
}

CompileDialog::~CompileDialog() = default;

void CompileDialog::load() {
  setProjectControlsEnabled(false);
  offerInstallerIfItCanRun();
  startButton_->setFocus();
}

// The installer build is the first choice only where its compiler can run; elsewhere its
// option is disabled, its tooltip says why, and the build without installer is chosen.
void CompileDialog::offerInstallerIfItCanRun() {
  const std::string reason = installer_unavailable_reason(find_installer_compiler(context().home));
  const QString tip = QString::fromStdString(reason);
  installerOption_->setEnabled(reason.empty());
  captions_[0]->setEnabled(reason.empty());
  installerOption_->setToolTip(tip);
  captions_[0]->setToolTip(tip);
  installerOption_->setAccessibleDescription(tip);
  (reason.empty() ? installerOption_ : siteOption_)->setChecked(true);
}

void CompileDialog::start() {
  if (installerOption_->isChecked()) {
    buildInstaller();
  } else if (siteOption_->isChecked()) {
    if (ManagerRequests* m = owner()->manager()) m->Compila2.start();
  } else if (singleFileOption_->isChecked()) {
    owner()->UnicoFile.start();
  }
}

void CompileDialog::buildInstaller() {
  ManagerRequests* m = owner()->manager();
  if (!m) return;
  AppContext& c = context();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  InstallerBuild build = run_installer_build(c.home, m->project(), m->roomNumbers(), find_installer_compiler(c.home));
  QApplication::restoreOverrideCursor();
  // Every compile takes the start-page flag from the project file into Check1.
  owner()->setSkipStartPage(build.skip_start_page);
  present_installer_build(build, *c.platform, *c.prompts);
}

bool CompileDialog::onClose() {
  setProjectControlsEnabled(true);
  return true;
}

bool CompileDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    QRadioButton* options[] = {installerOption_, siteOption_, singleFileOption_};
    for (int i = 0; i < 3; ++i)
      if (watched == captions_[i] && options[i]->isEnabled()) options[i]->setChecked(true);
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace pm
