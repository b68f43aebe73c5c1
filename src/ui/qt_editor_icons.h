// The room editor's toolbar pictures, drawn by the tool in the same line style as the
// main window's icons (ink strokes, one warm accent, a 32-unit grid), with the same primitives.
#pragma once

#include <QIcon>

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
};

QIcon editorIcon(EditorIcon kind);

}  // namespace pm
