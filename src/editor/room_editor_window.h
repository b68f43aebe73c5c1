// The room editor: one room's text (or Global.cod, Global2.cod, adv.css in restricted
// mode) in a text area with a toolbar, function keys, a context menu and an edit history.
// It loads its file on the first tick of Apri and saves it when it closes; its Compila
// timer runs the room test and the project compiles that use it as their host.
#pragma once

#include <QString>
#include <QTimer>
#include <string>

#include "editor/edit_history.h"
#include "editor/editor_file.h"
#include "editor/html_commands.h"
#include "ui/child_window.h"
#include "ui/editor_requests.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QToolButton;

namespace pm {

class ManagerRequests;

class RoomEditorWindow : public ChildWindow, public EditorRequests {
  Q_OBJECT
 public:
  explicit RoomEditorWindow(WindowOwner* owner);
  ~RoomEditorWindow() override;

  // EditorRequests
  QWidget* widget() override { return this; }
  QString selectedText() const override;
  void replaceSelection(const QString& text) override;
  void setRestricted(bool covered, int fontPoints = 12) override;

  bool restricted() const;
  // The whole text, lines separated by "\n".
  QString text() const override;
  int selectionStart() const override;
  int selectionLength() const override;
  void selectRange(int start, int length) override;
  QRect selectionRect() const override;
  EditHistory& editHistory() override { return history_; }
  void putBackRecorded(const std::string& utf8) override { putBack(utf8); }

  // Runs the close handling (save unless NoSave) and closes the window. False when the
  // file could not be written: the editor then stays open with its text.
  bool closeEditor() { return closeWindow(); }

  // The load (what Apri does); does nothing once the file is loaded.
  void loadNow();
  bool isLoaded() const { return loaded_; }
  const EditHistory& history() const { return history_; }

  // Commands of the toolbar, the keys and the context menu.
  void undo();
  void redo();
  void linkCommand();      // F2
  void timerCommand();     // F3
  void backLinkCommand();  // F4
  void testRoom();         // F7
  void closeWithoutSaving();  // F9
  void livePreview();         // "Anteprima dal vivo": saves, then the browser on this room
  // Writes the recovery file when the text differs from the file (what the recovery timer
  // does every kRecoveryIntervalMs), or removes it when the text is back to the file's.
  void writeRecoveryNow();
  static constexpr int kRecoveryIntervalMs = 3000;
  void followLink();       // "Segui un Collegamento"
  void cutText();
  void copyText();
  void deleteText();
  void pasteText();
  void selectAllText();
  void upperCase();
  void lowerCase();
  void insertDate();
  void insertTime();
  void countCharacters();
  // An HTML formatting command of the context menu on the selection, as one history step.
  void htmlCommand(HtmlCommand command);

 protected:
  bool onClose() override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildToolbar();
  void buildMenu();
  void layoutControls();
  bool handleKey(int key);
  bool handleShortcut(int key, Qt::KeyboardModifiers modifiers);
  // Shows the project manager for choosing the target room of a link (Link "1", Modi) or
  // a timer (Link "2", Modi2), the editor hidden meanwhile.
  void chooseTarget(QString ManagerRequests::*mode, const char* link);
  void textChanged();
  void putBack(const std::string& text);
  Status saveNow();
  void runCompile();
  void markFollowed();
  QString caption(const QString& piece) const;
  // The text area's accessible name: what is open (a room's text, the style sheet, the
  // global code, a script) and its file name.
  QString textName() const;

  QPlainTextEdit* textArea_ = nullptr;  // "Text1"
  QMenu* menu_ = nullptr;               // "Menu"
  QAction* linkItem_ = nullptr;         // "Collega Con...", unavailable in restricted mode
  QWidget* strip_ = nullptr;  // the toolbar strip
  QWidget* cover_ = nullptr;  // restricted mode: over the first nine buttons
  QToolButton* buttons_[12] = {};
  bool covered_ = false;
  bool roomTestAsked_ = false;  // F7 since the last compile tick
  bool loaded_ = false;
  bool followed_ = false;
  LoadedText file_;  // the file as it is on disk, for the line-preserving save
  QTimer recovery_;   // repeating while loaded: writeRecoveryNow
  bool recovered_ = false;      // a recovery file of this text is on disk
  std::string lastRecovered_;   // what it holds
  EditHistory history_;
};

}  // namespace pm
