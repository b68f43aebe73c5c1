// The window "Rinumera le Stanze" (see renumber_window.h).
#include "paper/renumber_window.h"

#include <random>

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/text_codec.h"
#include "paper/renumber.h"
#include "project/book_encoding.h"
#include "paper/room_references.h"
#include "project/help_pages.h"
#include "ui/accessibility.h"
#include "ui/manager_requests.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {
const PlacementRule kPlacement{9000, 6600, true, Centring::Third};
}

RenumberWindow::RenumberWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "Rinumera", "Rinumera le Stanze", help::kRenumber, kPlacement, "Rinumera.ini") {
  folderEdit_ = new QLineEdit(this);
  folderEdit_->setObjectName("Text1");
  folderEdit_->setAccessibleName("Cartella del nuovo progetto");
  shuffleCheck_ = new QCheckBox("Mescola le Stanze", this);
  shuffleCheck_->setObjectName("Check1");
  shuffleCheck_->setAccessibleName(shuffleCheck_->text());
  shuffleCheck_->setChecked(true);
  seedEdit_ = new QLineEdit(QString::number(std::random_device{}() % 100000), this);
  seedEdit_->setObjectName("Text2");
  seedEdit_->setAccessibleName("Seme del mescolamento");
  seedEdit_->setToolTip("Lo stesso seme dà lo stesso ordine");
  pinEdit_ = new QLineEdit(this);
  pinEdit_->setObjectName("Text3");
  pinEdit_->setAccessibleName("Stanze che tengono il loro numero");
  pinEdit_->setPlaceholderText("per esempio 99, 150 (la Stanza 0 resta sempre 0)");
  phraseEdit_ = new QPlainTextEdit(this);
  phraseEdit_->setObjectName("Text4");
  phraseEdit_->setAccessibleName("Frasi seguite da un numero di Stanza");
  QStringList phrases;
  for (const auto& p : default_reference_phrases()) phrases << fromUtf8(p);
  phraseEdit_->setPlainText(phrases.join('\n'));
  status_ = new QLabel(this);
  status_->setObjectName("Label1");
  status_->setWordWrap(true);
  exposeChangingLabel(status_, "Esito della rinumerazione");
  renumberButton_ = new QPushButton("Rinumera", this);
  renumberButton_->setObjectName("Command1");
  renumberButton_->setDefault(true);
  closeButton_ = new QPushButton("Chiudi", this);
  closeButton_->setObjectName("Command2");
  for (QPushButton* b : {renumberButton_, closeButton_}) b->setAccessibleName(b->text());

  auto* form = new QFormLayout;
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  form->setRowWrapPolicy(QFormLayout::WrapLongRows);
  form->addRow("Cartella del nuovo progetto:", folderEdit_);
  form->addRow(shuffleCheck_);
  form->addRow("Seme:", seedEdit_);
  form->addRow("Stanze fisse (separate da virgole):", pinEdit_);
  form->addRow("Frasi seguite da un numero di Stanza (una per riga):", phraseEdit_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(renumberButton_);
  buttons->addWidget(closeButton_);
  auto* column = new QVBoxLayout(this);
  column->addLayout(form, 1);
  column->addWidget(status_);
  column->addLayout(buttons);

  connect(shuffleCheck_, &QCheckBox::toggled, seedEdit_, &QWidget::setEnabled);
  connect(renumberButton_, &QPushButton::clicked, this, [this] { renumber(); });
  connect(closeButton_, &QPushButton::clicked, this, [this] { closeWindow(); });
}

void RenumberWindow::load() {
  ManagerRequests* m = owner()->manager();
  renumberButton_->setEnabled(m != nullptr);
  if (!m) {
    status_->setText("Nessun progetto aperto: apri il progetto da rinumerare.");
    return;
  }
  const stdfs::path folder = m->project().folder();
  folderEdit_->setText(fromPath(folder.parent_path() / path_from_text(path_text(folder.filename()) + " rinumerato")));
  status_->setText("Il progetto aperto non sarà toccato: le Stanze rinumerate vanno in un progetto nuovo.");
}

bool RenumberWindow::renumber() {
  ManagerRequests* m = owner()->manager();
  if (!m) return false;
  RenumberOptions options;
  options.shuffle = shuffleCheck_->isChecked();
  bool seedOk = true;
  options.seed = seedEdit_->text().trimmed().toULongLong(&seedOk);
  if (options.shuffle && !seedOk) {
    status_->setText("Il seme deve essere un numero intero non negativo.");
    return false;
  }
  for (const QString& pin : pinEdit_->text().split(',', Qt::SkipEmptyParts))
    if (!pin.trimmed().isEmpty()) options.pinned.push_back(pin.trimmed().toStdString());
  // The phrases as the book's bytes spell them.
  const TextEncoding encoding = book_encoding(m->project().folder());
  for (const QString& line : phraseEdit_->toPlainText().split('\n', Qt::SkipEmptyParts))
    if (!line.trimmed().isEmpty()) options.phrases.push_back(encode_for_reading_back(line.trimmed().toStdString(), encoding));
  const QString into = folderEdit_->text().trimmed();
  if (into.isEmpty()) {
    status_->setText("Scrivi la cartella del nuovo progetto.");
    return false;
  }
  const auto done = renumber_project(m->project().folder(), toPath(into), options);
  if (!done.ok()) {
    status_->setText(fromUtf8(done.status().message()));
    tell(done.status().message(), MessageIcon::Warning);
    return false;
  }
  status_->setText("Progetto rinumerato in " + into + ": " + QString::number(done->old_names.size()) +
                   " Stanze. I vecchi e i nuovi numeri sono in renumber.csv.");
  return true;
}

}  // namespace pm
