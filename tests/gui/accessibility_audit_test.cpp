// The accessibility audit: every window of the tool and of Registro, opened as an author
// opens it, walked as a screen reader walks it (support/accessibility_audit.h). A new
// control without a name, a label that hides its text or a text a reader cannot read fails
// here. Also: Qt's own texts in Italian, the menus in the tree, the large text view read
// as a text area, the graph's rooms as a list the keyboard walks.
#include <QGraphicsItem>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "registro/registro_window.h"
#include "support/accessibility_audit.h"
#include "support/editor_tools.h"
#include "ui/qt_translations.h"

using namespace pmtest;

class AccessibilityAuditTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  void everyWindowOfTheTool();
  void registro();
  void editorTextSaysWhatIsOpen();
  void qtSpeaksItalian();
  void menusAreInTheTree();
  void largeTextIsReadLikeATextArea();
  void graphRoomsAreItemsTheKeyboardWalks();
};

void AccessibilityAuditTest::initTestCase() { QVERIFY(pm::loadItalianQtTranslations(*qApp)); }

void AccessibilityAuditTest::everyWindowOfTheTool() {
  AccessibilityAudit audit;
  GuiFixture f;
  pm::MainWindow* main = f.main();
  audit.walkBoth(main, main->startPage(), "Pagina iniziale");
  part<QPushButton>(main->startPage(), "Command2")->click();
  audit.walkBoth(main, main->startPage(), "Apri Progetto");

  const QString folder = f.projects() + "/Il Ponte sul Fiume";
  pm::ProjectManagerWindow* m = openProject(f, folder);
  QVERIFY(m);
  audit.walkBoth(main, m, "Gestione del progetto");

  pm::RoomEditorWindow* e = openEditor(f, folder, "1");
  QVERIFY(e);
  audit.walkBoth(main, e, "Editor");
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F8);
  QTRY_VERIFY(main->findReplace());
  audit.walkBoth(main, main->findReplace(), "Trova e sostituisci");
  QVERIFY(main->findReplace()->closeWindow());
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F6);
  QTRY_VERIFY(main->roomScript() && main->roomScript()->isLoaded());
  audit.walk(main, "Script della Stanza");
  QVERIFY(main->roomScript()->closeWindow());
  for (auto mode : {pm::ResourceMode::Images, pm::ResourceMode::Sounds}) {
    QVERIFY(main->openResourcesFresh(mode));
    audit.walk(main, mode == pm::ResourceMode::Images ? "Immagini" : "Suoni");
    audit.walkTab(main, main->resources(), "Risorse");
  }
  QVERIFY(main->openUploadFresh());
  audit.walkBoth(main, main->upload(), "UpLoad");
  QVERIFY(main->upload()->closeWindow());
  if (main->resources()) QVERIFY(main->resources()->closeWindow());
  QVERIFY(e->closeEditor());

  QVERIFY(main->openMapFresh());
  QTRY_VERIFY(main->mapWindow() && !main->mapWindow()->text().isEmpty());
  audit.walkBoth(main, main->mapWindow(), "Mappa");
  QVERIFY(main->mapWindow()->closeWindow());
  QVERIFY(main->openBookCheckFresh());
  QTRY_VERIFY(!part<QLabel>(main->bookCheck(), "Label1")->text().isEmpty());
  audit.walkBoth(main, main->bookCheck(), "Verifica del libro");
  QVERIFY(main->bookCheck()->closeWindow());
  pm::GraphWindow* g = main->openGraphFresh();
  QVERIFY(g);
  QVERIFY(QTest::qWaitFor([g] { return !g->busy(); }, 15000));
  audit.walkBoth(main, g, "Grafo");

  QVERIFY(g->closeWindow());
  main->openVersions(folder, "1");
  QVERIFY(main->versionsWindow());
  audit.walkBoth(main, main->versionsWindow(), "Versioni precedenti");
  QVERIFY(main->versionsWindow()->closeWindow());
  main->openTrash();
  QVERIFY(main->trashWindow());
  audit.walkBoth(main, main->trashWindow(), "Cestino");
  QVERIFY(main->trashWindow()->closeWindow());
  QVERIFY(main->openRenumberFresh());
  audit.walkBoth(main, main->findChild<pm::RenumberWindow*>(), "Rinumera le Stanze");
  QVERIFY(main->findChild<pm::RenumberWindow*>()->closeWindow());
  QVERIFY(main->openExportFresh());
  audit.walkBoth(main, main->findChild<pm::ExportWindow*>(), "Esporta il libro");
  QVERIFY(main->findChild<pm::ExportWindow*>()->closeWindow());

  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F7);
  QTRY_VERIFY(main->properties() && main->properties()->isLoaded());
  audit.walkBoth(main, main->properties(), "Proprietà");
  QVERIFY(main->properties()->closeWindow());
  QVERIFY(main->openGlobalCodeFresh());
  audit.walk(main, "Codice generale");
  QVERIFY(main->globalCode()->closeWindow());
  QVERIFY(main->openColourPaletteFresh());
  audit.walkBoth(main, main->colourPalette(), "Tavolozza");
  QVERIFY(main->colourPalette()->closeWindow());
  QVERIFY(main->openSettingsFresh());
  audit.walkBoth(main, main->settings(), "Impostazioni");
  QVERIFY(main->settings()->closeWindow());
  QVERIFY(main->openCompileDialogFresh());
  audit.walkBoth(main, main->compileDialog(), "Compila");
  QVERIFY(main->compileDialog()->closeWindow());
  QVERIFY(main->openStoryImportFresh());
  audit.walkBoth(main, main->storyImport(), "Importa una storia");
  QVERIFY(main->storyImport()->closeWindow());

  QVERIFY2(audit.problems.isEmpty(), qPrintable(audit.report()));
}

