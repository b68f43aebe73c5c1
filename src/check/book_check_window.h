// The window "Verifica del libro": the book check of the open project as a list of findings
// (errors and warnings with room, line and message) under a summary line. Double-click or
// Enter on a finding opens its room in the editor through the project manager's follow-link
// request; F5 checks again. "Correggi la codifica", after a confirmation, rewrites the book's
// text files that are in another encoding than the book's (convert_book) and checks again.
// The tab "Percorsi" shows how the book plays (playtest.h): a bar chart of the endings, the
// exact odds beside the share of random readers, the shortest ways, the traps and the share
// of readers who saw each room; a double-click or Enter on a row opens its room.
#pragma once

#include <QString>
#include <vector>

#include "check/book_check.h"
#include "check/playtest.h"
#include "ui/child_window.h"

class QLabel;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QTreeWidget;

namespace pm {

class BarChart;

class BookCheckWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit BookCheckWindow(WindowOwner* owner);

  // Checks the project (the window is in its frame by now).
  void load();
  // Checks the project open in the project manager and lists what it finds.
  void runCheck();
  // Opens the room of the finding at `row` in the editor; false when it names no room
  // that can be opened (the summary line then says why).
  bool openFinding(int row);
  // Asks, then converts the book's text files into its encoding and checks again.
  void mendEncoding();

  const CheckResult& result() const { return result_; }
  const PlaytestResult& playtest() const { return playtest_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showSummary(size_t rooms);
  void showPlaytest(const LinkGraph& graph);
  // Opens room `name` in the editor, or says on the summary line why it cannot.
  bool openRoom(const std::string& name);
  // The room of the current row of the tab shown; empty when none.
  std::string currentRoom() const;

  QLabel* summary_ = nullptr;
  QTreeWidget* findingList_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QLabel* playSummary_ = nullptr;
  BarChart* endingChart_ = nullptr;
  QScrollArea* chartScroll_ = nullptr;
  QTreeWidget* pathList_ = nullptr;
  std::vector<std::string> endingRooms_;  // the room of each bar of the chart
  QPushButton* openButton_ = nullptr;
  QPushButton* recheckButton_ = nullptr;
  QPushButton* encodingButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  CheckResult result_;
  PlaytestResult playtest_;
  QString folder_;  // the project folder the findings are about
};

}  // namespace pm
