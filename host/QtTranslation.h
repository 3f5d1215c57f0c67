#pragma once
// Qt's own texts (standard dialog buttons, the line edits' context menu) in the host's language.
#include <QLocale>
#include <QStringList>

class QCoreApplication;
class QTranslator;

// Every text of the host and the module is Chinese whatever the system's locale, so Qt's texts
// are Chinese too: in the Chinese variant the system's UI languages name first (traditional
// characters for zh-TW or zh-HK), else simplified (zh_CN). Loads Qt's base translation from Qt's
// translations folder and installs it; the translator belongs to `app`. Null when no translation
// file could be loaded (Qt's texts then stay English).
QTranslator* installQtTranslation(QCoreApplication& app,
                                  const QStringList& uiLanguages = QLocale::system().uiLanguages());
