// The project manager's face to the other windows: its request fields and timers (the
// protocol through which the main window and the room editor ask it to act) and the few
// operations they use. The project manager window implements it.
#pragma once

#include <QString>
#include <QTimer>
#include <string>
#include <vector>

#include "project/project.h"
#include "rooms/follow_link.h"
#include "ui/qt_paths.h"

class QWidget;

namespace pm {

class ManagerRequests {
 public:
  virtual ~ManagerRequests() = default;

  QString Percorso;       // project folder
  QString Nome;           // project name
  QString Posi;           // index of the last selected entry
  QString Modi;           // "1" while the editor waits for a link target
  QString Modi2;          // "1" while the editor waits for a timer target
  QString Link;           // "1" link target awaited, "2" timer target awaited
  QString NomeLink;       // "1": the next new room proposes the editor's selected text
  QString SeguiLink;      // target room of a follow-link request
  QString CompilaTutto;   // "1": the compile is the whole-project test (F8)
  QString CompilaTutto2;  // "1": the compile comes from the compile dialog
  // The pending follow-link request is the editor's "Segui un Collegamento": the room it
  // opens says so in its caption (a room asked for by the map, the check or the graph
  // shows its own description).
  bool followedFromEditor = false;

  QTimer Aggiorna;     // 100 ms: rebuild the list
  QTimer Apri;         // 100 ms: open the selected room, or answer a pending choice
  QTimer EditaStanza;  // 100 ms: edit the selected room's description
  QTimer Compila;      // 100 ms: whole-project test from the first room
  QTimer Compila2;     // 100 ms: the same for the compile dialog
  QTimer SegLink;      // follow a link

  virtual QWidget* widget() = 0;
  // The selected entry, empty when nothing is selected.
  virtual QString selectedEntry() const = 0;
  // The room numbers, in list order.
  virtual std::vector<std::string> roomNumbers() const = 0;
  // The list's entries as bytes (" 3 | La cantina"), in list order.
  virtual const std::vector<std::string>& roomEntries() const = 0;
  virtual int entryCount() const = 0;
  // The open project (Percorso and Nome).
  virtual Project project() const = 0;
  // Shows `message` as the caption and the hint while a target room is awaited, with the
  // room list focused.
  virtual void showTargetPrompt(const QString& message) = 0;
  // The caption of the open project, after the editor has closed.
  virtual void showProjectCaption() = 0;
  // Asks for room `name` to be opened in the editor, as following a link does. False, and
  // nothing asked, when the room has no text to open (the request would wait for one).
  bool requestRoom(const std::string& name) {
    if (!follow_link_ready(toPath(Percorso), name)) return false;
    followedFromEditor = false;
    SeguiLink = fromNameBytes(name);
    SegLink.start();
    return true;
  }
  // Asks for the room that the selected text names (follow_link_target) to be opened in
  // the editor; nothing when it names none.
  void followSelection(const QString& selection, bool requireHtm) {
    const auto target = follow_link_target(selection.toStdString(), requireHtm);
    if (!target) return;
    followedFromEditor = requireHtm;  // only the editor asks for a page name
    SeguiLink = fromUtf8(*target);
    SegLink.start();
  }
  // Forgets a pending target choice (Modi, Modi2 and Link).
  void clearTargetChoice() {
    Modi.clear();
    Modi2.clear();
    Link.clear();
  }
};

}  // namespace pm
