#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void installTranslations(QCoreApplication& app)
{
    const QLocale locale;
    const QDir programDir(QCoreApplication::applicationDirPath());
    auto* own = new QTranslator(&app);
    for (const QString& folder : {programDir.filePath(QStringLiteral("../translations")),
                                  programDir.filePath(QStringLiteral("../share/corvantix/translations"))}) {
        if (own->load(locale, QStringLiteral("corvantix"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(own);
            auto* qt = new QTranslator(&app);
            if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                QCoreApplication::installTranslator(qt);
            return;
        }
    }
    delete own;
}
