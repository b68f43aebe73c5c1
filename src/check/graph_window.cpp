// The graph map window (see graph_window.h).
#include "check/graph_window.h"

#include <QFontMetricsF>
#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QSocketNotifier>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "check/book_check.h"
#include "check/graphviz_layout_job.h"
#include "check/link_graph.h"
#include "check/neighbourhood.h"
#include "base/text.h"
#include "project/help_pages.h"
#include "ui/accessibility.h"
#include "ui/manager_requests.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {

const PlacementRule kPlacement{11000, 7500, true, Centring::Quarter};
constexpr const char* kIni = "Grafo.ini";
constexpr int kNodeKey = 0;  // item data: the node index of a room's box
constexpr double kMinZoom = 0.02, kMaxZoom = 8;

QColor colour(std::string_view hex) { return QColor(fromUtf8(hex)); }

QPainterPath roundedBox(const QRectF& r) {
  QPainterPath p;
  const double radius = std::min(6.0, r.height() / 3);
  p.addRoundedRect(r, radius, radius);
  return p;
}

// The arrow head at the end of a curve: pointing from `from` to `tip`.
QPolygonF arrowHead(QPointF from, QPointF tip) {
  QLineF line(tip, from);
  if (line.length() < 0.01) return {};
  line.setLength(7);
  QLineF left = line, right = line;
  left.setAngle(line.angle() + 22);
  right.setAngle(line.angle() - 22);
  return QPolygonF({tip, left.p2(), right.p2()});
}

}  // namespace

// ---- the view ------------------------------------------------------------------------------

GraphView::GraphView(QGraphicsScene* scene, QWidget* parent) : QGraphicsView(scene, parent) {
  setDragMode(QGraphicsView::ScrollHandDrag);
  setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
  setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  setBackgroundBrush(QColor(0xfa, 0xfb, 0xfc));
  installAccessibleItemsView("pm::GraphView");
}

void GraphView::setRooms(std::vector<Room> rooms) {
  rooms_ = std::move(rooms);
  current_ = -1;
  accessibleItemsReset(this);
}

void GraphView::setCurrentRoom(int i) {
  if (i < 0 || i >= int(rooms_.size())) return;
  current_ = i;
  scene()->clearSelection();
  rooms_[size_t(i)].box->setSelected(true);
  ensureVisible(rooms_[size_t(i)].box);
  announceCurrentItem(this);
}

QRect GraphView::accessibleItemRect(int i) const {
  const QRect r = mapFromScene(rooms_[size_t(i)].box->sceneBoundingRect()).boundingRect();
  const QRect shown = r.intersected(viewport()->rect());
  return shown.isEmpty() ? QRect() : shown.translated(viewport()->pos());
}

// Enter and Space open the room whose box is selected, whether the keys or the mouse chose it.
void GraphView::activateSelected() {
  for (QGraphicsItem* item : scene()->selectedItems())
    if (const QVariant node = item->data(kNodeKey); node.isValid()) {
      emit nodeActivated(node.toInt());
      return;
    }
  activateAccessibleItem(current_);
}

void GraphView::activateAccessibleItem(int i) {
  if (i >= 0 && i < int(rooms_.size())) emit nodeActivated(rooms_[size_t(i)].node);
}

void GraphView::keyPressEvent(QKeyEvent* event) {
  const int last = int(rooms_.size()) - 1;
  switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down: setCurrentRoom(std::min(current_ + 1, last)); break;
    case Qt::Key_Left:
    case Qt::Key_Up: setCurrentRoom(std::max(current_ - 1, 0)); break;
    case Qt::Key_Home: setCurrentRoom(0); break;
    case Qt::Key_End: setCurrentRoom(last); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: activateSelected(); break;
    default: QGraphicsView::keyPressEvent(event); return;
  }
  event->accept();
}

void GraphView::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps == 0) return;
  double factor = std::pow(1.2, steps);
  const double zoom = transform().m11();
  factor = std::clamp(zoom * factor, kMinZoom, kMaxZoom) / zoom;
  scale(factor, factor);
  event->accept();
}

void GraphView::mouseDoubleClickEvent(QMouseEvent* event) {
  for (QGraphicsItem* item = itemAt(event->position().toPoint()); item; item = item->parentItem()) {
    const QVariant node = item->data(kNodeKey);
    if (node.isValid()) {
      emit nodeActivated(node.toInt());
      event->accept();
      return;
    }
  }
  QGraphicsView::mouseDoubleClickEvent(event);
}


