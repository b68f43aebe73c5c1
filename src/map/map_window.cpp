// The adventure map window (see map_window.h).
#include "map/map_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "map/map_text.h"
#include "base/files.h"
#include "project/help_pages.h"
#include "ui/large_text_view.h"
#include "ui/manager_requests.h"
#include "ui/one_shot_timer.h"
#include "ui/qt_editor_icons.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {

const PlacementRule kPlacement{9600, 7200, true, Centring::Quarter};
constexpr std::string_view kPlacementFile = "Mappa.ini";
constexpr std::string_view kPrintFile = "Temp.txt";

}  // namespace

MapWindow::MapWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "MapWindow", "Mappa dell'avventura", help::kCompile, kPlacement, kPlacementFile) {
  setFocusPolicy(Qt::ClickFocus);  // keys reach the window when nothing inside has the focus; no Tab stop

  struct Button {
    QToolButton** slot;
    const char* name;
    EditorIcon icon;
    const char* tip;
  };
  const Button buttons[] = {{&printButton_, "Image1", EditorIcon::Print, "F2 - Stampa su Carta"},
                            {&rebuildButton_, "Image2", EditorIcon::Rebuild,
                             "F3 - Ricrea la mappa con le nuove impostazioni"},
                            {&closeButton_, "Image7", EditorIcon::Close, "ESC - Chiudi"}};
  for (const Button& b : buttons) {
    *b.slot = editorButton(this, b.name, b.icon, b.tip);
  }
  connect(printButton_, &QToolButton::clicked, this, &MapWindow::print);
  connect(rebuildButton_, &QToolButton::clicked, this, &MapWindow::rebuild);
  connect(closeButton_, &QToolButton::clicked, this, [this] { closeWindow(); });

  mapText_ = new LargeTextView(this);
  mapText_->setObjectName("Text1");
  mapText_->setAccessibleName("Mappa dell'avventura");
  mapText_->setFont(typewriterFont(10));
  mapText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(mapText_, &LargeTextView::mouseSelectionDone, this, &MapWindow::followSelection);

  optionsPanel_ = new QWidget(this);
  optionsPanel_->setObjectName("Picture1");
  optionsPanel_->setAttribute(Qt::WA_StyledBackground);
  optionsPanel_->setStyleSheet(
      "#Picture1 { background: rgba(247, 248, 250, 215); border: 1px solid #c3cad3; border-radius: 3px; }");
  numbersOnly_ = new QCheckBox("Mostra solo il numero di stanza", optionsPanel_);
  numbersOnly_->setObjectName("Check1");
  numbersOnly_->setAccessibleName(numbersOnly_->text());
  phraseLabel_ = new QLabel("Messaggio", optionsPanel_);
  phraseLabel_->setObjectName("Label1");
  phrase_ = new QLineEdit(fromUtf8(kDefaultLinkPhrase),
                          optionsPanel_);
  phrase_->setObjectName("Text2");
  phrase_->setAccessibleName("Messaggio");
  phrase_->setFont(typewriterFont(10));
  phraseLabel_->setBuddy(phrase_);

  startOnce(Compila, 100, this, [this] { build(); });
}

MapWindow::~MapWindow() = default;

void MapWindow::load() {
  setProjectControlsEnabled(false);
  mapText_->setFocus();
  Compila.start();
}

void MapWindow::build() {
  Compila.stop();
  // The phrase goes into the map among the rooms' lines, in the book's encoding.
  std::string phrase = phrase_->text().toStdString();
  if (!is_ascii(phrase))
    if (ManagerRequests* m = owner()->manager()) phrase = toFileText(phrase_->text(), book_encoding(m->project().folder()));
  if (link_phrase_feeds_itself(phrase)) {
    tell("La frase del collegamento non può contenere insieme i caratteri < e \": con una frase così la mappa "
         "crescerebbe senza fine. Cambia la frase e premi F3.",
         MessageIcon::Warning);
    return;
  }
  std::string map;
  if (ManagerRequests* m = owner()->manager()) {
    MapOptions options;
    options.numbers_only = numbersOnly_->isChecked();
    options.phrase = phrase;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    map = build_map_text(m->project(), m->roomEntries(), options);
    QApplication::restoreOverrideCursor();
  }
  mapText_->setText(std::move(map));
}

void MapWindow::rebuild() {
  mapText_->clear();
  Compila.start();
}

QString MapWindow::text() const { return mapText_->text(); }

void MapWindow::print() {
  const stdfs::path file = context().home.file(kPrintFile);
  if (Status written = write_file_atomic(file, mapText_->bytes()); !written.ok()) {
    tell("Non è possibile preparare la stampa della mappa: " + written.message(), MessageIcon::Critical);
    return;
  }
  context().platform->open_text_file(path_text(file));
}

void MapWindow::followSelection() {
  // The map's room numbers stand without ".htm".
  if (ManagerRequests* m = owner()->manager()) m->followSelection(mapText_->selectedText(), false);
}

bool MapWindow::onClose() {
  Compila.stop();
  if (ManagerRequests* m = owner()->manager()) {
    m->NomeLink.clear();
    m->Modi.clear();
    m->Modi2.clear();
  }
  setProjectControlsEnabled(true);
  return true;
}

void MapWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F2)
    print();
  else if (event->key() == Qt::Key_F3)
    rebuild();
  else
    return ChildWindow::keyPressEvent(event);
  event->accept();
}

void MapWindow::resizeEvent(QResizeEvent* event) {
  ChildWindow::resizeEvent(event);
  const int margin = twipsToPxX(this, 120);
  const int button = twipsToPxX(this, 520);
  int x = margin;
  for (QToolButton* b : {printButton_, rebuildButton_, closeButton_}) {
    b->setGeometry(x, twipsToPxY(this, 60), button, button);
    x += button + twipsToPxX(this, 60);
  }
  const int top = twipsToPxY(this, 60) + button + twipsToPxY(this, 60);
  const int panelHeight = twipsToPxY(this, 840);
  const int width = qMax(0, this->width() - 2 * margin);
  const int textHeight = qMax(0, height() - top - panelHeight - 2 * margin);
  mapText_->setGeometry(margin, top, width, textHeight);
  optionsPanel_->setGeometry(margin, top + textHeight + margin, width, panelHeight);
  const int row = twipsToPxY(this, 320);
  const int inner = twipsToPxX(this, 120);
  numbersOnly_->setGeometry(inner, twipsToPxY(this, 60), width - 2 * inner, row);
  const int labelWidth = phraseLabel_->sizeHint().width();
  const int secondRow = twipsToPxY(this, 440);
  phraseLabel_->setGeometry(inner, secondRow, labelWidth, row);
  phrase_->setGeometry(2 * inner + labelWidth, secondRow, qMax(0, width - 3 * inner - labelWidth), row);
}

}  // namespace pm
