// The tool's main window: the frame (QMdiArea) that owns every other window as a child,
// the top toolbar, the project toolbar with its cover panel, the room counter, the
// stretched desktop picture, and the request fields and timers through which the other
// windows ask it to act (the codes of window_command.h in Scelta, run by Crea).
#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include "check/book_check_window.h"
#include "exchange/story_import_window.h"
#include "check/graph_window.h"
#include "paper/export_window.h"
#include "paper/renumber_window.h"
#include "packager/compile_dialog.h"
#include "editor/colour_palette_window.h"
#include "editor/find_replace_window.h"
#include "editor/global_code_window.h"
#include "editor/resources_window.h"
#include "editor/room_editor_window.h"
#include "editor/script_window.h"
#include "editor/upload_window.h"
#include "editor/versions_window.h"
#include "preview/preview_server.h"
#include "project/properties_window.h"
#include "map/map_window.h"
#include "project/start_page_window.h"
#include "rooms/project_manager_window.h"
#include "rooms/trash_window.h"
#include "shell/settings_window.h"
#include "ui/qt_icons.h"
#include "ui/window_owner.h"

class QCheckBox;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolButton;

namespace pm {

class MainWindow : public QMainWindow, public WindowOwner {
  Q_OBJECT
 public:
  explicit MainWindow(AppContext context, QWidget* parent = nullptr);
  ~MainWindow() override;

  // WindowOwner
  AppContext& context() override { return context_; }
  bool closeChild(QWidget* child) override;
  void showChild(QWidget* child, bool shown) override;
  void setChildEnabled(QWidget* child, bool enabled) override;
  void placeChild(QWidget* child, const QRect& frame) override;
  QRect childGeometry(QWidget* child) const override;
  QSize clientSize() const override;
  QPoint clientPoint(const QPoint& global) const override;
  bool closing() const override { return closing_; }
  void setProjectToolbarShown(bool shown) override;  // the project toolbar, its separator, help
  void setProjectToolbarEnabled(bool enabled) override;
  void setCoverShown(bool shown) override;
  void setManageProjectsEnabled(bool enabled) override;
  void setRoomCounter(int rooms) override;
  void setHelpTooltip(const QString& text) override;
  void setSkipStartPage(bool skip) override;
  void openHelp(std::string_view page) override;
  ProjectManagerWindow* manager() const override { return manager_.data(); }
  RoomEditorWindow* editor() const override { return editor_.data(); }
  ProjectManagerWindow* openManagerFresh() override;
  RoomEditorWindow* openEditorFresh() override;
  void openStartPageFresh() override;
  bool startPageOpen() const override { return !start_.isNull(); }
  void openResources(ResourceMode mode) override { openResourcesFresh(mode); }
  void openUpload() override { openUploadFresh(); }
  void openFindReplaceFresh() override;
  void openRoomScriptFresh() override;
  void openVersions(const QString& folder, const QString& name) override;
  void openTrash() override;
  VersionsWindow* versionsWindow() const { return versions_.data(); }
  TrashWindow* trashWindow() const { return trash_.data(); }
  void showLivePreview(const std::string& room) override;
  void bookFileSaved(const std::string& name) override;

  // The other child windows; nullptr when not loaded.
  StartPageWindow* startPage() const { return start_.data(); }
  SettingsWindow* settings() const { return settings_.data(); }
  CompileDialog* compileDialog() const { return compile_.data(); }
  SettingsWindow* openSettingsFresh();
  CompileDialog* openCompileDialogFresh();
  PropertiesWindow* properties() const { return properties_.data(); }
  PropertiesWindow* openPropertiesFresh();
  ResourcesWindow* resources() const { return resources_.data(); }
  UploadWindow* upload() const { return upload_.data(); }
  ResourcesWindow* openResourcesFresh(ResourceMode mode);
  UploadWindow* openUploadFresh();
  FindReplaceWindow* findReplace() const { return find_.data(); }
  ScriptWindow* roomScript() const { return script_.data(); }
  GlobalCodeWindow* globalCode() const { return globalCode_.data(); }
  ColourPaletteWindow* colourPalette() const { return palette_.data(); }
  GlobalCodeWindow* openGlobalCodeFresh();        // Command::GlobalCode
  ColourPaletteWindow* openColourPaletteFresh();  // Image11
  MapWindow* mapWindow() const { return map_.data(); }
  MapWindow* openMapFresh();  // Image13
  BookCheckWindow* bookCheck() const { return check_.data(); }
  GraphWindow* graph() const { return graph_.data(); }
  BookCheckWindow* openBookCheckFresh();  // Command::BookCheck: opened and checked at once
  GraphWindow* openGraphFresh();          // opened and laying out at once
  StoryImportWindow* storyImport() const { return storyImport_.data(); }
  StoryImportWindow* openStoryImportFresh();  // "Importa una storia", from the top bar
  RenumberWindow* openRenumberFresh();    // ImageCarta's "Rinumera le Stanze..."
  ExportWindow* openExportFresh();        // ImageCarta's "Esporta il libro..."

  // Closes every child window except `keep`, one after another, until none is left or a
  // child refuses. True when all are closed.
  bool closeAllChildren(QWidget* keep = nullptr);

