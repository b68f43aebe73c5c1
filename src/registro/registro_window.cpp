// RegistroWindow: the controls at their design places, the roll, and the log's load,
// save and save-on-close, all through the plain logic of dice and LogStore.
#include "registro_window.h"

#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>

#include "log_layout.h"
#include "ui/accessibility.h"
#include "ui/block_caret_edit.h"
#include "ui/one_shot_timer.h"
#include "ui/qt_measure.h"
#include "ui/shown_text.h"

namespace {

const QString kCaption = QStringLiteral("Dadolario");

template <typename W>
W* control(W* widget, const char* name, const QString& accessible) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setAccessibleName(accessible);
  return widget;
}

}  // namespace

RegistroWindow::RegistroWindow(const std::filesystem::path& home, QWidget* parent)
    : QWidget(parent), store_(home) {
  pm::installAccessibility();
  setWindowTitle(kCaption);

  topPanel_ = new QWidget(this);
  topPanel_->setObjectName(QStringLiteral("TopPanel"));
  threeDice_ = control(new QRadioButton(QStringLiteral("3 Dadi"), topPanel_), "Option3", QStringLiteral("3 Dadi"));
  twoDice_ = control(new QRadioButton(QStringLiteral("2 Dadi"), topPanel_), "Option1", QStringLiteral("2 Dadi"));
  oneDie_ = control(new QRadioButton(QStringLiteral("1 Dado"), topPanel_), "Option2", QStringLiteral("1 Dado"));
  rollButton_ = control(new QPushButton(QStringLiteral("&Lancia"), topPanel_), "Command1", QStringLiteral("Lancia"));
  threeDice_->setGeometry(px(120), px(120), px(1215), px(375));
  twoDice_->setGeometry(px(1440), px(120), px(1215), px(375));
  oneDie_->setGeometry(px(2760), px(120), px(1215), px(375));
  rollButton_->setGeometry(px(4080), px(120), px(1455), px(375));
  twoDice_->setChecked(true);

  result_ = control(new QLabel(this), "Label1", QStringLiteral("Risultato"));
  pm::exposeChangingLabel(result_, QStringLiteral("Risultato"));
  result_->setAlignment(Qt::AlignCenter);
  result_->setFont(pm::typewriterFont(48));
  result_->setGeometry(px(2280), px(720), px(2175), px(1095));
  faces_ = control(new QLabel(this), "Label2", QStringLiteral("Dadi"));
  faces_->setAccessibleDescription(QStringLiteral("Dadi"));
  faces_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  faces_->setFont(pm::typewriterFont(14));
  faces_->setGeometry(px(4515), px(720), px(1980), px(1095));

  // A block caret 10 pixels wide and 16 high, easy to find in a long log.
  log_ = control(new pm::BlockCaretEdit(this, 10, 16), "Text1", QStringLiteral("Registro"));
  log_->setFont(pm::typewriterFont(11.25));
  log_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  const registro::Size design = registro::design_client_size(pm::twipsPerPixelX(this));
  log_->setGeometry(px(120), px(1920), design.width - px(240), design.height - px(2760));

  bottomPanel_ = new QWidget(this);
  bottomPanel_->setObjectName(QStringLiteral("BottomPanel"));
  saveButton_ = control(new QPushButton(QStringLiteral("&Salva e Aggiorna Registro"), bottomPanel_),
                        "Command2", QStringLiteral("Salva e Aggiorna Registro"));
  saveButton_->setGeometry(px(120), px(120), px(3135), px(375));
  credit_ = new QLabel(QStringLiteral("Registro d'avventura"), bottomPanel_);
  credit_->setObjectName(QStringLiteral("Credit"));
  credit_->setGeometry(px(3375), px(120), px(3240), px(375));

  saveTimer_.setObjectName(QStringLiteral("Timer1"));
  loadTimer_.setObjectName(QStringLiteral("Timer2"));
  pm::startOnce(saveTimer_, 1, this, [this] { saveTick(); });
  pm::startOnce(loadTimer_, 100, this, [this] { loadTick(); });
  connect(rollButton_, &QPushButton::clicked, this, &RegistroWindow::roll);
  connect(saveButton_, &QPushButton::clicked, this, &RegistroWindow::requestSave);

  resize(design.width, design.height);
  loadTimer_.start();  // the log is read once, shortly after the window is up
}

