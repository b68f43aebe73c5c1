// The drive list of the folder browsers: on Linux and macOS the mounted volumes stand for
// the drives, each shown by its root path; the item's data is the root as a Qt path.
#pragma once

#include <QString>

class QComboBox;

namespace pm {

// Fills `list` with the roots of the mounted volumes, sorted.
void fillDriveList(QComboBox* list);
// Selects the drive that holds `folder` (the longest root it lies under); none when no
// root holds it.
void selectDriveOf(QComboBox* list, const QString& folder);

}  // namespace pm
