// Registro's window offscreen: the dice options, the log's load, save and save on close,
// the reader's answers to failures, and the resize rule.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <string>

#include "ui/qt_paths.h"

#include <memory>

#include "registro/registro_window.h"
#include "support/named_part.h"
#include "support/scripted_prompts.h"

namespace {

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

}  // namespace

class RegistroWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  pm::ScriptedPrompts prompts_;  // a question with no answer queued is answered No

  // The texts of the window's messages ("message") or questions ("question") so far.
  QStringList said(const char* kind) const {
    QStringList texts;
    for (const auto& call : prompts_.calls)
      if (call.kind == kind) texts << QString::fromStdString(call.text);
    return texts;
  }

  QString logPath() const { return dir_.filePath(QStringLiteral("Dati.txt")); }

  // A shown window and its controls, found by their object names as assistive technology
  // finds them.
  struct Shown {
    std::unique_ptr<RegistroWindow> window;
    QRadioButton *Option1, *Option2, *Option3;
    QPushButton *Command1, *Command2;
    QLabel* Label1;
    QPlainTextEdit* Text1;
    QTimer *Timer1, *Timer2;
    RegistroWindow* operator->() const { return window.get(); }
  };

  // A window on the test's folder whose prompts are answered here, shown and active.
  Shown open(bool waitForLoad = true, const QString& home = QString()) {
    auto w = std::make_unique<RegistroWindow>(pm::toPath(home.isEmpty() ? dir_.path() : home));
    w->setPrompts(&prompts_);
    w->show();
    w->activateWindow();
    const QObject* o = w.get();
    using pmtest::named;
    Shown s{nullptr,
            named<QRadioButton>(o, "Option1"), named<QRadioButton>(o, "Option2"), named<QRadioButton>(o, "Option3"),
            named<QPushButton>(o, "Command1"), named<QPushButton>(o, "Command2"), named<QLabel>(o, "Label1"),
            named<QPlainTextEdit>(o, "Text1"), named<QTimer>(o, "Timer1"), named<QTimer>(o, "Timer2")};
    s.window = std::move(w);
    if (waitForLoad && !QTest::qWaitFor([&] { return !s.Timer2->isActive(); }))
      qWarning("the log was not loaded");
    return s;
  }

  // The totals shown; each roll's faces ("3 + 5", nothing for one die) add up to its total.
  QSet<int> rollMany(const Shown& w, QRadioButton* option, int times, int dice) {
    QTest::mouseClick(option, Qt::LeftButton);
    auto* faces = pmtest::named<QLabel>(w.window.get(), "Label2");
    QSet<int> seen;
    for (int i = 0; i < times; ++i) {
      QTest::mouseClick(w.Command1, Qt::LeftButton);
      const int total = w.Label1->text().toInt();
      seen << total;
      const QStringList shown = faces->text().split(" + ", Qt::SkipEmptyParts);
      int sum = dice == 1 ? total : 0;
      for (const QString& face : shown) sum += face.toInt();
      if (shown.size() != (dice == 1 ? 0 : dice) || sum != total) {
        qWarning("%s is not %d dice adding up to %d", qPrintable(faces->text()), dice, total);
        return {};
      }
    }
    return seen;
  }

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    QFile::remove(logPath());
    prompts_ = pm::ScriptedPrompts();
  }

  void startsWithTwoDiceAndAnEmptyLog() {
    auto w = open(false);
    QVERIFY(w.Option1->isChecked());
    QVERIFY(!w.Option2->isChecked() && !w.Option3->isChecked());
    QVERIFY(w.Label1->text().isEmpty());
    // The result is read by its text (accessibility_audit_test), "Risultato" describes it.
    QCOMPARE(w.Label1->accessibleDescription(), QString("Risultato"));
    // (Every control's name: the accessibility audit walks this window.)
    QVERIFY(w.Timer2->isActive());  // the log is read a moment after the window shows
    QTRY_VERIFY(!w.Timer2->isActive());
    QVERIFY(w->logText().isEmpty());
    QVERIFY2(!QFile::exists(logPath()), "loading a missing log creates nothing");
  }

  void eachOptionRollsEveryValueOfItsRange() {
    // Every total within moments (a generator reseeded from the clock's seconds would
    // repeat one), and never one that the dice cannot make: two dice never show 1.
    auto w = open();
    const struct {
      QRadioButton* option;
      int dice;
    } choices[] = {{w.Option2, 1}, {w.Option1, 2}, {w.Option3, 3}};
    for (const auto& c : choices) {
      QSet<int> expected;
      for (int v = c.dice; v <= 6 * c.dice; ++v) expected << v;
      QCOMPARE(rollMany(w, c.option, 3000, c.dice), expected);
    }
    QTRY_VERIFY(w.Text1->hasFocus());
  }

  void savedLogsReloadAsTheyWere_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("two lines") << QStringLiteral("Forza 12\nOro 30") << QByteArray("Forza 12\r\nOro 30\r\n");
    QTest::newRow("empty") << QString() << QByteArray("\r\n");
    QTest::newRow("ends in a line break") << QStringLiteral("fine\n") << QByteArray("fine\r\n\r\n");
    QTest::newRow("no-break space")
        << QStringLiteral("Citt\u00e0\u00a0X") << QByteArray("Citt\xc3\xa0\xc2\xa0X\r\n");
  }
  void savedLogsReloadAsTheyWere() {
    QFETCH(QString, text);
    QFETCH(QByteArray, file);
    writeFile(logPath(), "prima\r\n");
    {
      auto w = open();
      w.Text1->setPlainText(text);
      QTest::mouseClick(w.Command2, Qt::LeftButton);
      QTRY_COMPARE(readFile(logPath()), file);
      QVERIFY(w.Text1->hasFocus());
    }
    auto again = open();
    QCOMPARE(again->logText(), text);
    QVERIFY(said("message").isEmpty());
  }

  void savingDoesNotReloadTheFile() {
    writeFile(logPath(), "dal disco\r\n");
    auto w = open();
    QCOMPARE(w->logText(), QStringLiteral("dal disco"));
    writeFile(logPath(), "cambiato da fuori\r\n");
    w.Text1->setPlainText(QStringLiteral("mio"));
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    QTRY_COMPARE(readFile(logPath()), QByteArray("mio\r\n"));
    QCOMPARE(w->logText(), QStringLiteral("mio"));
  }

  void nothingIsWrittenBeforeTheLogIsRead() {
    // A save or a close within the first moments must not replace the unread log.
    writeFile(logPath(), "Oro 30\r\n");
    {
      auto w = open(false);
      QTest::mouseClick(w.Command2, Qt::LeftButton);
      QTRY_VERIFY(!w.Timer1->isActive());
      QCOMPARE(w->logText(), QStringLiteral("Oro 30"));
    }
    QCOMPARE(readFile(logPath()), QByteArray("Oro 30\r\n"));
    auto w = open(false);
    w.Text1->setPlainText(QStringLiteral("Nota: "));
    QVERIFY(w->close());
    QCOMPARE(readFile(logPath()), QByteArray("Nota: Oro 30\r\n"));
  }

  void closingSavesAChangedLogAndLeavesAnUnchangedOneAlone() {
    // Bytes this program would never write (LF ends, Windows-1252), so any rewrite shows.
    const QByteArray original("Citt\xe0\nspada");
    writeFile(logPath(), original);
    {
      auto w = open();
      QCOMPARE(w->logText(), QStringLiteral("Citt\u00e0\nspada"));
      QVERIFY(w->close());
    }
    QCOMPARE(readFile(logPath()), original);

    auto w = open();
    w.Text1->moveCursor(QTextCursor::End);
    QTest::keyClicks(w.Text1, QStringLiteral(" corta"));
    QVERIFY(w->close());
    QCOMPARE(readFile(logPath()), QByteArray("Citt\xe0\r\nspada corta\r\n"));
    QVERIFY(said("question").isEmpty());
  }

  void failedSavesAreReportedAndClosingCanWait() {
    auto w = open(true, dir_.filePath(QStringLiteral("gone")));  // no folder: nothing can be saved
    QVERIFY(said("message").isEmpty());  // a missing log is an empty one
    w.Text1->setPlainText(QStringLiteral("appunti"));
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    QTRY_COMPARE(said("message").size(), 1);
    QVERIFY(said("message").last().contains(QStringLiteral("Dati.txt")));

    prompts_.answer_question(false);
    QVERIFY(!w->close());
    QCOMPARE(said("question").size(), 1);
    QVERIFY(w->isVisible());
    QCOMPARE(w->logText(), QStringLiteral("appunti"));
    prompts_.answer_question(true);
    QVERIFY(w->close());
    QVERIFY(!QFileInfo::exists(dir_.filePath(QStringLiteral("gone"))));
  }

  void aLogThatCannotBeReadIsNeverReplaced() {
    // Dati.txt is a link to a folder: it opens but every read fails, and unlike a folder it
    // could be renamed over, losing the link and whatever the reader kept behind it.
    QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("elsewhere")));
    QVERIFY(QFile::link(dir_.filePath(QStringLiteral("elsewhere")), logPath()));
    const QString beside = dir_.filePath(QStringLiteral("Dati (2).txt"));
    auto w = open();
    QCOMPARE(said("message").size(), 1);
    QVERIFY(said("message").last().contains(QStringLiteral("Non verrà sostituito")));
    w.Text1->setPlainText(QStringLiteral("Forza 12"));
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    QTRY_COMPARE(said("message").size(), 2);
    QVERIFY(said("message").last().contains(QStringLiteral("Dati (2).txt")));
    QCOMPARE(readFile(beside), QByteArray("Forza 12\r\n"));

    w.Text1->setPlainText(QStringLiteral("Forza 11"));  // closing saves to the same file
    QVERIFY(w->close());
    QCOMPARE(said("message").size(), 2);
    QVERIFY(said("question").isEmpty());
    QCOMPARE(readFile(beside), QByteArray("Forza 11\r\n"));
    QVERIFY(QFileInfo(logPath()).isSymLink());
    QFile::remove(logPath());
    QFile::remove(beside);
    QDir(dir_.path()).rmdir(QStringLiteral("elsewhere"));
  }

  void theLogFollowsTheWindowSize() {
    auto w = open();
    w->resize(600, 500);
    QTRY_COMPARE(w.Text1->size(), QSize(600 - 16, 500 - 184));
    w->resize(300, 150);  // too low for the log: its height stays
    QTRY_COMPARE(w.Text1->size(), QSize(300 - 16, 500 - 184));
  }
};

QTEST_MAIN(RegistroWindowTest)
#include "registro_window_test.moc"
