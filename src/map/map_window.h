// The adventure map ("Mappa dell'avventura"): the whole book as one read-through text,
// built by the core's map text (map_text.h) from the project manager's room list, with the
// options panel for the header style and the phrase of the link markers. F2 prints through
// the desktop's text editor (Temp.txt in the program folder), F3 rebuilds with the current
// options, and a selection that starts with a digit opens that room through the project
// manager's follow-link request. While it is open the project manager and the project
// toolbar are disabled. The text is shown by a view that decodes and lays out only the lines
// on screen, so the map of a book of thousands of rooms shows at once.
#pragma once

#include <QTimer>

#include "ui/child_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace pm {

class LargeTextView;

class MapWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit MapWindow(WindowOwner* owner);
  ~MapWindow() override;

  QTimer Compila;  // 100 ms, one shot: builds the map

  // Called by the owner once the window is in its sub-window: the disabled project manager
  // and toolbar, and the first build.
  void load();
  // What Compila does: the map of the manager's room list with the current options.
  void build();
  // F3: an empty map, rebuilt by Compila.
  void rebuild();
  // F2: the map in Temp.txt, opened in the text editor.
  void print();
  // The map as shown.
  QString text() const;

 protected:
  bool onClose() override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // A selection in the map that starts with a digit: that room, through the manager.
  void followSelection();

  QToolButton* printButton_ = nullptr;    // "Image1"
  QToolButton* rebuildButton_ = nullptr;  // "Image2"
  QToolButton* closeButton_ = nullptr;    // "Image7"
  LargeTextView* mapText_ = nullptr;      // "Text1"
  QWidget* optionsPanel_ = nullptr;       // "Picture1"
  QCheckBox* numbersOnly_ = nullptr;      // "Check1"
  QLabel* phraseLabel_ = nullptr;         // "Label1": "Messaggio"
  QLineEdit* phrase_ = nullptr;           // "Text2"
};

}  // namespace pm
