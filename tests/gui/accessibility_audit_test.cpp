// Qt's own texts in Italian and the captions without their old typos, in every window of
// the tool.
#include <QMdiArea>
#include <QMdiSubWindow>

#include "support/editor_tools.h"
#include "ui/qt_translations.h"

using namespace pmtest;

namespace {

// Opens `name` of the project in a fresh editor, through the manager as the author does.
pm::RoomEditorWindow* editFile(GuiFixture& f, const QString& folder, const QString& name) {
  pm::RoomEditorWindow* e = openEditor(f, folder, name);
  if (!e) qWarning("the editor did not load %s", qPrintable(name));
  return e;
}

}  // namespace

class AccessibilityAuditTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  void qtSpeaksItalian();
};

void AccessibilityAuditTest::initTestCase() { QVERIFY(pm::loadItalianQtTranslations(*qApp)); }

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
  pm::RoomEditorWindow* e = editFile(f, folder, "1");
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

QTEST_MAIN(AccessibilityAuditTest)
#include "accessibility_audit_test.moc"