// ---- the window ----------------------------------------------------------------------------

GraphWindow::GraphWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "GraphMap", "Grafo dell'avventura", help::kGraph, kPlacement, kIni) {
  setFocusPolicy(Qt::ClickFocus);  // keys reach the window when nothing inside has the focus; no Tab stop

  auto* searchLabel = new QLabel("Stanza n.", this);
  searchLabel->setObjectName("Label2");
  searchField_ = new QLineEdit(this);
  searchField_->setObjectName("Text1");
  searchField_->setAccessibleName("Numero della Stanza da cercare");
  searchField_->setPlaceholderText("numero");
  searchField_->setMaximumWidth(90);
  searchLabel->setBuddy(searchField_);
  findButton_ = new QPushButton("Trova", this);
  findButton_->setObjectName("Command1");
  fitButton_ = new QPushButton("Adatta alla finestra", this);
  fitButton_->setObjectName("Command2");
  redrawButton_ = new QPushButton("Ridisegna (F5)", this);
  redrawButton_->setObjectName("Command3");
  cancelButton_ = new QPushButton("Annulla il calcolo", this);
  cancelButton_->setObjectName("Command4");
  auto* distanceLabel = new QLabel("Distanza", this);
  distanceLabel->setObjectName("Label3");
  distanceBox_ = new QSpinBox(this);
  distanceBox_->setObjectName("Spin1");
  distanceBox_->setRange(kMinNeighbourhood, kMaxNeighbourhood);
  distanceBox_->setValue(2);
  distanceBox_->setAccessibleName("Distanza dei dintorni, in collegamenti");
  distanceBox_->setToolTip("Quanti collegamenti, avanti e indietro, dalla Stanza al centro dei dintorni");
  distanceLabel->setBuddy(distanceBox_);
  nearButton_ = new QPushButton("Dintorni", this);
  nearButton_->setObjectName("Command5");
  nearButton_->setToolTip("Le Stanze vicine alla Stanza cercata o scelta, avanti e indietro");
  wholeButton_ = new QPushButton("Tutto il libro", this);
  wholeButton_->setObjectName("Command6");
  wholeButton_->setToolTip("Disegna tutto il libro: per un libro grande può volerci molto");
  for (QPushButton* b : {findButton_, fitButton_, redrawButton_, cancelButton_, nearButton_, wholeButton_})
    b->setAccessibleName(b->text());
  cancelButton_->setEnabled(false);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("Progress1");
  progress_->setAccessibleName("Avanzamento del calcolo del grafo");
  progress_->setRange(0, 0);  // Graphviz does not say how far it is: a busy bar and the time
  progress_->setMaximumWidth(160);
  progress_->setTextVisible(false);
  progress_->hide();

  state_ = new QLabel(this);
  state_->setObjectName("Label1");
  exposeChangingLabel(state_, "Stato del grafo");
  state_->setWordWrap(true);
  state_->setStyleSheet("color: #1d2a36;");

  scene_ = new QGraphicsScene(this);
  view_ = new GraphView(scene_, this);
  view_->setObjectName("Picture1");
  view_->setAccessibleName("Grafo dell'avventura");

  auto* tools = new QHBoxLayout;
  tools->addWidget(searchLabel);
  tools->addWidget(searchField_);
  tools->addWidget(findButton_);
  tools->addWidget(fitButton_);
  tools->addStretch(1);
  tools->addWidget(redrawButton_);
  tools->addWidget(cancelButton_);
  auto* near = new QHBoxLayout;
  near->addWidget(distanceLabel);
  near->addWidget(distanceBox_);
  near->addWidget(nearButton_);
  near->addWidget(wholeButton_);
  near->addStretch(1);
  near->addWidget(progress_);
  auto* column = new QVBoxLayout(this);
  column->addLayout(tools);
  column->addLayout(near);
  column->addWidget(state_);
  column->addWidget(view_, 1);

  auto find = [this] {
    if (busy()) return;  // nothing is drawn yet; the state line says so
    const QString number = searchField_->text().trimmed();
    // A room outside the neighbourhood shown becomes its centre.
    if (!findRoom(number) && !(near_ && showNeighbourhood(number)))
      state_->setText("Nel grafo non c'è la Stanza " + number + ".");
  };
  connect(findButton_, &QPushButton::clicked, this, find);
  connect(searchField_, &QLineEdit::returnPressed, this, find);
  connect(fitButton_, &QPushButton::clicked, this,
          [this] { view_->fitInView(scene_->itemsBoundingRect(), Qt::KeepAspectRatio); });
  connect(redrawButton_, &QPushButton::clicked, this, &GraphWindow::redraw);
  connect(cancelButton_, &QPushButton::clicked, this, &GraphWindow::cancelLayout);
  connect(view_, &GraphView::nodeActivated, this, &GraphWindow::activateNode);
  connect(nearButton_, &QPushButton::clicked, this, [this] {
    // The room searched for, else the one selected, else the centre, else room 0.
    QString number = searchField_->text().trimmed();
    if (number.isEmpty())
      for (QGraphicsItem* item : scene_->selectedItems())
        if (const QVariant node = item->data(kNodeKey); node.isValid())
          number = fromNameBytes(drawing_.nodes[size_t(node.toInt())].name);
    if (number.isEmpty()) number = near_ ? neighbourhoodCentre() : QString("0");
    if (whole_.nodes.empty())
      state_->setText("Nessun progetto aperto: apri un progetto per disegnarne il grafo.");
    else if (!showNeighbourhood(number))
      state_->setText("Nel grafo non c'è la Stanza " + number + ".");
  });
  connect(wholeButton_, &QPushButton::clicked, this, &GraphWindow::layoutWholeBook);
  connect(distanceBox_, &QSpinBox::valueChanged, this, [this] {
    if (near_) showNeighbourhood(neighbourhoodCentre());
  });
  tick_.setInterval(250);
  connect(&tick_, &QTimer::timeout, this, &GraphWindow::pollJob);
}

