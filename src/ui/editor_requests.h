// The room editor's face to the other windows: its request fields and timers and the
// selection through which the project manager and the main window put text into it. The
// room editor window implements it.
#pragma once

#include <QRect>
#include <QString>
#include <QTimer>
#include <string>

#include "project/project.h"
#include "ui/qt_paths.h"

class QWidget;

namespace pm {

class EditHistory;

class EditorRequests {
 public:
  virtual ~EditorRequests() = default;

  QString Percorso;  // project folder
  QString Nome;      // room number, "Global.cod", "Global2.cod" or "adv.css"
  QString NoSave;    // "1": the next close does not write the file

  QTimer Apri;     // 100 ms, loads the file
  QTimer Compila;  // 100 ms, the compile timer (room test, project test, build without installer)
  QTimer SeguiLk;  // 100 ms, marks the caption after a follow-link open

  virtual QWidget* widget() = 0;
  // The selected text has CR LF line breaks; the replacement may use CR LF, CR or LF.
  virtual QString selectedText() const = 0;
  virtual void replaceSelection(const QString& text) = 0;
  // Restricted mode (Global.cod, Global2.cod, adv.css): the cover over the room-only
  // buttons; font size in points.
  virtual void setRestricted(bool covered, int fontPoints = 12) = 0;

  // For find and replace: the whole text (lines separated by "\n"), the selection in the
  // text area's units (UTF-16), selecting a stretch (and focusing the text area), and the
  // history into which a command over the whole text records its own steps before it puts
  // its resulting text back with putBackRecorded.
  virtual QString text() const = 0;
  virtual int selectionStart() const = 0;
  virtual int selectionLength() const = 0;
  virtual void selectRange(int start, int length) = 0;
  // Where the selection is on the screen (global coordinates): from its first to its last
  // caret position.
  virtual QRect selectionRect() const = 0;
  virtual EditHistory& editHistory() = 0;
  virtual void putBackRecorded(const std::string& utf8) = 0;
};

// The res folder of the project whose room `editor` shows; the resources and upload
// windows, which serve the editor, read and fill it.
inline stdfs::path editor_res_folder(const EditorRequests* editor) {
  return Project(toPath(editor ? editor->Percorso : QString()), "").res_folder();
}

}  // namespace pm
