// "Anteprima dal vivo" in the tool: the editor's button saves, starts the preview of the open
// book and opens the browser on the room; every save of the editor compiles again; the main
// toolbar's button opens the start page; closing the book stops the server.
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QToolButton>
#include <httplib.h>

#include "editor/room_editor_window.h"
#include "support/editor_tools.h"

using namespace pmtest;

namespace {

// The last address the browser was asked to open.
std::string lastOpened(const GuiFixture& f) { return f.platform.calls.empty() ? "" : f.platform.calls.back().target; }

std::string pageText(int port, const char* path) {
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(5, 0);
  auto page = client.Get(path);
  return page && page->status == 200 ? page->body : "";
}

}  // namespace

class LivePreviewTest : public QObject {
  Q_OBJECT
 private slots:
  void startsOpensCompilesOnSaveAndStopsWithTheBook();
};

void LivePreviewTest::startsOpensCompilesOnSaveAndStopsWithTheBook() {
  GuiFixture f;
  const QString folder = makeProject(f.projects(), "Libro", descriptions(2));
  QVERIFY(openProject(f, folder));
  pm::RoomEditorWindow* e = openEditor(f, folder, "1");
  QVERIFY(e);
  part<QPlainTextEdit>(e, "Text1")->setPlainText("Primo testo");
  QTest::mouseClick(e->findChild<QToolButton*>("AnteprimaDalVivo"), Qt::LeftButton);
  shoot(f.main(), "anteprima_dal_vivo");

  const auto address = QRegularExpression("^http://127\\.0\\.0\\.1:(\\d+)/1\\.htm$")
                           .match(QString::fromStdString(lastOpened(f)));
  QVERIFY2(address.hasMatch(), lastOpened(f).c_str());
  const int port = address.captured(1).toInt();
  QCOMPARE(readBytes(folder + "/1"), std::string("Primo testo\r\n"));
  QVERIFY(pageText(port, "/1.htm").find("Primo testo") != std::string::npos);

  // Closing the editor saves, and the save compiles at once.
  part<QPlainTextEdit>(e, "Text1")->setPlainText("Secondo testo");
  QVERIFY(f.main()->closeChild(e));
  QVERIFY(pageText(port, "/1.htm").find("Secondo testo") != std::string::npos);

  QTest::mouseClick(part<QToolButton>(f.main(), "ImageAnteprima"), Qt::LeftButton);
  QCOMPARE(lastOpened(f), "http://127.0.0.1:" + std::to_string(port) + "/");
  QVERIFY(f.prompts.calls.empty());

  QVERIFY(f.main()->closeChild(f.main()->manager()));
  httplib::Client client("127.0.0.1", port);
  client.set_connection_timeout(1, 0);
  QVERIFY(!client.Get("/1.htm"));
}

QTEST_MAIN(LivePreviewTest)
#include "live_preview_test.moc"
