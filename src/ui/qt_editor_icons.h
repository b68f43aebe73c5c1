// The room editor's toolbar pictures, drawn by the tool in the same line style as the
// main window's icons (ink strokes, one warm accent, a 32-unit grid), with the same primitives.
#pragma once

#include <QIcon>
#include <QString>

class QToolButton;
class QWidget;

namespace pm {

enum class EditorIcon {
  Link,         // F2
  Timer,        // F3
  BackLink,     // F4
  Images,       // F5
  Script,       // F6
  Test,         // F7
  Undo,
  Redo,
  Find,         // F8
  CloseNoSave,  // F9
  Sound,
  Print,    // the map: F2
  Rebuild,  // the map: F3
  Close,    // the map: Esc
  LivePreview,
};

QIcon editorIcon(EditorIcon kind);

// A picture button of a child window's toolbar: the picture 400 twips square, flat until
// the pointer is over it, `tip` as its tooltip and accessible name, never taking the focus.
QToolButton* editorButton(QWidget* parent, const char* name, EditorIcon kind, const QString& tip);

}  // namespace pm
