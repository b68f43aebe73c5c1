// Registro's one window: the dice (one, two or three, each die rolled on its own)
// and the reader's adventure log kept in Dati.txt.
#pragma once

#include <QTimer>
#include <QWidget>

#include <filesystem>

#include "dice.h"
#include "log_store.h"
#include "base/prompts.h"
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

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Object names as designed (Option1.., Command1.., Label1, Text1, Timer1, Timer2): tests
  // and assistive technology find the controls by them.
  QRadioButton* twoDice_;    // "Option1": "2 Dadi", selected at start
  QRadioButton* oneDie_;     // "Option2": "1 Dado"
  QRadioButton* threeDice_;  // "Option3": "3 Dadi"
  QPushButton* rollButton_;  // "Command1": "&Lancia"
  QPushButton* saveButton_;  // "Command2": "&Salva e Aggiorna Registro"
  QLabel* result_;           // "Label1": the result
  QLabel* faces_;            // "Label2": the faces beside it ("3 + 5")
  QPlainTextEdit* log_;      // "Text1": the log
  QTimer saveTimer_{this};   // "Timer1": save, 1 ms
  QTimer loadTimer_{this};   // "Timer2": load, 100 ms

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
