// The book check window (see book_check_window.h).
#include "check/book_check_window.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "check/encoding_check.h"
#include "check/link_graph.h"
#include "project/book_encoding.h"
#include "project/help_pages.h"
#include "ui/accessibility.h"
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
  column->addWidget(findingList_, 1);
  column->addLayout(buttons);

  connect(findingList_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { openFinding(findingList_->indexOfTopLevelItem(item)); });
  connect(findingList_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { openButton_->setEnabled(item != nullptr); });
  connect(openButton_, &QPushButton::clicked, this,
          [this] { openFinding(findingList_->indexOfTopLevelItem(findingList_->currentItem())); });
  connect(recheckButton_, &QPushButton::clicked, this, &BookCheckWindow::runCheck);
  connect(encodingButton_, &QPushButton::clicked, this, &BookCheckWindow::mendEncoding);
  connect(closeButton_, &QPushButton::clicked, this, [this] { closeWindow(); });
}

void BookCheckWindow::load() {
  runCheck();
}

void BookCheckWindow::runCheck() {
  findingList_->clear();
  result_ = {};
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
  if (watched == findingList_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      openFinding(findingList_->indexOfTopLevelItem(findingList_->currentItem()));
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
