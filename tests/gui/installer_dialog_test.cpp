// The compile dialog's installer build driven through the real windows: the option chosen
// when the dialog opens, Zell.iss filled from the project, Distribuisci emptied of the last
// build before the installer compiler starts, the message the author confirms, then the
// folder shown; and the message when the compiler is missing.
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

#include "packager/compile_dialog.h"
#include "support/editor_tools.h"
#include "support/gui_fixture.h"

using namespace pmtest;

namespace {

#define OPEN_DIALOG                                                                    \
  OPEN_LIBRO(3);                                                                       \
  writeBytes(folder + "/0", "<a href=\"1.htm\">Avanti</a>\r\n");                       \
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
  void saysWhenTheCompilerIsMissing();
};

void InstallerDialogTest::buildsTheInstaller() {
  QTemporaryDir bin;
  makeExecutable(bin.path() + "/wine", "#!/bin/sh\nexit 0\n");
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", bin.path().toLocal8Bit() + ":" + oldPath);
  OPEN_DIALOG;
  makeExecutable(f.home() + "/Setup/Compil32.exe", "compilatore");

  QVERIFY(part<QRadioButton>(d, "Option1")->isEnabled());
  QVERIFY(part<QRadioButton>(d, "Option1")->isChecked());
  QVERIFY(unnamedControls(d).isEmpty());
  shoot(main, "compile_dialog_installer");
  f.platform.calls.clear();
  f.prompts.calls.clear();
  part<QPushButton>(d, "Command1")->click();
  qputenv("PATH", oldPath);

  // The classic book in Output with the Extra files; Zell.iss filled from Hg.iss.
  QVERIFY(QFile::exists(f.home() + "/Output/1.htm"));
  QVERIFY(readBytes(f.home() + "/Output/0.htm").find("Avanti") != std::string::npos);
  const std::string script = readBytes(f.home() + "/Zell.iss");
  QVERIFY(script.find("AppName=Libro\r\n") != std::string::npos || script.find("AppName=Libro\n") != std::string::npos);
  QVERIFY(script.find("[titolo]") == std::string::npos && script.find("[app.path]") == std::string::npos);
  // Distribuisci emptied of the last build before the compiler started; the package is new.
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

void InstallerDialogTest::saysWhenTheCompilerIsMissing() {
  OPEN_DIALOG;
  f.platform.calls.clear();
  f.prompts.calls.clear();
  part<QPushButton>(d, "Command1")->click();

  // The book and the package are made; no compiler is started, and the message says why.
  QVERIFY(QFile::exists(f.home() + "/Distribuisci/Libro.zip"));
  QVERIFY(!QFile::exists(f.home() + "/Distribuisci/vecchio.exe"));
  QCOMPARE(f.prompts.calls.size(), size_t(1));
  const std::string& text = f.prompts.calls[0].text;
  QVERIFY2(text.rfind("L'installazione non è stata creata: manca il compilatore dell'installazione", 0) == 0,
           text.c_str());
  QVERIFY(text.find("Libro.zip") != std::string::npos);
  for (const auto& c : f.platform.calls) QVERIFY(c.kind != "program");
  QVERIFY(recorded(f.platform, "folder", f.home() + "/Distribuisci"));
}

QTEST_MAIN(InstallerDialogTest)
#include "installer_dialog_test.moc"
