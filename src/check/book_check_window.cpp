// The book check window (see book_check_window.h).
#include "check/book_check_window.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "check/encoding_check.h"
#include "check/link_graph.h"
#include "project/book_encoding.h"
#include "project/help_pages.h"
#include "ui/accessibility.h"
#include "ui/bar_chart.h"
#include "ui/manager_requests.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {

const PlacementRule kPlacement{10800, 5400, true, Centring::Third};
constexpr const char* kIni = "Verifica.ini";

enum Column { kKind, kRoom, kLine, kMessage, kText, kColumns };

QString plural(size_t n, const char* one, const char* many) {
  return QString::number(n) + " " + (n == 1 ? one : many);
}

enum PathColumn { kPathKind, kPathRoom, kPathOdds, kPathShare, kPathSteps, kPathWay, kPathColumns };
constexpr int kRoomRole = Qt::UserRole;  // the room a row of the paths opens, as bytes

QString percent(double fraction) { return QLocale(QLocale::Italian).toString(fraction * 100, 'f', 1) + "%"; }
QString decimal(double v) { return QLocale(QLocale::Italian).toString(v, 'f', 1); }

QString roomNames(const LinkGraph& g, const std::vector<uint32_t>& rooms, const QString& separator, size_t atMost) {
  QStringList names;
  for (size_t i = 0; i < rooms.size() && i < atMost; ++i) names << fromNameBytes(g.rooms[rooms[i]].name);
  QString text = names.join(separator);
  if (rooms.size() > atMost) text += " e altre " + QString::number(rooms.size() - atMost);
  return text;
}

}  // namespace