  // Runs `command` (what Crea does with the command Scelta names); None does nothing.
  void runCommand(Command command);
  // The commands, as the toolbar buttons run them.
  void createRoom();            // Command::CreateRoom
  void openSelectedRoom();      // Command::OpenRoom
  void describeSelectedRoom();  // Command::DescribeRoom
  void editStyleSheet();        // Command::EditStyleSheet
  void openProperties();        // Command::Properties: opened and loaded
  void testProject();           // Command::TestProject
  void openCompile();           // Command::Compile: the compile dialog, with a project open
  void runSingleFile(bool openBrowser);  // Image20, UnicoFile

 signals:
  // The main window has closed: the program shows the splash and ends.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolButton* makeButton(QWidget* bar, const char* name, IconKind icon, const QString& tip, long left);
  void buildToolbars();
  void placeRightPictures();
  void stretchBackground();
  // Where the keyboard is now: the child window in front and the focused control.
  struct Origin {
    QPointer<ChildWindow> window;
    QPointer<QWidget> control;
  };
  Origin focusOrigin() const;
  // Puts `child` into a new sub-window, opened from `from`; the owner forgets it when it
  // has closed, and hands the keyboard back to where it was opened from.
  QMdiSubWindow* addChild(ChildWindow* child, Origin from);
  // Closes the window in `slot` when one is loaded (nothing when it refuses), then makes a
  // new one with `args` in its own sub-window. Where the keyboard was before is where the
  // new window comes from (taken first: a window may disable another as it is made).
  template <class W, class... Args>
  W* replaceChild(QPointer<W>& slot, Args&&... args) {
    Origin from = focusOrigin();
    if (slot && !closeChild(slot)) return nullptr;
    auto* w = new W(this, std::forward<Args>(args)...);
    slot = w;
    addChild(w, from);
    return w;
  }
  // The child window that holds `w` (or is it); nullptr for the toolbars.
  ChildWindow* childOf(QWidget* w) const;
  // Whether `w` is open, shown and enabled: a window the keyboard may go back to.
  bool usable(ChildWindow* w) const;
  // Whether the keyboard is nowhere a person can use it: no focus, or in a window that is
  // closed, hidden or disabled.
  bool focusLost() const;
  // A child closed: the keyboard goes back to the window and control `from`, or to the
  // nearest window up the line they came from, once the close is over. `hadFocus`: the
  // closed window held the keyboard (otherwise the keyboard moves only when it is lost).
  void returnFocus(Origin from, bool hadFocus);
  void closeWith(ChildWindow* holder, ChildWindow* w);
  // replaceChild, then the new window loads what it shows.
  template <class W, class... Args>
  W* loadFresh(QPointer<W>& slot, Args&&... args) {
    W* w = replaceChild(slot, std::forward<Args>(args)...);
    if (w) w->load();
    return w;
  }
  void onUnicoFile();
  void offerCrashRecovery();
  void changeSkipStartPage(bool skip);  // Check1 ticked by the author
  void openResourceFolder();

  AppContext context_;
  QMdiArea* mdi_ = nullptr;
  QPixmap desktop_;  // DeskTop.jpg, never scaled itself

  QWidget* topBar_ = nullptr;             // "Picture1"
  QWidget* projectBar_ = nullptr;         // "Picture2"
  QWidget* cover_ = nullptr;              // "Picture3": over the room commands
  QFrame* topSeparator_ = nullptr;        // "Line2": shown with a project
  QCheckBox* skipStartPage_ = nullptr;    // "Check1": "Salta il menù iniziale"
  QLabel* roomCounter_ = nullptr;         // "Label1"
  QToolButton* manageButton_ = nullptr;   // "Image1"
  QToolButton* helpButton_ = nullptr;     // "Image10"
  QToolButton* settingsButton_ = nullptr; // "Image15"
  QToolButton* importButton_ = nullptr;   // "ImageImporta": "Importa una storia"
  QLabel* logo_ = nullptr;                // "Image16"
  std::vector<QToolButton*> covered_;     // the buttons under Picture3

  QPointer<StartPageWindow> start_;
  QPointer<ProjectManagerWindow> manager_;
  // The live preview of the open book: its server runs on threads of its own (no child
  // process to find and end); it stops when the project manager, the open book, closes.
  std::unique_ptr<PreviewServer> preview_;
  stdfs::path previewBook_;
  QPointer<RoomEditorWindow> editor_;
  QPointer<SettingsWindow> settings_;
  QPointer<CompileDialog> compile_;
  QPointer<PropertiesWindow> properties_;
  QPointer<ResourcesWindow> resources_;
  QPointer<UploadWindow> upload_;
  QPointer<FindReplaceWindow> find_;
  QPointer<ScriptWindow> script_;
  QPointer<GlobalCodeWindow> globalCode_;
  QPointer<ColourPaletteWindow> palette_;
  QPointer<MapWindow> map_;
  QPointer<BookCheckWindow> check_;
  QPointer<StoryImportWindow> storyImport_;
  QPointer<GraphWindow> graph_;
  QPointer<VersionsWindow> versions_;
  QPointer<TrashWindow> trash_;
  QPointer<RenumberWindow> renumber_;
  QPointer<ExportWindow> export_;
  bool closing_ = false;
  bool shown_ = false;
  unsigned opened_ = 0;  // child windows handed out so far
};

}  // namespace pm
