// The project manager: the room list of the open project and every room-level operation
// (open, describe, duplicate, delete, test from a room), and the answer to the room
// editor when it waits for the target room of a link or of a timed redirect. It owns the
// project's identity (Percorso, Nome) for every other window while the project is open.
#pragma once

#include <string>
#include <vector>

#include "ui/child_window.h"
#include "ui/manager_requests.h"

class QLabel;
class QListWidget;
class QMenu;

namespace pm {

class ProjectManagerWindow : public ChildWindow, public ManagerRequests {
  Q_OBJECT
 public:
  explicit ProjectManagerWindow(WindowOwner* owner);
  ~ProjectManagerWindow() override;

  // ManagerRequests
  QWidget* widget() override { return this; }
  QString selectedEntry() const override;
  std::vector<std::string> roomNumbers() const override;
  const std::vector<std::string>& roomEntries() const override { return entries_; }
  int entryCount() const override;
  Project project() const override;
  void showTargetPrompt(const QString& message) override;
  void showProjectCaption() override;

  // The clock by which a pending follow-link request is given up (tests set their own).
  void setFollowLinkClock(FollowLinkRetry::Clock clock) { segLinkRetry_ = FollowLinkRetry(std::move(clock)); }

  // The list build (what Aggiorna does).
  void rebuildList();

  // Called by the owner once the window is in its sub-window: the first list build.
  void load();

  // The actions of the list and its context menu.
  void chooseByDoubleClick();
  void openSelected();       // the Apri action
  void editDescription();    // the EditaStanza action
  void duplicateSelected();  // "Duplica Stanza..."
  void deleteSelected();     // "Elimina Stanza"
  void testFromSelected();   // "Testa il progetto da qui..."
  void openFromMenu();       // "Apri Stanza"
  // The editor's recovery files left in the book by a tool that ended without closing the
  // editor: each offered back with its differences from the saved text (done once, at the
  // first list build of the project).
  void offerRecoveries();

 protected:
  bool onClose() override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int selectedRow() const;
  std::string selectedNumber() const;  // the number of the selected entry, as bytes
  void insertLink(const std::string& number);
  bool insertRedirect(const std::string& number);  // false when the seconds were not given
  void backToEditor();
  // Opens a fresh editor on room `number`, hides the manager; nullptr when the open
  // editor refused to close.
  EditorRequests* openRoom(const std::string& number);
  void compileFromFirst(QString ManagerRequests::*flag);
  void refuse(const char* message);
  void layoutControls();

  QListWidget* roomList_ = nullptr;  // "List1"
  QLabel* hint_ = nullptr;           // "Label1"
  QMenu* menu_ = nullptr;            // "Menu1"
  QWidget* hintPanel_ = nullptr;
  std::vector<std::string> entries_;  // the list's entries as bytes
  bool rebuilding_ = false;
  bool recoveriesOffered_ = false;
  FollowLinkRetry segLinkRetry_;  // the pending follow-link request, ticked by SegLink
};

}  // namespace pm
