// The room script window (see script_window.h).
#include "editor/script_window.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include "project/help_pages.h"
#include "project/project.h"
#include "rooms/room_list.h"
#include "ui/block_caret_edit.h"
#include "ui/editor_requests.h"
#include "ui/manager_requests.h"
#include "ui/one_shot_timer.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {
const PlacementRule kPlacement{9600, 7200, true, Centring::Quarter};
}  // namespace

ScriptWindow::ScriptWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "Script", "Codice Esterno", help::kGlobalCode, kPlacement, "Editor2.ini") {
  textArea_ = new BlockCaretEdit(this);
  textArea_->setObjectName("Text1");
  textArea_->setAccessibleName("Script della Stanza");
  textArea_->setFont(typewriterFont(12));
  textArea_->setLineWrapMode(QPlainTextEdit::NoWrap);

  startOnce(Apri, 100, this, [this] { loadNow(); });

  // The room editor waits while its script is edited.
  if (EditorRequests* e = owner()->editor()) owner()->setChildEnabled(e->widget(), false);
  Apri.start();
}

ScriptWindow::~ScriptWindow() = default;

QString ScriptWindow::text() const {
  return textArea_->document()->toRawText().replace(QChar::ParagraphSeparator, '\n');
}

void ScriptWindow::loadNow() {
  Apri.stop();
  if (loaded_) return;
  ManagerRequests* m = owner()->manager();
  const RoomEntry entry = split_room_entry(m ? m->selectedEntry().toStdString() : std::string());
  setWindowTitle("Script per la Stanza \"" + Nome + " | " + fromUtf8(entry.description) + "\"");

  Result<LoadedText> r = load_editor_file(toPath(Percorso), room_script_name(toNameBytes(Nome)));
  if (!r.ok()) {
    // A script that exists but could not be read is never written over.
    tell(r.status().message() + "\nIl file non verrà modificato alla chiusura.", MessageIcon::Critical);
    loaded_ = true;
    textArea_->setReadOnly(true);
    return;
  }
  file_ = std::move(r).value();
  textArea_->setPlainText(fromUtf8(file_.display()));
  loaded_ = true;
  textArea_->moveCursor(QTextCursor::End);
  textArea_->setFocus();
}

bool ScriptWindow::onClose() {
  if (loaded_ && !textArea_->isReadOnly()) {
    if (Status saved = save_editor_file(toPath(Percorso), room_script_name(toNameBytes(Nome)), file_,
                                        text().toStdString());
        !saved.ok()) {
      // The author's script stays here until it can be written.
      tell(saved.message() + "\nIl testo resta nella finestra: risolvi il problema e chiudi di nuovo.", MessageIcon::Critical);
      return false;
    }
  }
  if (EditorRequests* e = owner()->editor()) owner()->setChildEnabled(e->widget(), true);
  return true;
}

// The text area fills the window less a margin of 70 twips across and the frame's title
// bar and border down (the frame is 140 twips wider and 510 taller than the text area).
void ScriptWindow::layoutControls() {
  const QRect outer = owner()->childGeometry(this);
  const QSize frame = outer.isValid() ? outer.size() : size();
  const int left = twipsToPxX(this, 70), top = twipsToPxY(this, 70);
  const int w = std::max(50, std::min(frame.width() - twipsToPxX(this, 140), width() - 2 * left));
  const int h = std::max(50, std::min(frame.height() - twipsToPxY(this, 510), height() - 2 * top));
  textArea_->setGeometry(left, top, w, h);
}

void ScriptWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutControls();
}

}  // namespace pm
