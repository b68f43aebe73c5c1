// The picture preview of the resource windows (see qt_preview.h).
#include "ui/qt_preview.h"

#include <QFileInfo>
#include <QLabel>
#include <QPixmap>

#include "ui/accessibility.h"
#include "ui/qt_measure.h"

namespace pm {

QLabel* newPreviewBox(QWidget* parent) {
  auto* box = new QLabel(parent);
  box->setObjectName("Image1");
  exposeChangingLabel(box, "Anteprima");
  box->setAlignment(Qt::AlignCenter);
  box->setWordWrap(true);
  box->setMinimumSize(twipsToPxX(parent, 3000), twipsToPxY(parent, 3000));
  box->setStyleSheet("#Image1 { background: #ffffff; border: 1px solid #c3cad3; }");
  return box;
}

bool showPicture(QLabel* box, const QString& file) {
  QPixmap picture(file);
  if (picture.isNull()) return false;
  box->setPixmap(picture.scaled(box->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
  box->setAccessibleName("Anteprima di " + QFileInfo(file).fileName());  // a picture has no text to read
  return true;
}

}  // namespace pm