QString RegistroWindow::logText() const {
  // Block by block rather than toPlainText(), which turns no-break spaces into spaces.
  QString text;
  for (QTextBlock block = log_->document()->begin(); block.isValid(); block = block.next()) {
    if (block != log_->document()->begin()) text += QLatin1Char('\n');
    text += block.text();
  }
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return text;
}

void RegistroWindow::roll() {
  int count = 2;
  if (oneDie_->isChecked()) count = 1;
  if (threeDice_->isChecked()) count = 3;
  // Assistive technology reads the roll, not a fixed name.
  const registro::DiceRoll r = dice_.roll(count);
  pm::setShownText(result_, QString::number(r.total()));
  pm::setShownText(faces_, QString::fromStdString(r.faces_text()));
  if (faces_->text().isEmpty()) faces_->setAccessibleName(QStringLiteral("Dadi"));  // one die
  log_->setFocus();
}

void RegistroWindow::requestSave() {
  saveTimer_.start();
  log_->setFocus();
}

void RegistroWindow::saveTick() {
  ensureLoaded();
  std::string notice;
  if (const pm::Status saved = store_.save(logText().toStdString(), &notice); !saved.ok()) {
    // The message names the file.
    warn(tr("Il registro non è stato salvato:\n%1").arg(QString::fromStdString(saved.message())));
  } else if (!notice.empty()) {
    warn(QString::fromStdString(notice));
  }
}

void RegistroWindow::loadTick() {
  saveTimer_.stop();
  loadTimer_.stop();
  std::string text;
  if (const pm::Status loaded = store_.load(text); !loaded.ok()) {
    warn(tr("Il registro non si può leggere:\n%1\n\nNon verrà sostituito: quello che scrivi sarà "
                     "salvato in un nuovo file accanto.")
                      .arg(QString::fromStdString(loaded.message())));
  }
  // Anything typed before the log arrived stays in front of it.
  log_->setPlainText(logText() + QString::fromStdString(text));
}

void RegistroWindow::ensureLoaded() {
  if (loadTimer_.isActive()) loadTick();
}

void RegistroWindow::closeEvent(QCloseEvent* event) {
  ensureLoaded();
  saveTimer_.stop();
  const std::string text = logText().toStdString();
  std::string notice;
  if (store_.differs(text)) {
    if (const pm::Status saved = store_.save(text, &notice); saved.ok()) {
      if (!notice.empty()) warn(QString::fromStdString(notice));
    } else {
      const QString question = tr("Il registro non è stato salvato:\n%1\n\nChiudere comunque e perdere le modifiche?")
                                   .arg(QString::fromStdString(saved.message()));
      if (!prompts_->ask_yes_no(question.toStdString(), kCaption.toStdString())) {
        event->ignore();
        return;
      }
    }
  }
  event->accept();
}

void RegistroWindow::warn(const QString& message) {
  prompts_->message(message.toStdString(), kCaption.toStdString(), pm::MessageIcon::Warning);
}

int RegistroWindow::px(int twips) const { return registro::px(twips, pm::twipsPerPixelX(this)); }

void RegistroWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  topPanel_->setGeometry(0, 0, width(), px(615));
  bottomPanel_->setGeometry(0, height() - px(615), width(), px(615));
  const registro::Size size = registro::log_size_for(
      {width(), height()}, {log_->width(), log_->height()}, pm::twipsPerPixelX(this));
  log_->resize(size.width, size.height);
}
