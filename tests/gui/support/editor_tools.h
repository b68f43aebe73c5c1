// Helpers for the tests of the room editor's tools: a book opened in the manager, a fresh
// loaded editor on a file, selecting a stretch of its text, and its menu items.
#pragma once

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "support/gui_fixture.h"

namespace pmtest {

// A fresh editor on `name` of `folder`, loaded; nullptr when it did not load.
inline pm::RoomEditorWindow* openEditor(GuiFixture& f, const QString& folder, const QString& name) {
  pm::RoomEditorWindow* e = f.main()->openEditorFresh();
  if (!e) return nullptr;
  e->Percorso = folder;
  e->Nome = name;
  (void)QTest::qWaitFor([e] { return e->isLoaded(); }, 3000);
  return e->isLoaded() ? e : nullptr;
}

// Selects characters [from, from + length) of the editor's text (a caret when length is 0).
inline void selectText(pm::RoomEditorWindow* e, int from, int length) {
  auto* area = part<QPlainTextEdit>(e, "Text1");
  QTextCursor c = area->textCursor();
  c.setPosition(from);
  c.setPosition(from + length, QTextCursor::KeepAnchor);
  area->setTextCursor(c);
}

inline QAction* menuItem(pm::RoomEditorWindow* e, const char* name) {
  return part<QMenu>(e, "Menu")->findChild<QAction*>(name, Qt::FindChildrenRecursively);
}

// Whether help page `page` of the program folder was opened, and the page is there.
inline bool helpOpened(GuiFixture& f, const QString& page) {
  const QString tail = "/Help/" + page;
  for (const auto& c : f.platform.calls)
    if (c.kind == "open" && QString::fromStdString(c.target).endsWith(tail)) return QFileInfo::exists(f.home() + tail);
  return false;
}

}  // namespace pmtest

// A window on a project "Libro" of `rooms` rooms, opened in the manager: f, main, folder, m.
#define OPEN_LIBRO(rooms)                                                                 \
  GuiFixture f;                                                                           \
  [[maybe_unused]] pm::MainWindow* main = f.main();                                       \
  const QString folder = makeProject(f.projects(), "Libro", descriptions(rooms));         \
  [[maybe_unused]] pm::ProjectManagerWindow* m = openProject(f, folder);                  \
  QVERIFY(m)
