// The compile dialog's installer build driven through the real windows: the option chosen
// when the dialog opens, the installer compiler found and started through wine, the message
// the author confirms, then the folder shown. (What the build does and says in each case is
// checked in the installer build's core test.)
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

#include "packager/compile_dialog.h"
#include "support/editor_tools.h"
#include "support/gui_fixture.h"

using namespace pmtest;

namespace {

void makeExecutable(const QString& file, const std::string& bytes) {
  writeBytes(file, bytes);
  QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

class InstallerDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void buildsTheInstaller();
};

void InstallerDialogTest::buildsTheInstaller() {
  QTemporaryDir bin;
  makeExecutable(bin.path() + "/wine", "#!/bin/sh\nexit 0\n");
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", bin.path().toLocal8Bit() + ":" + oldPath);
  OPEN_LIBRO(3);
  writeBytes(f.home() + "/Distribuisci/vecchio.exe", "installazione precedente");
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F9);
  QTRY_VERIFY(main->compileDialog());
  pm::CompileDialog* d = main->compileDialog();
  makeExecutable(f.home() + "/Setup/Compil32.exe", "compilatore");

  QVERIFY(part<QRadioButton>(d, "Option1")->isEnabled());
  QVERIFY(part<QRadioButton>(d, "Option1")->isChecked());
  QVERIFY(unnamedControls(d).isEmpty());
  shoot(main, "compile_dialog_installer");
  f.platform.calls.clear();
  f.prompts.calls.clear();
  part<QPushButton>(d, "Command1")->click();
  qputenv("PATH", oldPath);

  // The book, Zell.iss and the package made, Distribuisci emptied of the last build.
  QVERIFY(QFile::exists(f.home() + "/Output/1.htm"));
  QVERIFY(readBytes(f.home() + "/Zell.iss").find("AppName=Libro") != std::string::npos);
  QVERIFY(!QFile::exists(f.home() + "/Distribuisci/vecchio.exe"));
  QVERIFY(QFile::exists(f.home() + "/Distribuisci/Libro.zip"));

  // The compiler started through wine on Zell.iss, then the message, then the folder.
  QCOMPARE(f.platform.calls.size(), size_t(2));
  QCOMPARE(f.platform.calls[0].kind, std::string("program"));
  QCOMPARE(QString::fromStdString(f.platform.calls[0].target), bin.path() + "/wine");
  const auto& args = f.platform.calls[0].args;
  QCOMPARE(args.size(), size_t(3));
  QVERIFY(QString::fromStdString(args[0]).endsWith("/Setup/Compil32.exe"));
  QCOMPARE(args[1], std::string("/cc"));
  QVERIFY(QString::fromStdString(args[2]).endsWith("\\Zell.iss"));
  QCOMPARE(promptTexts(f.prompts), std::vector<std::string>{"message: Premi Ok per continuare"});
  QVERIFY(recorded(f.platform, "folder", f.home() + "/Distribuisci"));
  QCOMPARE(f.platform.calls[1].kind, std::string("folder"));
  // The dialog stays open, the toolbar and the manager still disabled.
  QCOMPARE(main->compileDialog(), d);
  QVERIFY(!m->isEnabled());
}

QTEST_MAIN(InstallerDialogTest)
#include "installer_dialog_test.moc"
