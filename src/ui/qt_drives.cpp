// The drive list of the folder browsers (see qt_drives.h).
#include "ui/qt_drives.h"

#include <QComboBox>
#include <QDir>
#include <QStorageInfo>
#include <QStringList>

namespace pm {

void fillDriveList(QComboBox* list) {
  list->clear();
  QStringList roots;
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!v.isValid() || !v.isReady()) continue;
    QString root = QDir::cleanPath(v.rootPath());
    if (!roots.contains(root)) roots << root;
  }
  roots.sort(Qt::CaseInsensitive);
  for (const QString& r : roots) list->addItem(QDir::toNativeSeparators(r), r);
}

void selectDriveOf(QComboBox* list, const QString& folder) {
  int best = -1;
  qsizetype bestLength = -1;
  for (int i = 0; i < list->count(); ++i) {
    const QString root = list->itemData(i).toString();
    const bool holds = root == "/" || folder.compare(root, Qt::CaseInsensitive) == 0 ||
                       folder.startsWith(root.endsWith('/') ? root : root + "/", Qt::CaseInsensitive);
    if (holds && root.size() > bestLength) {
      best = i;
      bestLength = root.size();
    }
  }
  list->setCurrentIndex(best);
}

}  // namespace pm
