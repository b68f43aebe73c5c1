// The global code chooser (see global_code_window.h).
#include "editor/global_code_window.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "project/help_pages.h"
#include "ui/editor_requests.h"
#include "ui/manager_requests.h"
#include "ui/qt_measure.h"

namespace pm {

namespace {
const PlacementRule kPlacement{7200, 4300, false, Centring::Third};
}

GlobalCodeWindow::GlobalCodeWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "GlobalCode", "Codice Esterno per Tutte eseguibile in tutte le Stanze",
                  help::kGlobalCode, kPlacement) {
  auto label = [this](const char* name, const QString& text, bool strong) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->setWordWrap(true);
    l->setStyleSheet(strong ? "color: #1d2a36; font-weight: bold;" : "color: #3a4754;");
    return l;
  };
  auto link = [this](const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAccessibleName(text);
    b->setFlat(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setStyleSheet(
        "QPushButton { color: #0b57a4; text-decoration: underline; text-align: left; border: none;"
        " background: transparent; padding: 2px 0; font-size: 11pt; }"
        "QPushButton:focus { outline: 1px dotted #0b57a4; }");
    return b;
  };
  QLabel* heading = label("Label1",
                          "Il seguente codice sarà disponibile in tutte le stanze. Utile ad esempio quando si vuole "
                          "aggiungere del codice JavaScript o un testo che sia presente in tutti i luoghi.",
                          true);
  beforeLink_ = link("Label2", "Aggiungi Codice prima della stanza.");
  QLabel* beforeNote =
      label("Label3", "In questo caso qualunque cosa tu metta verrà mostrata prima del contenuto della stanza.", false);
  afterLink_ = link("Label4", "Aggiungi Codice dopo la stanza.");
  QLabel* afterNote =
      label("Label5", "In questo caso qualunque cosa tu metta verrà mostrata dopo il contenuto della stanza.", false);
  connect(beforeLink_, &QPushButton::clicked, this, [this] { openFile("Global.cod"); });
  connect(afterLink_, &QPushButton::clicked, this, [this] { openFile("Global2.cod"); });

  auto* column = new QVBoxLayout(this);
  const int m = twipsToPxX(this, 240);
  column->setContentsMargins(m, m, m, m);
  column->addWidget(heading);
  column->addSpacing(m);
  column->addWidget(beforeLink_, 0, Qt::AlignLeft);
  column->addWidget(beforeNote);
  column->addSpacing(m / 2);
  column->addWidget(afterLink_, 0, Qt::AlignLeft);
  column->addWidget(afterNote);
  column->addStretch(1);
}

GlobalCodeWindow::~GlobalCodeWindow() = default;

void GlobalCodeWindow::load() {
  setProjectControlsEnabled(false);
  beforeLink_->setFocus();
}

void GlobalCodeWindow::openFile(const QString& name) {
  ManagerRequests* m = owner()->manager();
  if (!m) return;
  owner()->showChild(m->widget(), false);
  EditorRequests* e = owner()->openEditorFresh();
  if (!e) return;
  e->Percorso = m->Percorso;
  e->Nome = name;
  e->setRestricted(true);
}

bool GlobalCodeWindow::onClose() {
  setProjectControlsEnabled(true);
  return true;
}

}  // namespace pm
