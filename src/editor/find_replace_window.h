// The find and replace window ("Trova / Sostituisci..."): looks for a text in the room
// editor without regard to letter case and replaces one or every occurrence. It works on
// the editor only through its selection and history (EditorRequests); the searching and
// replacing is the core's (find_replace.h). The editor opens it with F8 and closes it when
// it closes itself. After a find it moves off the text it found when it covers it.
#pragma once

#include <QTimer>

#include "ui/child_window.h"

class QLineEdit;
class QPushButton;

namespace pm {

struct FindResult;
struct ReplaceResult;

class FindReplaceWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit FindReplaceWindow(WindowOwner* owner);
  ~FindReplaceWindow() override;

  // Called by the owner once the window is in its sub-window: placement and focus.
  void load();

  void find();         // "&Trova"
  void findNext();     // "T&rova successivo"
  void replaceOne();   // "&Sostituisci"
  void replaceAll();   // "S&ostituisci tutto"
  void cancel();       // "&Annulla"

  // While it runs, the window is kept in front of the editor it searches.
  QTimer keepInFront;

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void showResult(const std::string& text, const FindResult& result);  // `text`: what was searched
  void showResult(const ReplaceResult& result);
  void select(const std::string& text, size_t start, size_t length);
  // Moves the window off `found` (global coordinates) when it covers it.
  void keepClearOf(const QRect& found);

  QLineEdit* findText_ = nullptr;         // "txtfind"
  QLineEdit* replacementText_ = nullptr;  // "txtreplace"
  QPushButton* findButton_ = nullptr;     // "cmdfind"
  QPushButton* findNextButton_ = nullptr; // "cmdfindnext"
  QPushButton* replaceButton_ = nullptr;  // "cmdreplace"
  QPushButton* replaceAllButton_ = nullptr;  // "cmdreplaceall"
  QPushButton* cancelButton_ = nullptr;   // "Command1"
};

}  // namespace pm
