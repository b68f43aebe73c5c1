// The project properties window (see properties_window.h).
#include "project/properties_window.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "project/help_pages.h"
#include "base/prompts.h"
#include "ui/manager_requests.h"
#include "ui/one_shot_timer.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {
const char* const kMessageTitle = "Proprietà";
const PlacementRule kPlacement{6600, 3900, false, Centring::Third};
const char* const kLabels[7] = {"File", "Titolo", "Data", "Autore", "Sito Autore", "Email Autore",
                                "Risoluzione (Larghezza)"};
}  // namespace

PropertiesWindow::PropertiesWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "Proprieta", "Proprietà", help::kProperties, kPlacement) {
  auto* formLayout = new QFormLayout;
  formLayout->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  for (int i = 0; i < 7; ++i) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString("Text%1").arg(i + 1));
    box->setAccessibleName(kLabels[i]);
    auto* label = new QLabel(QString(kLabels[i]) + ":", this);
    label->setObjectName(QString("Label%1").arg(i + 1));
    label->setBuddy(box);
    formLayout->addRow(label, box);
    fields_[i] = box;
  }
  fields_[0]->setToolTip("Solo un dato: cambiarlo non rinomina la cartella né il file del progetto");
  fields_[6]->setPlaceholderText("100% oppure 800");
  skipStartPage_ = new QCheckBox("Salta il menù iniziale", this);
  skipStartPage_->setObjectName("Check1");
  skipStartPage_->setAccessibleName(skipStartPage_->text());

  auto* column = new QVBoxLayout(this);
  column->addLayout(formLayout);
  column->addWidget(skipStartPage_);
  column->addStretch(1);

  startOnce(Apri, 100, this, [this] { loadFields(); });

  // While the window is open the project manager takes no input and the room commands
  // are covered.
  if (ManagerRequests* m = owner()->manager()) owner()->setChildEnabled(m->widget(), false);
  owner()->setCoverShown(true);
}

void PropertiesWindow::loadFields() {
  ManagerRequests* m = owner()->manager();
  if (!m || loaded_) return;
  read_ = load_properties(m->project());
  book_ = book_encoding(m->project().folder());
  for (int i = 0; i < 7; ++i) fields_[i]->setText(fromFileText(read_.form.text[size_t(i)]));
  skipStartPage_->setChecked(read_.form.skip_start_page);
  shown_ = form();
  loaded_ = true;
  if (!read_.status.ok())
    tell(read_.status.message(), MessageIcon::Warning, kMessageTitle);
}

// The boxes as bytes: a box the author left as loaded gives back the file's own bytes; an
// edited box is one line of the project file, so a line break pasted into it is a space.
PropertiesForm PropertiesWindow::form() const {
  PropertiesForm out;
  for (int i = 0; i < 7; ++i) {
    const std::string& was = read_.form.text[size_t(i)];
    const QString text = fields_[i]->text();
    out.text[size_t(i)] = text == fromFileText(was) ? was : toFileText(oneLineText(text), book_);
  }
  out.skip_start_page = skipStartPage_->isChecked();
  return out;
}

bool PropertiesWindow::onClose() {
  ManagerRequests* m = owner()->manager();
  // A window closed before its load showed nothing: there is nothing to save. A project
  // file that could not be read is only written over when the author changed something,
  // and then save_properties refuses and says so.
  if (loaded_ && m && (read_.status.ok() || form() != shown_)) {
    const Status s = save_properties(m->project(), read_, form());
    if (s.kind() == StatusKind::WriteFailed) {
      tell(s.message() + "\nLe proprietà restano nella finestra: risolvi il problema e chiudi di nuovo.",
           MessageIcon::Critical, kMessageTitle);
      return false;
    }
    if (!s.ok()) tell(s.message(), MessageIcon::Warning, kMessageTitle);
    if (s.ok()) owner()->setSkipStartPage(form().skip_start_page);
  }
  if (m) owner()->setChildEnabled(m->widget(), true);
  // The room editor keeps the commands covered while it is open.
  owner()->setCoverShown(owner()->editor() != nullptr);
  return true;
}

}  // namespace pm
