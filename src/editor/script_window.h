// The room script window: the script of one room (the room's file name followed by ".js",
// in the project folder) in a plain text area with the block caret. The editor opens it
// with F6 and stays disabled while it is open; it loads on the first tick of Apri, and
// closing it (close box or Esc) writes the script back, or deletes the file when the text
// has been emptied, and places itself by Editor2.ini.
#pragma once

#include <QString>
#include <QTimer>

#include "editor/editor_file.h"
#include "ui/child_window.h"

class QPlainTextEdit;

namespace pm {

class ScriptWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit ScriptWindow(WindowOwner* owner);
  ~ScriptWindow() override;

  QString Percorso;  // project folder
  QString Nome;      // the room's file name
  QTimer Apri;       // 100 ms, one shot: loads the script

  // The load (what Apri does); does nothing once the script is loaded.
  void loadNow();
  bool isLoaded() const { return loaded_; }
  // The text, lines separated by "\n".
  QString text() const;

 protected:
  bool onClose() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void layoutControls();

  QPlainTextEdit* textArea_ = nullptr;  // "Text1"
  LoadedText file_;                     // the script as it is on disk
  bool loaded_ = false;
};

}  // namespace pm