void AccessibilityAuditTest::registro() {
  QTemporaryDir home;
  RegistroWindow w(pm::toPath(home.path()));
  w.resize(600, 500);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  part<QPushButton>(&w, "Command1")->click();  // a roll: the result label changes
  AccessibilityAudit audit;
  audit.walkBoth(&w, &w, "Registro");
  QVERIFY2(audit.problems.isEmpty(), qPrintable(audit.report()));
}

// The editor's text is named after what is open, not always "the room's text".
void AccessibilityAuditTest::editorTextSaysWhatIsOpen() {
  GuiFixture f;
  const QString folder = makeProject(f.projects(), "Libro", descriptions(3));
  writeBytes(folder + "/adv.css", "body { color: black; }\r\n");
  writeBytes(folder + "/Global.cod", "<!-- codice -->\r\n");
  QVERIFY(openProject(f, folder));
  const std::pair<QString, QString> cases[] = {
      {"2", "Testo della Stanza 2"}, {"adv.css", "Foglio di stile adv.css"}, {"Global.cod", "Codice generale Global.cod"}};
  for (const auto& [file, name] : cases) {
    pm::RoomEditorWindow* e = openEditor(f, folder, file);
    QVERIFY(e);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(part<QPlainTextEdit>(e, "Text1"));
    QCOMPARE(a->text(QAccessible::Name), name);
    QVERIFY(e->closeEditor());
  }
}

// Qt's own texts (the window menu of the inner windows, standard buttons) in Italian, and
// no caption carries the old typos.
void AccessibilityAuditTest::qtSpeaksItalian() {
  OPEN_LIBRO(3);
  QMdiSubWindow* frame = main->findChild<QMdiArea*>("Client")->subWindowList().value(0);
  QVERIFY(frame && frame->systemMenu());
  QStringList items;
  for (QAction* a : frame->systemMenu()->actions())
    if (!a->isSeparator()) items << a->text().remove('&');
  for (const char* english : {"Restore", "Move", "Size", "Minimize", "Maximize", "Stay on Top", "Close"})
    QVERIFY2(!items.contains(english), qPrintable(items.join(", ")));
  QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Annulla"));

  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F9);
  QTRY_VERIFY(main->compileDialog());
  pm::RoomEditorWindow* e = openEditor(f, folder, "1");
  QVERIFY(e);
  QStringList captions;
  for (QWidget* w : main->findChildren<QWidget*>()) {
    captions << w->accessibleName() << w->toolTip();
    if (auto* l = qobject_cast<QLabel*>(w)) captions << l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) captions << b->text();
  }
  for (QAction* a : main->findChildren<QAction*>()) captions << a->text() << a->toolTip();
  const QString all = captions.join('\n');
  for (const char* typo : {"ect...", "epresso", "espesso"}) QVERIFY2(!all.contains(typo), typo);
  QVERIFY(all.contains("Android, etc..."));
  QVERIFY(all.contains("F3 - Inserisci un timer espresso in secondi (SEC)"));
}

