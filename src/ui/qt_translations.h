// Qt's own Italian translations (standard dialogs and buttons, the child windows' window
// menu, the text fields' context menu), so that every program speaks one language.
#pragma once

class QCoreApplication;

namespace pm {

// Loads Qt's Italian catalogue into `app` and makes Italian the default locale. Looks in
// Qt's translations folder (on Debian, /usr/share/qt6/translations from
// qt6-translations-l10n), then in "translations" beside the program. False when no
// catalogue was found: the interface then keeps Qt's English for Qt's own texts.
bool loadItalianQtTranslations(QCoreApplication& app);

}  // namespace pm
