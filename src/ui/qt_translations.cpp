// Qt's own Italian translations for the tool and Registro.
#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace pm {

bool loadItalianQtTranslations(QCoreApplication& app) {
  const QLocale italian(QLocale::Italian, QLocale::Italy);
  QLocale::setDefault(italian);
  auto* translator = new QTranslator(&app);
  for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
    // "qt_it" names the catalogues of every Qt module; "qtbase_it" is the one the widgets need.
    if (translator->load(italian, QStringLiteral("qtbase"), QStringLiteral("_"), folder) ||
        translator->load(italian, QStringLiteral("qt"), QStringLiteral("_"), folder)) {
      app.installTranslator(translator);
      return true;
    }
  }
  delete translator;
  return false;
}

}  // namespace pm
