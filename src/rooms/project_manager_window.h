// The project manager: the room list of the open project and every room-level operation
// (open, describe, duplicate, delete, test from a room), and the answer to the room
// editor when it waits for the target room of a link or of a timed redirect. It owns the
// project's identity (Percorso, Nome) for every other window while the project is open.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "project/project.h"

class QMenu;

namespace pm {

class MainWindow;

class ProjectManagerWindow : public QWidget {
  Q_OBJECT
 public:
  explicit ProjectManagerWindow(MainWindow* main, QWidget* parent = nullptr);
  ~ProjectManagerWindow() override;

  // Request fields (see the class comment); empty by default.
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
  QString Text1;          // scratch buffer of the duplication

  QListWidget* List1 = nullptr;  // the room list
  QLabel* Label1 = nullptr;      // the hint line
  QMenu* Menu1 = nullptr;        // the list's context menu

  QTimer Aggiorna;  // 100 ms: rebuild the list
  QTimer Apri;      // 100 ms: open the selected room, or answer a pending choice
  QTimer EditaStanza;  // 100 ms: edit the selected room's description
  QTimer Compila;   // 100 ms: whole-project test from the first room
  QTimer Compila2;  // 100 ms: the same for the compile dialog
  QTimer SegLink;   // 1 ms: follow a link

  // The selected entry, empty when nothing is selected.
  QString selectedEntry() const;
  // The room numbers, in list order.
  std::vector<std::string> roomNumbers() const;
  int entryCount() const;
  // The list build (what Aggiorna does).
  void rebuildList();

  // The open project (Percorso and Nome).
  Project project() const;

  // Called by the main window once the window is in its sub-window: toolbar, first list
  // build, placement from Manager.ini.
  void load();

  // The actions of the list and its context menu.
  void chooseByDoubleClick();
  void openSelected();       // the Apri action
  void editDescription();    // the EditaStanza action
  void duplicateSelected();  // "Duplica Stanza..."
  void deleteSelected();     // "Elimina Stanza"
  void testFromSelected();   // "Testa il progetto da qui..."
  void openFromMenu();       // "Apri Stanza"

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int selectedRow() const;
  std::string selectedNumber() const;  // the number of the selected entry, as bytes
  void sendCommand(const QString& code);
  void insertLink(const std::string& number);
  bool insertRedirect(const std::string& number);  // false when the seconds were not given
  void backToEditor();
  void compileFromFirst(QString ProjectManagerWindow::*flag);
  void refuse(const char* message);
  void layoutControls();

  MainWindow* main_;
  QWidget* hintPanel_ = nullptr;
  std::vector<std::string> entries_;  // the list's entries as bytes
  bool rebuilding_ = false;
};

}  // namespace pm