// The menus a window opens are its children while open, their items named as shown; the
// item the keyboard is on is the focused one.
void AccessibilityAuditTest::menusAreInTheTree() {
  OPEN_LIBRO(3);
  auto childMenu = [](QWidget* owner, QMenu* menu) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(owner);
    for (int i = 0; i < a->childCount(); ++i)
      if (a->child(i) && a->child(i)->object() == menu) return a->indexOfChild(a->child(i)) == i;
    return false;
  };
  auto focusedItem = [](QMenu* menu) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(menu);
    for (int i = 0; i < a->childCount(); ++i)
      if (a->child(i)->state().focused) return a->child(i)->text(QAccessible::Name);
    return QString();
  };

  // The room list's menu, opened by the right button.
  auto* list = part<QListWidget>(m, "List1");
  auto* roomMenu = part<QMenu>(m, "Menu1");
  QVERIFY(!childMenu(m, roomMenu));
  emit list->customContextMenuRequested(QPoint(5, 5));
  QTRY_VERIFY(roomMenu->isVisible());
  QVERIFY(childMenu(m, roomMenu));
  QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(roomMenu);
  QCOMPARE(menu->role(), QAccessible::PopupMenu);
  const QStringList roomItems = AccessibilityAudit::menuItems(roomMenu);
  QVERIFY2(!roomItems.isEmpty() && !roomItems.contains(QString()), qPrintable(roomItems.join(" | ")));
  QTest::keyClick(roomMenu, Qt::Key_Down);
  QCOMPARE(focusedItem(roomMenu), roomMenu->activeAction()->text().remove('&'));
  roomMenu->hide();

  // The editor's menu with its submenus, through the keyboard.
  pm::RoomEditorWindow* e = openEditor(f, folder, "1");
  QVERIFY(e);
  auto* area = part<QPlainTextEdit>(e, "Text1");
  auto* editorMenu = part<QMenu>(e, "Menu");
  QTest::mousePress(area->viewport(), Qt::RightButton, {}, QPoint(10, 10));
  QTRY_VERIFY(editorMenu->isVisible());
  QVERIFY(childMenu(e, editorMenu));
  QVERIFY(AccessibilityAudit::menuItems(editorMenu).contains("Avanzate"));
  QMenu* advanced = nullptr;
  for (QAction* a : editorMenu->actions())
    if (a->menu() && a->text().remove('&') == "Avanzate") advanced = a->menu();
  QVERIFY(advanced);
  editorMenu->setActiveAction(advanced->menuAction());
  QCOMPARE(focusedItem(editorMenu), QString("Avanzate"));
  QTest::keyClick(editorMenu, Qt::Key_Right);
  QTRY_VERIFY(advanced->isVisible());
  // The submenu hangs below its item in the tree.
  QAccessibleInterface* item = QAccessible::queryAccessibleInterface(editorMenu)->child(int(editorMenu->actions().indexOf(advanced->menuAction())));
  QVERIFY(item && item->childCount() == 1 && item->child(0)->object() == advanced);
  const QStringList advancedItems = AccessibilityAudit::menuItems(advanced);
  QVERIFY2(advancedItems.contains("Testo") && advancedItems.contains("HTML"), qPrintable(advancedItems.join(" | ")));
  AccessibilityAudit audit;
  audit.walk(main, "Menu dell'editor");
  QVERIFY2(audit.problems.isEmpty(), qPrintable(audit.report()));
  QVERIFY(audit.tree.join('\n').contains("\"Avanzate\""));
  advanced->hide();
  editorMenu->hide();

  // The window menu of an inner window, in Italian.
  auto* frame = qobject_cast<QMdiSubWindow*>(e->parentWidget());
  QVERIFY(frame);
  frame->showSystemMenu();
  QTRY_VERIFY(frame->systemMenu()->isVisible());
  QVERIFY(childMenu(frame, frame->systemMenu()));
  const QStringList windowItems = AccessibilityAudit::menuItems(frame->systemMenu());
  QVERIFY2(!windowItems.contains("Restore") && !windowItems.contains("&Restore") && windowItems.size() > 3,
           qPrintable(windowItems.join(" | ")));
  frame->systemMenu()->hide();
}

