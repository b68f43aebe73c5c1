// The book as a PDF or an ODT through Qt's text document (see qt_document.h).
#include "paper/qt_document.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QUrl>

#include <memory>

namespace pm {

namespace {

QString qt_path(const stdfs::path& p) { return QFile::decodeName(QByteArray::fromStdString(path_text(p))); }

}  // namespace

Status write_paper_document(const PaperBook& book, const stdfs::path& file, PaperDocument kind, PaperSize size) {
  auto fail = [&](const std::string& why) {
    return Status(StatusKind::WriteFailed, "Impossibile scrivere " + path_text(file) + ": " + why);
  };
  // A program without windows (the command line) gets a Gui application for the call.
  static int argc = 1;
  static char name[] = "pagimond";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<QGuiApplication> own;
  if (!QCoreApplication::instance()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    own = std::make_unique<QGuiApplication>(argc, argv);
  } else if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    return fail("il programma non ha una parte grafica");
  }

  const QUrl base = QUrl::fromLocalFile(qt_path(book.res.parent_path()) + "/");
  const QString title = QString::fromStdString(book.title);
  const stdfs::path tmp = temporary_beside(file);
  const QString tmp_name = qt_path(tmp);
  bool written = false;
  if (kind == PaperDocument::Pdf) {
    {
      QPdfWriter pdf(tmp_name);
      pdf.setPageSize(QPageSize(size == PaperSize::A4 ? QPageSize::A4 : QPageSize::A5));
      pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
      pdf.setTitle(title);
      pdf.setCreator(QStringLiteral("Pagimond"));
      const QRectF page = pdf.pageLayout().paintRectPixels(pdf.resolution());
      QPainter painter(&pdf);
      // The rooms in runs of kRun, each laid out on its own and drawn page by page: a
      // document of thousands of pages would pass the layout's coordinate range. A run
      // starts on a new page. No page numbers, which a reader would take for sections
      // (QTextDocument::print adds them).
      constexpr size_t kRun = 200;
      for (size_t first = 0; first == 0 || first < book.rooms.size(); first += kRun) {
        QTextDocument document;
        document.setBaseUrl(base);
        document.documentLayout()->setPaintDevice(&pdf);
        document.setPageSize(page.size());
        document.setHtml(QString::fromUtf8(paper_book_html(book, first, first + kRun)));
        for (int k = 0; k < document.pageCount(); ++k) {
          if (first > 0 || k > 0) pdf.newPage();
          painter.save();
          painter.translate(0, -k * page.height());
          QAbstractTextDocumentLayout::PaintContext context;
          context.clip = QRectF(0, k * page.height(), page.width(), page.height());
          painter.setClipRect(context.clip);
          document.documentLayout()->draw(&painter, context);
          painter.restore();
        }
      }
    }
    written = QFile(tmp_name).size() > 0;
  } else {
    QTextDocument document;
    document.setBaseUrl(base);
    document.setHtml(QString::fromUtf8(paper_book_html(book)));
    document.setMetaInformation(QTextDocument::DocumentTitle, title);
    QTextDocumentWriter odt(tmp_name, "odf");
    written = odt.write(&document);
  }
  std::error_code ec;
  if (written) stdfs::rename(tmp, file, ec);
  if (!written || ec) {
    stdfs::remove(tmp, ec);
    return fail(written ? ec.message() : "la scrittura non è riuscita");
  }
  return {};
}

}  // namespace pm
