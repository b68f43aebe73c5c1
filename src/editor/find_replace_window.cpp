// The find and replace window (see find_replace_window.h).
#include "editor/find_replace_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "editor/find_replace.h"
#include "project/help_pages.h"
#include "ui/editor_requests.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {
const long kWidth = 6600, kHeight = 3300;  // twips
}  // namespace

FindReplaceWindow::FindReplaceWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "FindReplace", fromUtf8(kFindWindowCaption), help::kFindReplace,
                  std::nullopt) {
  auto* menuBar = new QMenuBar(this);
  menuBar->setObjectName("MenuBar");
  menuBar->setAccessibleName("Menu");
  QMenu* fileMenu = menuBar->addMenu("File");
  fileMenu->setObjectName("File");
  QAction* closeItem = fileMenu->addAction("Chiudi");
  closeItem->setObjectName("Chiudi");
  connect(closeItem, &QAction::triggered, this, [this] { closeWindow(); });
  // The menu bar's own button for the items that do not fit.
  for (QToolButton* more : menuBar->findChildren<QToolButton*>()) more->setAccessibleName("Altre voci del menu");

  auto field = [this](const char* name, const QString& caption, QLineEdit*& edit) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QString(name) + "Label");
    edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setAccessibleName(caption);
    label->setBuddy(edit);
    return label;
  };
  QLabel* findLabel = field("txtfind", "Trova", findText_);
  QLabel* replaceLabel = field("txtreplace", "Sostituisci con", replacementText_);

  auto button = [this](const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAccessibleName(QString(caption).remove('&'));
    return b;
  };
  findButton_ = button("cmdfind", "&Trova");
  findNextButton_ = button("cmdfindnext", "T&rova successivo");
  replaceButton_ = button("cmdreplace", "&Sostituisci");
  replaceAllButton_ = button("cmdreplaceall", "S&ostituisci tutto");
  cancelButton_ = button("Command1", "&Annulla");
  findButton_->setDefault(true);
  connect(findButton_, &QPushButton::clicked, this, &FindReplaceWindow::find);
  connect(findNextButton_, &QPushButton::clicked, this, &FindReplaceWindow::findNext);
  connect(replaceButton_, &QPushButton::clicked, this, &FindReplaceWindow::replaceOne);
  connect(replaceAllButton_, &QPushButton::clicked, this, &FindReplaceWindow::replaceAll);
  connect(cancelButton_, &QPushButton::clicked, this, &FindReplaceWindow::cancel);

  auto* fields = new QGridLayout;
  fields->addWidget(findLabel, 0, 0);
  fields->addWidget(findText_, 0, 1);
  fields->addWidget(replaceLabel, 1, 0);
  fields->addWidget(replacementText_, 1, 1);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {findButton_, findNextButton_, replaceButton_, replaceAllButton_, cancelButton_})
    buttons->addWidget(b);
  buttons->addStretch(1);
  auto* row = new QHBoxLayout(this);
  const int m = twipsToPxX(this, 180);
  row->setContentsMargins(m, m, m, m);
  row->setSpacing(m);
  buttons->setSpacing(twipsToPxY(this, 60));
  row->setMenuBar(menuBar);
  row->addLayout(fields, 1);
  row->addLayout(buttons);
  fields->setRowStretch(2, 1);

  // Enter in "Trova" finds, as the default button would in a dialog.
  connect(findText_, &QLineEdit::returnPressed, this, &FindReplaceWindow::find);

  setTabOrder(findText_, replacementText_);
  setTabOrder(replacementText_, findButton_);

  // A click in the editor brings the editor's sub-window forward; the timer puts this
  // window back in front of it.
  keepInFront.setInterval(1500);
  connect(&keepInFront, &QTimer::timeout, this, [this] {
    if (parentWidget()) parentWidget()->raise();
  });
}

FindReplaceWindow::~FindReplaceWindow() = default;

void FindReplaceWindow::load() {
  // One twip below the top, centred across.
  const QSize client = owner()->clientSize();
  const int w = twipsToPxX(this, kWidth), h = twipsToPxY(this, kHeight);
  owner()->placeChild(this, QRect(std::max(0, (client.width() - w) / 2), twipsToPxY(this, 1), w, h));
  keepInFront.start();
  findText_->setFocus();
}

void FindReplaceWindow::mousePressEvent(QMouseEvent* event) {
  keepInFront.start();
  ChildWindow::mousePressEvent(event);
}

void FindReplaceWindow::select(const std::string& text, size_t start, size_t length) {
  EditorRequests* e = owner()->editor();
  if (!e) return;
  const size_t from = utf16_offset(text, start);
  e->selectRange(int(from), int(utf16_offset(text, start + length) - from));
  // The editor came forward to show the match: this window goes back above it, with the
  // keyboard, so that the next find is one key away.
  QWidget* focus = focusWidget();
  owner()->showChild(this, true);
  keepClearOf(e->selectionRect());
  if (focus) focus->setFocus();
}

void FindReplaceWindow::keepClearOf(const QRect& found) {
  const QRect frame = owner()->childGeometry(this);
  if (!frame.isValid() || !found.isValid()) return;
  const QPoint at = owner()->clientPoint(found.topLeft());
  const QSize client = owner()->clientSize();
  const WindowRect r = place_clear_of({frame.x(), frame.y(), frame.width(), frame.height()},
                                      {at.x(), at.y(), found.width(), found.height()}, client.width(), client.height());
  const QRect moved(int(r.left), int(r.top), int(r.width), int(r.height));
  if (moved != frame) owner()->placeChild(this, moved);
}

void FindReplaceWindow::showResult(const std::string& text, const FindResult& result) {
  if (result.selection) select(text, result.selection->start, result.selection->length);
  if (!result.message.empty())
    tell(std::string(result.message), MessageIcon::Information);
}

void FindReplaceWindow::showResult(const ReplaceResult& result) {
  EditorRequests* e = owner()->editor();
  if (!e) return;
  // The steps are in the history already: the text goes back as undo puts a text back.
  if (result.changes > 0) e->putBackRecorded(result.text);
  if (result.selection) select(result.text, result.selection->start, result.selection->length);
  if (!result.message.empty())
    tell(std::string(result.message), MessageIcon::Information);
}

void FindReplaceWindow::find() {
  EditorRequests* e = owner()->editor();
  if (!e) return;
  const std::string text = e->text().toStdString();
  showResult(text, find_first(text, findText_->text().toStdString()));
}

void FindReplaceWindow::findNext() {
  EditorRequests* e = owner()->editor();
  if (!e) return;
  const std::string text = e->text().toStdString();
  const Selection current = selection_from_utf16(text, size_t(e->selectionStart()), size_t(e->selectionLength()));
  showResult(text, find_next(text, current, findText_->text().toStdString()));
}

void FindReplaceWindow::replaceOne() {
  EditorRequests* e = owner()->editor();
  if (!e) return;
  const std::string text = e->text().toStdString();
  const Selection current = selection_from_utf16(text, size_t(e->selectionStart()), size_t(e->selectionLength()));
  showResult(find_and_replace_one(text, current, findText_->text().toStdString(),
                                  replacementText_->text().toStdString(), e->editHistory()));
}

void FindReplaceWindow::replaceAll() {
  EditorRequests* e = owner()->editor();
  if (!e) return;
  showResult(find_and_replace_all(e->text().toStdString(), findText_->text().toStdString(),
                            replacementText_->text().toStdString(), e->editHistory()));
}

void FindReplaceWindow::cancel() {
  keepInFront.stop();
  closeWindow();
}

}  // namespace pm
