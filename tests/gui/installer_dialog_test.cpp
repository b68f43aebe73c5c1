// The compile dialog's installer build driven through the real windows: the option chosen
// when the dialog opens, the installer compiler started, the message the author confirms,
// then the folder shown; and, where the compiler cannot run, the first option disabled with
// the reason and the build without installer chosen. (The build's steps and what it says
// when the compiler is missing are in the installer build's core test.)
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

#include "packager/compile_dialog.h"
#include "support/editor_tools.h"
#include "support/gui_fixture.h"

using namespace pmtest;

namespace {

// On the fixture `f`.
#define OPEN_DIALOG                                                                    \
  pm::MainWindow* main = f.main();                                                     \
  const QString folder = makeProject(f.projects(), "Libro", descriptions(3));          \
  pm::ProjectManagerWindow* m = openProject(f, folder);                                \
  QVERIFY(m);                                                                          \
  writeBytes(f.home() + "/Distribuisci/vecchio.exe", "installazione precedente");      \
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F9);                          \
  QTRY_VERIFY(main->compileDialog());                                                  \
  pm::CompileDialog* d = main->compileDialog()

void makeExecutable(const QString& file, const std::string& bytes) {
  writeBytes(file, bytes);
  QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

class InstallerDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void buildsTheInstaller();
  void withoutACompilerTheDefaultIsTheBuildWithoutInstaller();
};

void InstallerDialogTest::buildsTheInstaller() {
  QTemporaryDir bin;
  makeExecutable(bin.path() + "/wine", "#!/bin/sh\nexit 0\n");
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", bin.path().toLocal8Bit() + ":" + oldPath);
  GuiFixture f;
  makeExecutable(f.home() + "/Setup/Compil32.exe", "compilatore");
  OPEN_DIALOG;

  QVERIFY(part<QRadioButton>(d, "Option1")->isEnabled());
  QVERIFY(part<QRadioButton>(d, "Option1")->isChecked());
  shoot(main, "compile_dialog_installer");
  f.platform.calls.clear();
  f.prompts.calls.clear();
  part<QPushButton>(d, "Command1")->click();
  qputenv("PATH", oldPath);

  // The build itself (the classic book, Zell.iss, Distribuisci emptied, the compiler's
  // arguments) is checked in installer_build_test; here: the compiler found on this PATH
  // started through wine, then the message, then the folder.
  QVERIFY(QFile::exists(f.home() + "/Zell.iss") && !QFile::exists(f.home() + "/Distribuisci/vecchio.exe"));
  QCOMPARE(f.platform.calls.size(), size_t(2));
  QCOMPARE(f.platform.calls[0].kind, std::string("program"));
  QCOMPARE(QString::fromStdString(f.platform.calls[0].target), bin.path() + "/wine");
  QCOMPARE(promptTexts(f.prompts), std::vector<std::string>{"message: Premi Ok per continuare"});
  QVERIFY(recorded(f.platform, "folder", f.home() + "/Distribuisci"));
  // The dialog stays open, the toolbar and the manager still disabled.
  QCOMPARE(main->compileDialog(), d);
  QVERIFY(!m->isEnabled());
}

// Without the installer compiler, or without Wine to run it, the first option is disabled
// and says why; the dialog opens on the build without installer, which works.
void InstallerDialogTest::withoutACompilerTheDefaultIsTheBuildWithoutInstaller() {
  QTemporaryDir noWine;  // a PATH where no wine is found
  const QByteArray oldPath = qgetenv("PATH");
  for (bool compilerThere : {false, true}) {
    GuiFixture f;
    if (compilerThere) {
      makeExecutable(f.home() + "/Setup/Compil32.exe", "compilatore");
      qputenv("PATH", noWine.path().toLocal8Bit());
    }
    OPEN_DIALOG;
    qputenv("PATH", oldPath);
    const QString why = compilerThere
                            ? "L'installazione non si può creare: su questo sistema il compilatore dell'installazione "
                              "funziona solo con Wine, che non è installato (il comando wine non si trova)."
                            : "L'installazione non si può creare: manca il compilatore dell'installazione " + f.home() +
                                  "/Setup/Compil32.exe.";
    auto* installer = part<QRadioButton>(d, "Option1");
    QVERIFY(!installer->isEnabled() && !installer->isChecked());
    QCOMPARE(installer->toolTip(), why);
    QCOMPARE(d->findChild<QLabel*>("Option1Caption")->toolTip(), why);
    QVERIFY(part<QRadioButton>(d, "Option2")->isChecked());
    QTest::mouseClick(d->findChild<QLabel*>("Option1Caption"), Qt::LeftButton);
    QVERIFY(part<QRadioButton>(d, "Option2")->isChecked());
    if (!compilerThere) shoot(main, "compile_dialog_no_installer");

    // Avvia at once: the site in Output, its folder shown; Distribuisci is left alone.
    f.platform.calls.clear();
    f.prompts.calls.clear();
    part<QPushButton>(d, "Command1")->click();
    QTRY_VERIFY(recorded(f.platform, "folder", f.home() + "/Output"));
    QVERIFY(QFile::exists(f.home() + "/Output/1.htm"));
    QVERIFY(QFile::exists(f.home() + "/Distribuisci/vecchio.exe"));
    QVERIFY(f.prompts.calls.empty());
  }
}

QTEST_MAIN(InstallerDialogTest)
#include "installer_dialog_test.moc"
