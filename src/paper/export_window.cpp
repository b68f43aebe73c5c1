// The window "Esporta il libro" (see export_window.h).
#include "paper/export_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "paper/epub_export.h"
#include "paper/paper_book.h"
#include "paper/qt_document.h"
#include "project/help_pages.h"
#include "ui/accessibility.h"
#include "ui/manager_requests.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {
const PlacementRule kPlacement{8400, 6600, true, Centring::Third};
const char* const kExtensions[] = {"epub", "pdf", "odt"};
}  // namespace

ExportWindow::ExportWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "Esporta", "Esporta il libro", help::kExport, kPlacement, "Esporta.ini") {
  formatBox_ = new QComboBox(this);
  formatBox_->setObjectName("Combo1");
  formatBox_->setAccessibleName("Formato");
  formatBox_->addItems({"EPUB 3 (libri elettronici)", "PDF (da stampare)", "ODT (documento modificabile)"});
  pageBox_ = new QComboBox(this);
  pageBox_->setObjectName("Combo2");
  pageBox_->setAccessibleName("Formato della pagina");
  pageBox_->addItems({"A5", "A4"});
  pageBox_->setEnabled(false);
  pageBox_->setToolTip("Solo per il PDF");
  fileEdit_ = new QLineEdit(this);
  fileEdit_->setObjectName("Text1");
  fileEdit_->setAccessibleName("File da scrivere");
  progress_ = new QProgressBar(this);
  progress_->setObjectName("Progress1");
  progress_->setAccessibleName("Avanzamento dell'esportazione");
  progress_->setValue(0);
  lossList_ = new QListWidget(this);
  lossList_->setObjectName("List1");
  lossList_->setAccessibleName("Cosa la carta non può portare");
  status_ = new QLabel(this);
  status_->setObjectName("Label1");
  status_->setWordWrap(true);
  exposeChangingLabel(status_, "Esito dell'esportazione");
  exportButton_ = new QPushButton("Esporta", this);
  exportButton_->setObjectName("Command1");
  exportButton_->setDefault(true);
  closeButton_ = new QPushButton("Chiudi", this);
  closeButton_->setObjectName("Command2");
  for (QPushButton* b : {exportButton_, closeButton_}) b->setAccessibleName(b->text());

  auto* form = new QFormLayout;
  form->addRow("Formato:", formatBox_);
  form->addRow("Pagina:", pageBox_);
  form->addRow("File:", fileEdit_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(exportButton_);
  buttons->addWidget(closeButton_);
  auto* column = new QVBoxLayout(this);
  column->addLayout(form);
  column->addWidget(progress_);
  column->addWidget(new QLabel("Cosa la carta non può portare (Stanza per Stanza):", this));
  column->addWidget(lossList_, 1);
  column->addWidget(status_);
  column->addLayout(buttons);

  connect(formatBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
    pageBox_->setEnabled(index == 1);
    suggestFile();
  });
  connect(exportButton_, &QPushButton::clicked, this, [this] { exportBook(); });
  connect(closeButton_, &QPushButton::clicked, this, [this] { closeWindow(); });
}

void ExportWindow::load() {
  ManagerRequests* m = owner()->manager();
  exportButton_->setEnabled(m != nullptr);
  if (!m) {
    status_->setText("Nessun progetto aperto: apri il libro da esportare.");
    return;
  }
  suggestFile();
}

void ExportWindow::suggestFile() {
  ManagerRequests* m = owner()->manager();
  if (!m) return;
  const stdfs::path folder = m->project().folder();
  const std::string name = path_text(folder.filename()) + "." + kExtensions[std::max(0, formatBox_->currentIndex())];
  fileEdit_->setText(fromPath(folder.parent_path() / path_from_text(name)));
}

bool ExportWindow::exportBook() {
  ManagerRequests* m = owner()->manager();
  if (!m) return false;
  const QString file = fileEdit_->text().trimmed();
  if (file.isEmpty()) {
    status_->setText("Scrivi il nome del file da esportare.");
    return false;
  }
  const int format = formatBox_->currentIndex();
  lossList_->clear();
  progress_->setRange(0, 100);
  progress_->setValue(0);
  status_->setText("Lettura delle Stanze...");
  exportButton_->setEnabled(false);
  auto book = read_paper_book(m->project().folder(), format == 0 ? PaperLinks::Files : PaperLinks::Anchors,
                              [this](size_t done, size_t total) {
                                progress_->setValue(total ? int(done * 90 / total) : 90);
                                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                              });
  Status written = book.ok() ? Status() : book.status();
  if (book.ok()) {
    for (const auto& line : paper_losses(*book)) lossList_->addItem(fromUtf8(line));
    status_->setText("Scrittura del file...");
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    written = format == 0 ? write_epub(*book, toPath(file))
                          : write_paper_document(*book, toPath(file), format == 1 ? PaperDocument::Pdf : PaperDocument::Odt,
                                                 pageBox_->currentIndex() == 1 ? PaperSize::A4 : PaperSize::A5);
  }
  exportButton_->setEnabled(true);
  if (!written.ok()) {
    progress_->setValue(0);
    status_->setText(fromUtf8(written.message()));
    tell(written.message(), MessageIcon::Warning);
    return false;
  }
  progress_->setValue(100);
  status_->setText("Libro esportato in " + file + (lossList_->count() ? ". Nell'elenco, cosa la carta non porta." : "."));
  return true;
}

}  // namespace pm
