// The tool's main window: the frame (QMdiArea) that owns every other window as a child,
// the top toolbar, the project toolbar with its cover panel, the room counter, the
// stretched desktop picture, and the request fields and timers through which the other
// windows ask it to act (command codes "1" to "8" in Scelta, dispatched by Crea).
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QToolButton>
#include <string_view>

#include "shell/app_context.h"

class QFrame;
class QMdiArea;
class QMdiSubWindow;

namespace pm {

class StartPageWindow;
class ProjectManagerWindow;
class RoomEditorWindow;
class SettingsWindow;
class CompileDialog;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(AppContext context, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Request fields and timers.
  QString Scelta;      // the command code of the pending request ("1" to "8")
  QTimer Crea;         // 100 ms: dispatches Scelta
  QTimer UnicoFile;    // 1 ms: single-file compile for the compile dialog
  QString NoBrowser;   // "1" while the single-file compile must not open the browser
  QString Text1;       // scratch buffer of the single-file compile

  QCheckBox* Check1 = nullptr;  // "Salta il menù iniziale"
  QLabel* Label1 = nullptr;     // room counter

  QWidget* Picture1 = nullptr;  // top toolbar
  QWidget* Picture2 = nullptr;  // project toolbar
  QWidget* Picture3 = nullptr;  // cover panel over the room commands
  QFrame* Line2 = nullptr;      // separator in the top toolbar, shown with a project

  QToolButton* Image1 = nullptr;   // manage projects
  QToolButton* Image2 = nullptr;   // F2 create a room
  QToolButton* Image3 = nullptr;   // F3 open the editor
  QToolButton* Image4 = nullptr;   // F4 description
  QToolButton* Image5 = nullptr;   // F5 style sheet
  QToolButton* Image6 = nullptr;   // F6 global code
  QToolButton* Image7 = nullptr;   // F7 properties
  QToolButton* Image8 = nullptr;   // F8 test the project
  QToolButton* Image9 = nullptr;   // F9 distribute
  QToolButton* Image10 = nullptr;  // help
  QToolButton* Image11 = nullptr;  // colour palette
  QToolButton* Image12 = nullptr;  // resource folder
  QToolButton* Image13 = nullptr;  // adventure map
  QToolButton* Image15 = nullptr;  // settings
  QLabel* Image16 = nullptr;       // logo
  QToolButton* Image20 = nullptr;  // single-file test

  AppContext& context() { return context_; }
  QMdiArea* mdiArea() const { return mdi_; }

  // The child windows; nullptr when not loaded.
  StartPageWindow* startPage() const;
  ProjectManagerWindow* manager() const;
  RoomEditorWindow* editor() const;
  SettingsWindow* settings() const;
  CompileDialog* compileDialog() const;

  // Close the window if it is loaded (through its own close handling), create it anew
  // and show it. openEditorFresh() gives nullptr when the open editor refuses to close.
  StartPageWindow* openStartPageFresh();
  ProjectManagerWindow* openManagerFresh();
  RoomEditorWindow* openEditorFresh();
  SettingsWindow* openSettingsFresh();
  CompileDialog* openCompileDialogFresh();  // command "8"

  // Closes a child window's sub-window, running the child's close handling. False when
  // the child refused to close.
  bool closeChild(QWidget* w);
  // Shows or hides a child's sub-window without closing it.
  void showChild(QWidget* w, bool shown);
  // Enables or disables a child together with its sub-window's frame, so that a disabled
  // child cannot be closed, moved or minimised through its title bar either.
  void setChildEnabled(QWidget* w, bool enabled);
  // Places a child's sub-window at `r` (pixels, in the client area).
  void placeChild(QWidget* w, const QRect& r);
  QRect childGeometry(QWidget* w) const;
  // The size of the client area that holds the child windows.
  QSize clientSize() const;
  // Closes every child window except `keep`, one after another, until none is left or a
  // child refuses. True when all are closed.
  bool closeAllChildren(QWidget* keep = nullptr);

  void setProjectToolbarShown(bool shown);  // Picture2 (shown and enabled), Line2, Image10
  void setProjectToolbarEnabled(bool enabled);
  void setCoverShown(bool shown);           // Picture3
  void setManageProjectsEnabled(bool enabled);  // Image1

  // Opens a page of the online help; "" opens the help root.
  void openHelp(const QString& page);
  // The keys a child window shares with the others: F1 opens its help page `helpPage`,
  // Esc closes it. True when `key` was one of them.
  bool childWindowKey(QWidget* child, int key, std::string_view helpPage);

  // The dispatcher of Crea: runs the action of command code "1" to "8"; anything else
  // does nothing.
  void runCommand(const QString& code);
  void createRoom();                     // command "1"
  void runSingleFile(bool openBrowser);  // Image20, UnicoFile
  void editStyleSheet();                 // command "4"

  void setRoomCounter(int rooms);
  void setHelpTooltip(const QString& text);

  // True while the main window is closing (children then do not reopen each other).
  bool closing() const { return closing_; }

 signals:
  // The main window has closed: the program shows the splash and ends.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolButton* makeButton(QWidget* bar, const char* name, int iconKind, const QString& tip, long left);
  void buildToolbars();
  void placeRightPictures();
  void stretchBackground();
  QMdiSubWindow* addChild(QWidget* w);
  void onCrea();
  void onUnicoFile();
  void openResourceFolder();

  AppContext context_;
  QMdiArea* mdi_ = nullptr;
  QPixmap desktop_;  // DeskTop.jpg, never scaled itself
  QPointer<StartPageWindow> start_;
  QPointer<ProjectManagerWindow> manager_;
  QPointer<RoomEditorWindow> editor_;
  QPointer<SettingsWindow> settings_;
  QPointer<CompileDialog> compile_;
  bool closing_ = false;
  bool shown_ = false;
};

}  // namespace pm
