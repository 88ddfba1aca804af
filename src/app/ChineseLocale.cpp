#include "ChineseLocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace mldd {

bool installChineseLocale(QCoreApplication& app) {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    // Every QLocale() and every widget's locale; Qt's "system" locale stays the machine's,
    // which libraries read before main() runs.
    QLocale::setDefault(chinese);
    auto* translator = new QTranslator(&app);
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return app.installTranslator(translator);
}

} // namespace mldd
