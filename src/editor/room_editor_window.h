// The room editor: one room's text (or Global.cod, Global2.cod, adv.css in restricted
// mode) in a text area with a toolbar, function keys, a context menu and an edit history.
// It loads its file on the first tick of Apri and saves it when it closes.
#pragma once

#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace pm {

class MainWindow;

class RoomEditorWindow : public QWidget {
  Q_OBJECT
 public:
  explicit RoomEditorWindow(MainWindow* main, QWidget* parent = nullptr);
  ~RoomEditorWindow() override;

  // Request fields, written by whoever opens the editor.
  QString Percorso;  // project folder
  QString Nome;      // room number, "Global.cod", "Global2.cod" or "adv.css"
  QString NoSave;    // "1": the next close does not write the file

  QPlainTextEdit* Text1 = nullptr;  // the text area
  QTimer Apri;      // 100 ms, loads the file
  QTimer Compila;   // the compile timer (room test, project test, build without installer)
  QTimer SeguiLk;   // 100 ms, marks the caption after a follow-link open

  // Restricted mode: the cover over the room-only buttons; font size in points.
  void setRestricted(bool covered, int fontPoints = 12);
  bool restricted() const;

  // Other windows reach the text through the selection.
  QString selectedText() const;
  void replaceSelection(const QString& text);

  // Runs the close handling (save unless NoSave) and closes the window. False when the
  // file could not be written: the editor then stays open with its text.
  bool closeEditor();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  MainWindow* main_;
  QWidget* cover_ = nullptr;
};

}  // namespace pm
