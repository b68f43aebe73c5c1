// A build without Qt Gui: no PDF, no ODT (see qt_document.h).
#include "paper/qt_document.h"

namespace pm {

Status write_paper_document(const PaperBook&, const stdfs::path& file, PaperDocument kind, PaperSize) {
  return {StatusKind::WriteFailed, "Impossibile scrivere " + path_text(file) + ": questa versione del programma non crea " +
                                       (kind == PaperDocument::Pdf ? "PDF" : "ODT") + " (manca Qt Gui)"};
}

}  // namespace pm
