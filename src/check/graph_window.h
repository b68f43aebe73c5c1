// The window "Grafo dell'avventura": the book's rooms and links laid out by Graphviz and
// drawn with a graphics view. The layout runs in a child process (LayoutJob), watched
// through its descriptor, so the window never freezes and the author can cancel it; a
// book too large to draw is said so in Italian. Zoom with the wheel, pan by dragging,
// search a room by number, double-click a room to open it in the editor, F5 to redraw.
#pragma once

#include <QGraphicsView>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "check/graph_drawing.h"
#include "check/graph_layout.h"
#include "ui/child_window.h"

class QGraphicsScene;
class QLabel;
class QLineEdit;
class QPushButton;
class QSocketNotifier;

namespace pm {

class LayoutJob;

// The view of the map: the wheel zooms around the pointer, dragging pans, and a
// double-click on a room's box, or Enter or Space on the selected one, reports the room.
class GraphView : public QGraphicsView {
  Q_OBJECT
 public:
  explicit GraphView(QGraphicsScene* scene, QWidget* parent = nullptr);

 signals:
  void nodeActivated(int node);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

class GraphWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit GraphWindow(WindowOwner* owner);
  ~GraphWindow() override;

  // Places the window (it is in its frame by now) and starts drawing the project's map.
  void load();
  // Reads the open project again and starts laying it out (cancelling a layout running).
  void redraw();
  // Stops the layout running; the window says it was cancelled.
  void cancelLayout();
  bool busy() const;
  // Centres the view on room `number` and selects it; false when the map has no such room.
  bool findRoom(const QString& number);
  // Opens the room of node `node` in the editor; false when it cannot be opened.
  bool openNode(int node);

  // What is drawn: the number of rooms' boxes, the box of room `number` (nullptr when
  // not drawn), and the view.
  int drawnRooms() const { return int(nodeItems_.size()); }
  QGraphicsItem* roomItem(const QString& number) const;
  GraphView* view() const { return view_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool onClose() override;

 private:
  void pollJob();
  void stopWatching();
  void draw(const GraphLayout& layout);
  void showState(const QString& text, bool busy);

  QLabel* state_ = nullptr;
  QLineEdit* searchField_ = nullptr;
  QPushButton* findButton_ = nullptr;
  QPushButton* fitButton_ = nullptr;
  QPushButton* redrawButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QGraphicsScene* scene_ = nullptr;
  GraphView* view_ = nullptr;

  std::unique_ptr<LayoutJob> job_;
  QPointer<QSocketNotifier> notifier_;
  QTimer tick_;  // notices a layout that ran out of time without writing anything
  GraphDrawing drawing_;
  QString folder_;
  std::vector<QGraphicsItem*> nodeItems_;  // the rooms' boxes (their data: the node index)
};

}  // namespace pm
