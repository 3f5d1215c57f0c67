#include "QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

// The locales to try, best first. Qt ships one traditional catalogue, zh_TW, which also serves
// the other traditional variants.
QList<QLocale> candidates(const QStringList& uiLanguages)
{
    QList<QLocale> locales;
    for (const QString& language : uiLanguages) {
        const QLocale locale(language);
        if (locale.language() != QLocale::Chinese)
            continue;
        locales.append(locale);
        if (locale.script() == QLocale::TraditionalChineseScript)
            locales.append(QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan));
    }
    locales.append(QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China));
    return locales;
}

} // namespace

QTranslator* installQtTranslation(QCoreApplication& app, const QStringList& uiLanguages)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QLocale& locale : candidates(uiLanguages)) {
        auto* translator = new QTranslator(&app);
        if (translator->load(locale, u"qtbase"_s, u"_"_s, folder) &&
            QCoreApplication::installTranslator(translator))
            return translator;
        delete translator;
    }
    return nullptr;
}