void GraphWindow::load() {
  redraw();
}

GraphWindow::~GraphWindow() { stopWatching(); }

bool GraphWindow::busy() const { return job_ && !job_->finished(); }

void GraphWindow::showState(const QString& text, bool running) {
  state_->setText(text);
  cancelButton_->setEnabled(running);
  findButton_->setEnabled(!running);
  progress_->setVisible(running);
}

void GraphWindow::clearMap() {
  view_->setRooms({});
  scene_->clear();
  nodeItems_.clear();
  drawing_ = {};
}

void GraphWindow::redraw() {
  stopWatching();
  clearMap();
  whole_ = {};
  folder_.clear();
  ManagerRequests* m = owner()->manager();
  if (!m) {
    near_ = false;
    showState("Nessun progetto aperto: apri un progetto per disegnarne il grafo.", false);
    return;
  }
  folder_ = m->Percorso;
  const LinkGraph graph = build_link_graph(m->project());
  whole_ = make_graph_drawing(graph, check_book(graph));
  if (near_ && showNeighbourhood(neighbourhoodCentre())) return;
  if (whole_.nodes.size() > kWholeBookAtOpenLimit && !wholeAsked_ && showNeighbourhood("0")) {
    state_->setText(state_->text() + " Il libro ha " + QString::number(whole_.nodes.size()) +
                    " stanze: \"Tutto il libro\" le disegna tutte, e può volerci molto.");
    return;
  }
  startWholeLayout();
}

void GraphWindow::layoutWholeBook() {
  wholeAsked_ = true;
  if (whole_.nodes.empty()) return redraw();
  startWholeLayout();
}

