// The window "Grafo dell'avventura": the book's rooms and links laid out by Graphviz and
// drawn with a graphics view. The whole book's layout runs in a child process (LayoutJob),
// watched through its descriptor, so the window never freezes: it shows how long it has
// been running and the author can cancel it. "Dintorni" shows instead the rooms within a
// few links of one room, forwards and backwards, laid out at once (neighbourhood.h); there a
// double-click on a room moves the centre to it, and on the centre opens it. A book of more
// than kWholeBookAtOpenLimit rooms opens on the neighbourhood of room 0. Zoom with the wheel,
// pan by dragging, search a room by number, double-click a room of the whole book to open it
// in the editor, F5 to redraw.
#pragma once

#include <QElapsedTimer>
#include <QGraphicsView>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "check/graph_drawing.h"
#include "check/graph_layout.h"
#include "ui/accessible_items.h"
#include "ui/child_window.h"

class QGraphicsScene;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSocketNotifier;
class QSpinBox;

namespace pm {

class LayoutJob;

// The view of the map: the wheel zooms around the pointer, dragging pans, and a
// double-click on a room's box reports the room. For the keyboard and assistive technology
// the rooms are a list: the arrow keys (and Home, End) go from room to room in number order,
// Enter or Space opens the selected one; each is read by its number, description and links.
class GraphView : public QGraphicsView, public AccessibleItems {
  Q_OBJECT
 public:
  explicit GraphView(QGraphicsScene* scene, QWidget* parent = nullptr);

  struct Room {
    QGraphicsItem* box = nullptr;
    int node = 0;
    QString name;         // "Stanza N: description"
    QString description;  // its links and what it is (start, ending, errors)
  };
  // The rooms drawn, in keyboard order (none while nothing is drawn).
  void setRooms(std::vector<Room> rooms);
  // The room the keyboard is on (-1: none), and going there.
  int currentRoom() const { return current_; }
  void setCurrentRoom(int i);

  int accessibleItemCount() const override { return int(rooms_.size()); }
  QString accessibleItemName(int i) const override { return rooms_[size_t(i)].name; }
  QString accessibleItemDescription(int i) const override { return rooms_[size_t(i)].description; }
  QRect accessibleItemRect(int i) const override;
  int currentAccessibleItem() const override { return current_; }
  void setCurrentAccessibleItem(int i) override { setCurrentRoom(i); }
  void activateAccessibleItem(int i) override;

 signals:
  void nodeActivated(int node);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void activateSelected();

  std::vector<Room> rooms_;
  int current_ = -1;
};

class GraphWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit GraphWindow(WindowOwner* owner);
  ~GraphWindow() override;

  // Starts drawing the project's map (the window is in its frame by now).
  void load();
  // Reads the open project again and shows it as before: its neighbourhood, or the whole
  // book laid out (cancelling a layout running).
  void redraw();
  // Starts laying out the whole book, however long it takes.
  void layoutWholeBook();
  // Shows the rooms within the chosen distance of room `number`; false when the book has no
  // page of that number.
  bool showNeighbourhood(const QString& number);
  // The room at the centre of the neighbourhood shown; empty when the whole book is shown.
  QString neighbourhoodCentre() const;
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
  void startWholeLayout();
  void clearMap();
  void activateNode(int node);
  void draw(const GraphLayout& layout);
  void showState(const QString& text, bool busy);
  // The drawn rooms as the keyboard and assistive technology go through them.
  std::vector<GraphView::Room> accessibleRooms() const;

  QLabel* state_ = nullptr;
  QLineEdit* searchField_ = nullptr;
  QPushButton* findButton_ = nullptr;
  QPushButton* fitButton_ = nullptr;
  QPushButton* redrawButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QSpinBox* distanceBox_ = nullptr;
  QPushButton* nearButton_ = nullptr;
  QPushButton* wholeButton_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QGraphicsScene* scene_ = nullptr;
  GraphView* view_ = nullptr;

  std::unique_ptr<LayoutJob> job_;
  QPointer<QSocketNotifier> notifier_;
  QTimer tick_;  // notices a layout that ran out of time without writing anything
  GraphDrawing whole_;    // the whole book
  GraphDrawing drawing_;  // what is drawn: the whole book or a neighbourhood
  bool near_ = false;     // a neighbourhood is shown, around centre_
  std::string centre_;
  bool wholeAsked_ = false;  // the author asked for the whole book of a large book
  QElapsedTimer clock_;      // since the whole book's layout started
  QString folder_;
  std::vector<QGraphicsItem*> nodeItems_;  // the rooms' boxes (their data: the node index)
};

}  // namespace pm
