// The room editor's face to the other windows: its request fields and timers and the
// selection through which the project manager and the main window put text into it. The
// room editor window implements it.
#pragma once

#include <QString>
#include <QTimer>

class QWidget;

namespace pm {

class EditorRequests {
 public:
  virtual ~EditorRequests() = default;

  QString Percorso;  // project folder
  QString Nome;      // room number, "Global.cod", "Global2.cod" or "adv.css"
  QString NoSave;    // "1": the next close does not write the file
  QString Text2;     // work field of the room test; the editor leaves it alone

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
};

}  // namespace pm