void GraphWindow::startWholeLayout() {
  stopWatching();
  clearMap();
  near_ = false;
  centre_.clear();
  drawing_ = whole_;
  // No time limit: the author sees the time go by and cancels when it is enough.
  job_ = std::make_unique<LayoutJob>(std::chrono::hours(24));
  job_->start(drawing_);
  showState("Calcolo del grafo...", true);
  clock_.start();
  if (job_->descriptor() >= 0) {
    notifier_ = new QSocketNotifier(job_->descriptor(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &GraphWindow::pollJob);
  }
  tick_.start();
  pollJob();
}

bool GraphWindow::showNeighbourhood(const QString& number) {
  const std::string name = toNameBytes(number);
  uint32_t centre = 0;
  while (centre < whole_.nodes.size() && !iequals(whole_.nodes[centre].name, name)) ++centre;
  if (centre >= whole_.nodes.size()) return false;
  stopWatching();
  Neighbourhood n = make_neighbourhood(whole_, centre, distanceBox_->value());
  clearMap();
  drawing_ = std::move(n.drawing);
  near_ = true;
  centre_ = drawing_.nodes[n.centre].name;
  draw(n.layout);
  QString text = "Dintorni della Stanza " + fromNameBytes(centre_) + " entro " +
                 QString::number(distanceBox_->value()) + " collegamenti: " + QString::number(drawing_.nodes.size()) +
                 " stanze.";
  if (n.cut) text += " Sono troppe: qui solo le " + QString::number(kNeighbourhoodRoomLimit) + " più vicine.";
  text += " Doppio clic su una Stanza per spostarvi il centro; sul centro, per aprirla nell'Editor.";
  showState(text, false);
  findRoom(fromNameBytes(centre_));
  return true;
}

QString GraphWindow::neighbourhoodCentre() const { return near_ ? fromNameBytes(centre_) : QString(); }

void GraphWindow::activateNode(int node) {
  if (node < 0 || size_t(node) >= drawing_.nodes.size()) return;
  if (near_ && drawing_.nodes[size_t(node)].name != centre_) {
    showNeighbourhood(fromNameBytes(drawing_.nodes[size_t(node)].name));
    return;
  }
  openNode(node);
}

// Takes what the layout process has written; once it has ended, draws the map or says why not.
void GraphWindow::pollJob() {
  if (!job_) return;
  // The job closes its descriptor when the process ends: the notifier goes first.
  if (notifier_) notifier_->setEnabled(false);
  if (!job_->wait(std::chrono::milliseconds(0))) {
    if (notifier_) notifier_->setEnabled(true);
    if (const qint64 seconds = clock_.elapsed() / 1000; seconds > 0)
      state_->setText("Calcolo del grafo... " + QString::number(seconds) + " s");
    return;
  }
  stopWatching();
  const LayoutResult& r = job_->result();
  if (r.outcome == LayoutOutcome::Done) {
    draw(r.layout);
    showState("Stanze: " + QString::number(drawing_.nodes.size()) + ", collegamenti: " +
                  QString::number(drawing_.edges.size()) + ". Doppio clic su una Stanza per aprirla nell'Editor.",
              false);
  } else {
    showState(fromUtf8(r.message_it), false);
  }
}

void GraphWindow::stopWatching() {
  tick_.stop();
  delete notifier_.data();
  if (job_ && !job_->finished()) job_->cancel();
}

void GraphWindow::cancelLayout() {
  if (!busy()) return;
  stopWatching();
  showState(fromUtf8(job_->result().message_it), false);
}

void GraphWindow::draw(const GraphLayout& layout) {
  view_->setRooms({});
  scene_->clear();
  nodeItems_.assign(drawing_.nodes.size(), nullptr);
  const QColor arrowColour = colour(kArrowColour);
  for (const EdgeCurve& curve : layout.edges) {
    if (curve.points.size() < 2 || curve.edge >= drawing_.edges.size()) continue;
    QPainterPath path(QPointF(curve.points[0].x, curve.points[0].y));
    for (size_t i = 1; i + 2 < curve.points.size(); i += 3)
      path.cubicTo(QPointF(curve.points[i].x, curve.points[i].y), QPointF(curve.points[i + 1].x, curve.points[i + 1].y),
                   QPointF(curve.points[i + 2].x, curve.points[i + 2].y));
    QPen pen(arrowColour, 1);
    if (drawing_.edges[curve.edge].timed) pen.setStyle(Qt::DashLine);
    auto* line = scene_->addPath(path, pen);
    line->setZValue(0);
    const Point& a = curve.points[curve.points.size() - 2];
    const Point& b = curve.points.back();
    auto* head = scene_->addPolygon(arrowHead(QPointF(a.x, a.y), QPointF(b.x, b.y)), QPen(arrowColour, 1),
                                    QBrush(arrowColour));
    head->setZValue(0);
  }
  QFont font("DejaVu Sans");
  font.setPixelSize(10);  // the scene is in points: 10 points as Graphviz measured them
  const QFontMetricsF metrics(font);
  for (const NodeBox& box : layout.nodes) {
    if (box.node >= drawing_.nodes.size()) continue;
    const DrawnNode& node = drawing_.nodes[box.node];
    const NodeLook look = node_look(node);
    const QRectF r(box.center.x - box.width / 2, box.center.y - box.height / 2, box.width, box.height);
    auto* item = scene_->addPath(roundedBox(r), QPen(colour(look.stroke), look.pen_width), QBrush(colour(look.fill)));
    item->setZValue(1);
    item->setFlag(QGraphicsItem::ItemIsSelectable);
    item->setData(kNodeKey, int(box.node));
    item->setToolTip(fromUtf8(node.label));
    item->setCursor(Qt::PointingHandCursor);
    if (look.frames > 1) {
      auto* inner = new QGraphicsPathItem(roundedBox(r.adjusted(3, 3, -3, -3)), item);
      inner->setPen(QPen(colour(look.stroke), look.pen_width));
    }
    auto* label = new QGraphicsSimpleTextItem(
        metrics.elidedText(fromUtf8(node.label), Qt::ElideRight, std::max(10.0, box.width - 8)), item);
    label->setFont(font);
    label->setBrush(colour(look.text));
    const QRectF t = label->boundingRect();
    label->setPos(box.center.x - t.width() / 2, box.center.y - t.height() / 2);
    nodeItems_[box.node] = item;
  }
  std::erase(nodeItems_, nullptr);
  view_->setRooms(accessibleRooms());
  scene_->setSceneRect(scene_->itemsBoundingRect().adjusted(-20, -20, 20, 20));
  // A small map at its own size; a large one fitted, so the author sees its whole shape.
  view_->resetTransform();
  const QRectF all = scene_->sceneRect();
  if (all.width() > view_->viewport()->width() || all.height() > view_->viewport()->height())
    view_->fitInView(all, Qt::KeepAspectRatio);
  if (view_->transform().m11() < kMinZoom) {
    view_->resetTransform();
    view_->scale(kMinZoom, kMinZoom);
  }
  // Room 0 in sight, where the reader starts.
  if (QGraphicsItem* start = roomItem("0")) view_->centerOn(start);
}

std::vector<GraphView::Room> GraphWindow::accessibleRooms() const {
  std::vector<QStringList> links(drawing_.nodes.size()), jumps(drawing_.nodes.size());
  for (const DrawnEdge& e : drawing_.edges)
    if (e.from < drawing_.nodes.size() && e.to < drawing_.nodes.size())
      (e.timed ? jumps : links)[e.from] << fromNameBytes(drawing_.nodes[e.to].name);
  std::vector<GraphView::Room> rooms;
  for (QGraphicsItem* item : nodeItems_) {
    const int node = item->data(kNodeKey).toInt();
    const DrawnNode& n = drawing_.nodes[size_t(node)];
    QString label = fromUtf8(n.label);
    const QString prefix = fromNameBytes(n.name) + " · ";
    if (label.startsWith(prefix)) label = label.mid(prefix.size());
    QStringList about;
    if (n.start) about << "inizio del libro";
    if (n.ending) about << "finale";
    if (n.error) about << "con errori";
    if (n.unreachable) about << "irraggiungibile";
    about << (links[size_t(node)].isEmpty() ? QString("nessun collegamento")
                                            : "collegamenti a " + links[size_t(node)].join(", "));
    if (!jumps[size_t(node)].isEmpty()) about << "salto a tempo a " + jumps[size_t(node)].join(", ");
    rooms.push_back({item, node, "Stanza " + fromNameBytes(n.name) + ": " + label, about.join("; ")});
  }
  return rooms;
}

QGraphicsItem* GraphWindow::roomItem(const QString& number) const {
  const std::string name = toNameBytes(number);
  for (QGraphicsItem* item : nodeItems_)
    if (drawing_.nodes[size_t(item->data(kNodeKey).toInt())].name == name) return item;
  return nullptr;
}

bool GraphWindow::findRoom(const QString& number) {
  QGraphicsItem* item = roomItem(number);
  if (!item) return false;
  scene_->clearSelection();
  item->setSelected(true);
  view_->centerOn(item);
  return true;
}

bool GraphWindow::openNode(int node) {
  if (node < 0 || size_t(node) >= drawing_.nodes.size()) return false;
  const DrawnNode& n = drawing_.nodes[size_t(node)];
  ManagerRequests* m = owner()->manager();
  if (!m || m->Percorso != folder_) {
    state_->setText("Il progetto del grafo non è più aperto: premi F5 per ridisegnarlo.");
    return false;
  }
  if (!m->requestRoom(n.name)) {
    state_->setText("La Stanza " + fromNameBytes(n.name) + " non ha un testo da aprire nell'Editor.");
    return false;
  }
  return true;
}

void GraphWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F5) {
    redraw();
    return;
  }
  ChildWindow::keyPressEvent(event);
}

bool GraphWindow::onClose() {
  stopWatching();
  return true;
}

}  // namespace pm