BookCheckWindow::BookCheckWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "BookCheck", "Verifica del libro", help::kBookCheck, kPlacement, kIni) {
  setFocusPolicy(Qt::ClickFocus);  // keys reach the window when nothing inside has the focus; no Tab stop

  summary_ = new QLabel(this);
  summary_->setObjectName("Label1");
  exposeChangingLabel(summary_, "Riepilogo della verifica");
  summary_->setWordWrap(true);
  summary_->setFont(heavyFont(11));
  summary_->setStyleSheet("color: #1d2a36;");

  findingList_ = new QTreeWidget(this);
  findingList_->setObjectName("List1");
  findingList_->setAccessibleName("Problemi trovati nel libro");
  findingList_->setColumnCount(kColumns);
  findingList_->setHeaderLabels({"Tipo", "Stanza", "Riga", "Messaggio", "Testo"});
  findingList_->setRootIsDecorated(false);
  findingList_->setUniformRowHeights(true);
  findingList_->setAlternatingRowColors(true);
  findingList_->setSelectionMode(QAbstractItemView::SingleSelection);
  findingList_->header()->setStretchLastSection(true);
  findingList_->header()->setObjectName("List1Header");
  findingList_->header()->setAccessibleName("Colonne dell'elenco dei problemi");
  findingList_->installEventFilter(this);

  playSummary_ = new QLabel(this);
  playSummary_->setObjectName("Label2");
  exposeChangingLabel(playSummary_, "Riepilogo dei percorsi");
  playSummary_->setWordWrap(true);
  endingChart_ = new BarChart(this);
  endingChart_->setObjectName("Chart1");
  endingChart_->setAccessibleName("Grafico dei finali");
  endingChart_->setEmptyText("Nessuna stanza è segnata come finale.");
  chartScroll_ = new QScrollArea(this);
  auto* chartScroll = chartScroll_;
  chartScroll->setObjectName("ChartScroll");
  chartScroll->setAccessibleName("Grafico dei finali");
  chartScroll->setWidget(endingChart_);
  chartScroll->setWidgetResizable(true);
  pathList_ = new QTreeWidget(this);
  pathList_->setObjectName("List2");
  pathList_->setAccessibleName("Finali, trappole e stanze viste dai lettori");
  pathList_->setColumnCount(kPathColumns);
  pathList_->setHeaderLabels({"Tipo", "Stanza", "Probabilità", "Lettori", "Passi", "Percorso più breve"});
  pathList_->setRootIsDecorated(false);
  pathList_->setUniformRowHeights(true);
  pathList_->setAlternatingRowColors(true);
  pathList_->header()->setStretchLastSection(true);
  pathList_->header()->setObjectName("List2Header");
  pathList_->header()->setAccessibleName("Colonne dell'elenco dei percorsi");
  pathList_->installEventFilter(this);
  auto* paths = new QWidget(this);
  paths->setObjectName("PathsPage");
  auto* pathColumn = new QVBoxLayout(paths);
  pathColumn->setContentsMargins(0, 0, 0, 0);
  pathColumn->addWidget(playSummary_);
  pathColumn->addWidget(chartScroll);
  pathColumn->addWidget(pathList_, 1);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("Tabs1");
  tabs_->setAccessibleName("Verifica e percorsi");
  tabs_->addTab(findingList_, "Problemi");
  tabs_->addTab(paths, "Percorsi");

  openButton_ = new QPushButton("Apri la Stanza", this);
  openButton_->setObjectName("Command1");
  recheckButton_ = new QPushButton("Verifica di nuovo (F5)", this);
  recheckButton_->setObjectName("Command2");
  encodingButton_ = new QPushButton("Correggi la codifica", this);
  encodingButton_->setObjectName("Command4");
  encodingButton_->setToolTip("Riscrive nella codifica del libro i file che ne hanno un'altra");
  encodingButton_->setEnabled(false);
  closeButton_ = new QPushButton("Chiudi", this);
  closeButton_->setObjectName("Command3");
  for (QPushButton* b : {openButton_, recheckButton_, encodingButton_, closeButton_}) b->setAccessibleName(b->text());
  openButton_->setEnabled(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(openButton_);
  buttons->addStretch(1);
  buttons->addWidget(encodingButton_);
  buttons->addWidget(recheckButton_);
  buttons->addWidget(closeButton_);
  auto* column = new QVBoxLayout(this);
  column->addWidget(summary_);
  column->addWidget(tabs_, 1);
  column->addLayout(buttons);

  connect(findingList_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { openFinding(findingList_->indexOfTopLevelItem(item)); });
  auto enableOpen = [this] { openButton_->setEnabled(!currentRoom().empty() || (tabs_->currentIndex() == 0 && findingList_->currentItem())); };
  connect(findingList_, &QTreeWidget::currentItemChanged, this, enableOpen);
  connect(pathList_, &QTreeWidget::currentItemChanged, this, enableOpen);
  connect(tabs_, &QTabWidget::currentChanged, this, enableOpen);
  connect(openButton_, &QPushButton::clicked, this, [this] {
    if (tabs_->currentIndex() == 0) openFinding(findingList_->indexOfTopLevelItem(findingList_->currentItem()));
    else openRoom(currentRoom());
  });
  connect(pathList_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { openRoom(item->data(kPathRoom, kRoomRole).toByteArray().toStdString()); });
  connect(endingChart_, &BarChart::barActivated, this, [this](int i) {
    if (i >= 0 && size_t(i) < endingRooms_.size()) openRoom(endingRooms_[size_t(i)]);
  });
  connect(recheckButton_, &QPushButton::clicked, this, &BookCheckWindow::runCheck);
  connect(encodingButton_, &QPushButton::clicked, this, &BookCheckWindow::mendEncoding);
  connect(closeButton_, &QPushButton::clicked, this, [this] { closeWindow(); });
}

void BookCheckWindow::load() {
  runCheck();
}

void BookCheckWindow::runCheck() {
  findingList_->clear();
  pathList_->clear();
  endingChart_->setBars({});
  endingRooms_.clear();
  playSummary_->clear();
  result_ = {};
  playtest_ = {};
  folder_.clear();
  encodingButton_->setEnabled(false);
  ManagerRequests* m = owner()->manager();
  if (!m) {
    summary_->setText("Nessun progetto aperto: apri un progetto per verificarlo.");
    return;
  }
  const Project project = m->project();
  folder_ = m->Percorso;
  const LinkGraph graph = build_link_graph(project);
  result_ = check_book(graph);
  add_encoding_findings(project.folder(), result_);
  encodingButton_->setEnabled(std::any_of(result_.findings.begin(), result_.findings.end(),
                                          [](const Finding& f) { return f.kind == FindingKind::OtherEncoding; }));

  QList<QTreeWidgetItem*> rows;
  rows.reserve(qsizetype(result_.findings.size()));
  const QBrush errorInk(QColor(0xc0, 0x00, 0x00)), warningInk(QColor(0x8a, 0x5a, 0x00));
  for (const Finding& f : result_.findings) {
    auto* row = new QTreeWidgetItem;
    const bool error = f.severity == Severity::Error;
    row->setText(kKind, error ? "Errore" : "Avviso");
    row->setForeground(kKind, error ? errorInk : warningInk);
    row->setText(kRoom, f.room.empty() ? fromNameBytes(f.file) : fromNameBytes(f.room));
    row->setText(kLine, QString::number(f.line));
    row->setTextAlignment(kLine, Qt::AlignRight | Qt::AlignVCenter);
    row->setText(kMessage, fromUtf8(f.message_it));
    row->setText(kText, fromFileText(f.text).simplified());
    row->setToolTip(kText, row->text(kText));
    rows.append(row);
  }
  findingList_->addTopLevelItems(rows);
  for (int c : {kKind, kRoom, kLine, kMessage}) findingList_->resizeColumnToContents(c);
  if (!rows.isEmpty()) findingList_->setCurrentItem(rows.front());
  showSummary(graph.rooms.size());
  playtest_ = run_playtest(graph, PlaytestOptions{});
  showPlaytest(graph);
}

void BookCheckWindow::showPlaytest(const LinkGraph& g) {
  const PlaytestResult& r = playtest_;
  const PlaytestOptions& o = r.options;
  if (!r.has_start) {
    playSummary_->setText("La Stanza 0 non ha una pagina: nessun lettore può cominciare il libro.");
    return;
  }
  QString text = QString::number(o.runs) + " lettori a caso dalla Stanza 0 (al massimo " + QString::number(o.max_steps) +
                 " passi ciascuno): " + QString::number(r.ended) + " a un finale, " + QString::number(r.stuck) +
                 " bloccati in una trappola, " + QString::number(r.out_of_steps) + " fermati al limite dei passi. " +
                 "Probabilità esatta di arrivare a un finale: " + percent(r.odds.ending_probability) + "; passi attesi: " +
                 (r.odds.expected_steps ? decimal(*r.odds.expected_steps) : QString("senza fine (qualcuno non si ferma mai)")) +
                 ".";
  if (!r.odds.converged) text += " Calcolo esatto interrotto: le probabilità possono crescere fino a " + percent(r.odds.bound) + ".";
  playSummary_->setText(text);

  std::vector<BarChart::Bar> bars;
  QList<QTreeWidgetItem*> rows;
  auto row = [&](const QString& kind, const std::string& room, const QString& shown) {
    auto* item = new QTreeWidgetItem;
    item->setText(kPathKind, kind);
    item->setText(kPathRoom, shown);
    item->setData(kPathRoom, kRoomRole, QByteArray::fromStdString(room));
    for (int c : {kPathOdds, kPathShare, kPathSteps}) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    rows.append(item);
    return item;
  };
  for (const PlaytestEnding& e : r.endings) {
    const GraphRoom& room = g.rooms[e.room];
    const QString name = "Stanza " + fromNameBytes(room.name);
    const QString steps = e.expected_steps ? decimal(*e.expected_steps) : QString("-");
    bars.push_back({name, e.probability, e.share,
                    "probabilità " + percent(e.probability) + ", lettori " + percent(e.share) + ", passi " + steps});
    endingRooms_.push_back(room.name);
    QTreeWidgetItem* item = row("Finale", room.name, fromNameBytes(room.name));
    item->setText(kPathOdds, percent(e.probability));
    item->setText(kPathShare, percent(e.share));
    item->setText(kPathSteps, steps);
    item->setText(kPathWay, e.way.empty() ? QString("nessuna strada dalla Stanza 0") : roomNames(g, e.way, " → ", e.way.size()));
  }
  for (const PlaytestTrap& t : r.traps) {
    QTreeWidgetItem* item = row(t.loop ? "Ciclo chiuso" : "Vicolo cieco", g.rooms[t.rooms.front()].name,
                                roomNames(g, t.rooms, ", ", 12));
    item->setText(kPathOdds, percent(t.probability));
    item->setText(kPathShare, percent(t.share));
  }
  for (uint32_t v = 0; v < g.rooms.size(); ++v) {
    if (!g.rooms[v].has_page) continue;
    QTreeWidgetItem* item = row(r.room_share[v] > 0 ? "Stanza" : "Mai vista", g.rooms[v].name, fromNameBytes(g.rooms[v].name));
    item->setText(kPathShare, percent(r.room_share[v]));
  }
  endingChart_->setBars(std::move(bars));
  // As tall as the bars, up to a few rows; more scroll.
  chartScroll_->setFixedHeight(std::min(170, endingChart_->sizeHint().height() + 2 * chartScroll_->frameWidth()));
  pathList_->addTopLevelItems(rows);
  for (int c : {kPathKind, kPathRoom, kPathOdds, kPathShare, kPathSteps}) pathList_->resizeColumnToContents(c);
}

std::string BookCheckWindow::currentRoom() const {
  if (tabs_->currentIndex() != 1 || !pathList_->currentItem()) return {};
  return pathList_->currentItem()->data(kPathRoom, kRoomRole).toByteArray().toStdString();
}

bool BookCheckWindow::openRoom(const std::string& name) {
  if (name.empty()) return false;
  ManagerRequests* m = owner()->manager();
  if (!m || m->Percorso != folder_) {
    summary_->setText("Il progetto verificato non è più aperto: premi F5 per verificare di nuovo.");
    return false;
  }
  if (!m->requestRoom(name)) {
    summary_->setText("La Stanza " + fromNameBytes(name) + " non ha un testo da aprire nell'Editor.");
    return false;
  }
  return true;
}

void BookCheckWindow::showSummary(size_t rooms) {
  QString text = "Stanze verificate: " + QString::number(rooms) + ". ";
  if (result_.errors == 0 && result_.warnings == 0)
    text += "Nessun problema trovato.";
  else
    text += plural(result_.errors, "errore", "errori") + ", " + plural(result_.warnings, "avviso", "avvisi") + ".";
  summary_->setText(text);
}

bool BookCheckWindow::openFinding(int row) {
  if (row < 0 || size_t(row) >= result_.findings.size()) return false;
  const Finding& f = result_.findings[size_t(row)];
  ManagerRequests* m = owner()->manager();
  if (!m || m->Percorso != folder_) {
    summary_->setText("Il progetto verificato non è più aperto: premi F5 per verificare di nuovo.");
    return false;
  }
  // A room without its text file cannot be opened: that is reported instead.
  if (f.room.empty() || !m->requestRoom(f.room)) {
    summary_->setText("La Stanza " + fromNameBytes(f.room.empty() ? f.file : f.room) +
                      " non ha un testo da aprire nell'Editor.");
    return false;
  }
  return true;
}

void BookCheckWindow::mendEncoding() {
  ManagerRequests* m = owner()->manager();
  if (!m || m->Percorso != folder_) {
    summary_->setText("Il progetto verificato non è più aperto: premi F5 per verificare di nuovo.");
    return;
  }
  const Project project = m->project();
  const TextEncoding book = book_encoding(project.folder());
  const std::string question = "I file del libro che hanno un'altra codifica saranno riscritti in " +
                               encoding_name(book) +
                               ", la codifica del libro; le righe già giuste restano come sono. Continuare?";
  if (!context().prompts->ask_yes_no(question, "Correggi la codifica")) return;
  const BookConversion done = convert_book(project.folder(), book);
  runCheck();
  QString said = "File riscritti in " + fromUtf8(encoding_name(book)) + ": " + QString::number(done.changed.size()) + ".";
  if (!done.errors.empty()) {
    said += " Non riscritti:";
    for (const auto& e : done.errors) said += "\n" + fromUtf8(e);
    tell(said.toStdString(), MessageIcon::Warning);
  }
  summary_->setText(summary_->text() + " " + said.section('\n', 0, 0));
}

bool BookCheckWindow::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == findingList_ || watched == pathList_) && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (watched == findingList_) openFinding(findingList_->indexOfTopLevelItem(findingList_->currentItem()));
      else openRoom(currentRoom());
      return true;
    }
  }
  return ChildWindow::eventFilter(watched, event);
}

void BookCheckWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F5) {
    runCheck();
    return;
  }
  ChildWindow::keyPressEvent(event);
}

}  // namespace pm
