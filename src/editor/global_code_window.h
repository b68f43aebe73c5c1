// The global code chooser ("Codice Esterno per Tutte eseguibile in tutte le Stanze"): two
// links that open Global.cod (shown before every room) or Global2.cod (after it) in the
// room editor in restricted mode. While it is open the project manager and the project
// toolbar are disabled; it stays open behind the editors it opens.
#pragma once

#include "ui/child_window.h"

class QPushButton;

namespace pm {

class GlobalCodeWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit GlobalCodeWindow(WindowOwner* owner);
  ~GlobalCodeWindow() override;

  // Called by the owner once the window is in its sub-window: the disabled project
  // manager and toolbar.
  void load();
  // Opens `name` (Global.cod or Global2.cod) of the manager's project in a fresh editor.
  void openFile(const QString& name);

 protected:
  bool onClose() override;

 private:
  QPushButton* beforeLink_ = nullptr;  // "Label2": Global.cod
  QPushButton* afterLink_ = nullptr;   // "Label4": Global2.cod
};

}  // namespace pm