// The large text view reads as a text area does: all of it, by lines, with caret, selection
// and where each character is.
void AccessibilityAuditTest::largeTextIsReadLikeATextArea() {
  pm::LargeTextView view;
  view.resize(400, 300);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  view.setText("Prima riga\r\nSeconda \xe8 qui\r\n\r\nQuarta");  // Windows-1252: "è"
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&view);
  QVERIFY(a);
  QAccessibleTextInterface* t = a->textInterface();
  QVERIFY(t);
  QCOMPARE(a->role(), QAccessible::EditableText);
  QVERIFY(a->state().readOnly && a->state().multiLine);
  const QString all = QString::fromUtf8("Prima riga\nSeconda \u00e8 qui\n\nQuarta");
  QCOMPARE(t->text(0, t->characterCount()), all);
  QCOMPARE(view.text(), all);

  struct Case {
    int offset;
    QAccessible::TextBoundaryType boundary;
    QString text;
    int start;
  };
  const Case cases[] = {{13, QAccessible::LineBoundary, "Seconda \u00e8 qui\n", 11},
                        {0, QAccessible::WordBoundary, "Prima", 0},
                        {19, QAccessible::CharBoundary, "\u00e8", 19},
                        {int(all.size()), QAccessible::LineBoundary, "Quarta", 26},
                        {3, QAccessible::NoBoundary, all, 0}};
  for (const Case& c : cases) {
    int start = -1, end = -1;
    QCOMPARE(t->textAtOffset(c.offset, c.boundary, &start, &end), c.text);
    QCOMPARE(start, c.start);
    QCOMPARE(end, c.start + int(c.text.size()));
  }
  int start = -1, end = -1;
  QCOMPARE(t->textAfterOffset(0, QAccessible::LineBoundary, &start, &end), QString("Seconda \u00e8 qui\n"));
  QCOMPARE(t->textBeforeOffset(13, QAccessible::LineBoundary, &start, &end), QString("Prima riga\n"));

  // Caret and selection both ways.
  t->setCursorPosition(19);
  QCOMPARE(view.cursorPos().line, 1);
  QCOMPARE(view.cursorPos().column, 8);
  QCOMPARE(t->cursorPosition(), 19);
  t->setSelection(0, 6, 17);
  QCOMPARE(view.selectedText(), QString("riga\nSecond"));
  QCOMPARE(t->selectionCount(), 1);
  t->selection(0, &start, &end);
  QCOMPARE(start, 6);
  QCOMPARE(end, 17);
  view.select({3, 0}, {3, 3});
  t->selection(0, &start, &end);
  QCOMPARE(t->text(start, end), QString("Qua"));
  t->removeSelection(0);
  QCOMPARE(t->selectionCount(), 0);

  // Where a character is drawn, and which character is at a point.
  const QRect r = t->characterRect(12);
  QVERIFY(!r.isEmpty());
  QCOMPARE(t->offsetAtPoint(r.center()), 12);

  // A new text is read anew.
  view.setText("uno\ndue\r\n");
  QCOMPARE(t->characterCount(), 8);
  QCOMPARE(t->text(4, 8), QString("due\n"));
  QCOMPARE(t->text(0, 8), view.text());
}

// The graph's rooms are the items of a list: named by number and description, their links
// in the description; the arrows go from room to room and Enter opens the room.
void AccessibilityAuditTest::graphRoomsAreItemsTheKeyboardWalks() {
  OPEN_LIBRO(3);
  writeBytes(folder + "/0", "<a href=\"1.htm\">Avanti</a> <meta http-equiv='refresh' content='3; url=2.htm'>\r\n");
  writeBytes(folder + "/1", "<a href=\"2.htm\">Oltre</a>\r\n");
  pm::GraphWindow* g = main->openGraphFresh();
  QVERIFY(g);
  QVERIFY(QTest::qWaitFor([g] { return !g->busy(); }, 15000));
  QCOMPARE(g->drawnRooms(), 3);
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(g->view());
  QCOMPARE(a->role(), QAccessible::List);
  QCOMPARE(a->childCount(), 3);
  QCOMPARE(a->child(0)->role(), QAccessible::ListItem);
  QCOMPARE(a->child(0)->text(QAccessible::Name), QString("Stanza 0: Luogo di partenza"));
  const QString about = a->child(0)->text(QAccessible::Description);
  QVERIFY2(about.contains("inizio del libro") && about.contains("collegamenti a 1") && about.contains("salto a tempo a 2"),
           qPrintable(about));
  QCOMPARE(a->child(2)->text(QAccessible::Name), QString("Stanza 2: Stanza 2"));
  QCOMPARE(a->indexOfChild(a->child(1)), 1);
  QCOMPARE(a->child(1)->parent(), a);

  g->view()->setFocus();
  QTest::keyClick(g->view(), Qt::Key_Down);
  QTest::keyClick(g->view(), Qt::Key_Down);
  QCOMPARE(g->view()->currentRoom(), 1);
  QVERIFY(g->roomItem("1")->isSelected());
  QVERIFY(a->child(1)->state().selected);
  QTest::keyClick(g->view(), Qt::Key_End);
  QCOMPARE(g->view()->currentRoom(), 2);
  QTest::keyClick(g->view(), Qt::Key_Up);
  QCOMPARE(g->view()->currentRoom(), 1);
  QTest::keyClick(g->view(), Qt::Key_Return);
  QVERIFY(QTest::qWaitFor([main] { return main->editor() && main->editor()->Nome == "1"; }, 3000));
}

QTEST_MAIN(AccessibilityAuditTest)
#include "accessibility_audit_test.moc"
