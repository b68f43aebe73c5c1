// What a child window of the tool may ask of the window that owns it (the main window):
// the seams, its frame (close, show, enable, place), the frame's toolbars, the help pages,
// and the other child windows through their request faces. The main window's own request
// fields and timers live here too, since they are the protocol every child writes to.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTimer>
#include <string>
#include <string_view>

#include "ui/app_context.h"
#include "ui/window_command.h"

class QWidget;

namespace pm {

enum class ResourceMode;
class EditorRequests;
class ManagerRequests;

class WindowOwner {
 public:
  virtual ~WindowOwner() = default;

  // Request fields and timers of the main window.
  QString Scelta;     // the code of the pending command (window_command.h)
  QTimer Crea;        // 100 ms: runs the command Scelta names
  QTimer UnicoFile;   // 1 ms: single-file compile for the compile dialog

  // Writes the code of `command` into Scelta and starts Crea.
  void sendCommand(Command command) {
    Scelta = commandCode(command);
    Crea.start();
  }

  virtual AppContext& context() = 0;

  // A child's frame. closeChild runs the child's close handling and is false when the
  // child refused; setChildEnabled disables the frame too, so a disabled child cannot be
  // closed or moved through its title bar either.
  virtual bool closeChild(QWidget* child) = 0;
  virtual void showChild(QWidget* child, bool shown) = 0;
  virtual void setChildEnabled(QWidget* child, bool enabled) = 0;
  virtual void placeChild(QWidget* child, const QRect& frame) = 0;
  virtual QRect childGeometry(QWidget* child) const = 0;
  virtual QSize clientSize() const = 0;
  // A point of the screen in the coordinates of the client area (those of placeChild).
  virtual QPoint clientPoint(const QPoint& global) const = 0;
  // True while the owner is closing (children then do not reopen each other).
  virtual bool closing() const = 0;

  // The frame's toolbars and labels.
  virtual void setProjectToolbarShown(bool shown) = 0;
  virtual void setProjectToolbarEnabled(bool enabled) = 0;
  virtual void setCoverShown(bool shown) = 0;
  virtual void setManageProjectsEnabled(bool enabled) = 0;
  virtual void setRoomCounter(int rooms) = 0;
  virtual void setHelpTooltip(const QString& text) = 0;
  virtual void setSkipStartPage(bool skip) = 0;  // "Salta il menù iniziale"

  // Opens a page of the online help; "" opens the help root.
  virtual void openHelp(std::string_view page) = 0;

  // The other child windows; nullptr when not loaded. The fresh openers close the window
  // if it is loaded, create it anew and show it; nullptr when the old one refused to close.
  virtual ManagerRequests* manager() const = 0;
  virtual EditorRequests* editor() const = 0;
  virtual ManagerRequests* openManagerFresh() = 0;
  virtual EditorRequests* openEditorFresh() = 0;
  virtual void openStartPageFresh() = 0;
  // The editor's resources window, fresh, for pictures or sounds; its upload window, which
  // shows the resources window again when it closes.
  virtual void openResources(ResourceMode mode) = 0;
  virtual void openUpload() = 0;
  virtual bool startPageOpen() const = 0;

  // The room editor's own tool windows, find and replace (F8) and the room script (F6):
  // opened afresh for the open editor, and closed with it.
  virtual void openFindReplaceFresh() = 0;
  virtual void openRoomScriptFresh() = 0;

  // The book's history: the versions of file `name` of the project in `folder`
  // ("Versioni precedenti"), and the deleted rooms of the open project ("Cestino"); fresh.
  virtual void openVersions(const QString& folder, const QString& name) = 0;
  virtual void openTrash() = 0;

  // The live preview ("Anteprima dal vivo"): started on the open book when it is not
  // running, then the browser opened on room `room`'s page (the start page for "").
  virtual void showLivePreview(const std::string& room) = 0;
  // An editor has written the book's file `name`: the live preview, when running, compiles
  // now (only that room's page when `name` is a room's text and nothing else changed).
  virtual void bookFileSaved(const std::string& name) = 0;
};

}  // namespace pm
