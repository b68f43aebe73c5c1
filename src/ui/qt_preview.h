// The picture preview of the resource windows: a white box ("Image1") that shows a picture
// file scaled to fit, keeping its proportions.
#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace pm {

QLabel* newPreviewBox(QWidget* parent);
// Shows the picture in `file`; a file that is no picture leaves the previous one (false).
bool showPicture(QLabel* box, const QString& file);

}  // namespace pm
