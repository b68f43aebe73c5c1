// The colour palette window (see colour_palette_window.h).
#include "editor/colour_palette_window.h"

#include <QClipboard>
#include <QColorDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>

#include "editor/colour_palette.h"
#include "project/help_pages.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {

// The grid's width; tall enough for the field and the two buttons below the grid.
const PlacementRule kPlacement{3075, 4050, false, Centring::Quarter};
const long kGridLeft = 120, kGridTop = 120, kRowStep = 360, kCellHeight = 375;
const long kWideStep = 360, kWideCell = 375, kNarrowCell = 255;

#ifdef _WIN32
const char* const kColourTool = "Colors.exe";
#else
const char* const kColourTool = "Colors";
#endif

// Column `c`'s left edge and width, in twips: four wide columns, then four narrow ones on
// the same step as the narrow width.
long columnLeft(int c) { return c < 4 ? kGridLeft + c * kWideStep : kGridLeft + 4 * kWideStep + (c - 4) * kNarrowCell; }
long columnWidth(int c) { return c < 4 ? kWideCell : kNarrowCell; }

}  // namespace

ColourPaletteWindow::ColourPaletteWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "Colori", "Colori", help::kColours, kPlacement) {
  for (int r = 0; r < kPaletteRows; ++r) {
    for (int c = 0; c < kPaletteColumns; ++c) {
      const ColourValue value = kPaletteColours[size_t(r)][size_t(c)];
      const QString text = fromUtf8(colour_text(value));
      auto* cell = new QPushButton(this);
      cell->setObjectName(QString("Cella%1_%2").arg(r + 1).arg(c + 1));
      cell->setAccessibleName("Colore " + text);
      cell->setToolTip(text);
      cell->setFocusPolicy(Qt::TabFocus);
      cell->setCursor(Qt::PointingHandCursor);
      cell->setStyleSheet(QString("QPushButton { background: %1; border: 1px solid #7a828c; }"
                                  "QPushButton:focus { border: 2px solid #1d2a36; }")
                              .arg(text));
      cell->setGeometry(twipsRect(this, columnLeft(c), kGridTop + r * kRowStep, columnWidth(c), kCellHeight));
      connect(cell, &QPushButton::clicked, this, [this, value] { colourText_->setText(fromUtf8(colour_text(value))); });
    }
  }
  const long below = kGridTop + kPaletteRows * kRowStep + 60;
  const long width = columnLeft(kPaletteColumns - 1) + kNarrowCell - kGridLeft;
  colourText_ = new QLineEdit(this);
  colourText_->setObjectName("Text1");
  colourText_->setAccessibleName("Codice HTML del colore");
  colourText_->setFont(namedFont("Verdana", colourText_->font()));
  colourText_->setAlignment(Qt::AlignCenter);
  colourText_->setGeometry(twipsRect(this, kGridLeft, below, width, 330));

  copyButton_ = new QPushButton("&Copia in Memoria", this);
  copyButton_->setObjectName("Command1");
  copyButton_->setAccessibleName("Copia in Memoria");
  copyButton_->setGeometry(twipsRect(this, kGridLeft, below + 390, width, 390));
  toolButton_ = new QPushButton("&Strumento Colori", this);
  toolButton_->setObjectName("Command2");
  toolButton_->setAccessibleName("Strumento Colori");
  toolButton_->setToolTip("Preleva un colore da qualunque punto dello schermo");
  toolButton_->setGeometry(twipsRect(this, kGridLeft, below + 840, width, 390));
  connect(copyButton_, &QPushButton::clicked, this, &ColourPaletteWindow::copyAndClose);
  connect(toolButton_, &QPushButton::clicked, this, &ColourPaletteWindow::startColourTool);
}

ColourPaletteWindow::~ColourPaletteWindow() = default;

void ColourPaletteWindow::load() {
  copyButton_->setFocus();
}

void ColourPaletteWindow::copyAndClose() {
  QGuiApplication::clipboard()->setText(colourText_->text());
  closeWindow();
}

void ColourPaletteWindow::startColourTool() {
  const stdfs::path tool = context().home.file("Plugin") / kColourTool;
  if (is_file(tool)) {
    context().platform->start_program(path_text(tool), {});
    return;
  }
  // Without a tool of its own the palette offers the colour dialog, whose "Pick Screen
  // Color" takes a colour from anywhere on the screen.
  if (!dialog_) {
    dialog_ = new QColorDialog(this);
    dialog_->setObjectName("ColourDialog");
    dialog_->setWindowTitle("Strumento Colori");
    dialog_->setOption(QColorDialog::DontUseNativeDialog);
    connect(dialog_, &QColorDialog::colorSelected, this, [this](const QColor& c) {
      colourText_->setText(fromUtf8(colour_text(colour_value(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())))));
    });
  }
  dialog_->open();
}

}  // namespace pm
