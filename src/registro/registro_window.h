// Registro's one window: the dice (one, two or three, one draw over the whole range)
// and the reader's adventure log kept in Dati.txt.
#pragma once

#include <QTimer>
#include <QWidget>

#include <filesystem>

#include "dice.h"
#include "log_store.h"
#include "project/prompts.h"
#include "ui/qt_prompts.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class RegistroWindow : public QWidget {
  Q_OBJECT

 public:
  // The log lives in `home`/Dati.txt.
  explicit RegistroWindow(const std::filesystem::path& home, QWidget* parent = nullptr);

  // The messages and the question the window may put to the reader go through `prompts`
  // (real dialogs unless a test sets its own).
  void setPrompts(pm::Prompts* prompts) { prompts_ = prompts; }

  // The log as its lines joined with "\n", every character as typed.
  QString logText() const;

  QRadioButton* Option1;  // "2 Dadi", selected at start
  QRadioButton* Option2;  // "1 Dado"
  QRadioButton* Option3;  // "3 Dadi"
  QPushButton* Command1;  // "&Lancia"
  QPushButton* Command2;  // "&Salva e Aggiorna Registro"
  QLabel* Label1;         // the result
  QPlainTextEdit* Text1;  // the log
  QTimer Timer1{this};    // save, 1 ms
  QTimer Timer2{this};    // load, 100 ms

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void roll();
  void requestSave();
  void saveTick();
  void loadTick();
  // Loads the log now if the load timer has not done so yet, so that nothing ever
  // writes Dati.txt before reading it.
  void ensureLoaded();

  registro::Dice dice_;
  registro::LogStore store_;
  pm::QtPrompts ownPrompts_;
  pm::Prompts* prompts_ = &ownPrompts_;
  void warn(const QString& message);
  int px(int twips) const;
  QWidget* topPanel_;
  QWidget* bottomPanel_;
  QLabel* credit_;
};
