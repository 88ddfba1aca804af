#include "ChineseLocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>

namespace mldd {

namespace {
const char kLocaleVariable[] = "LC_ALL";
}

ChineseLocale::ChineseLocale()
    : m_machineLocale(qgetenv(kLocaleVariable)),
      m_hadMachineLocale(qEnvironmentVariableIsSet(kLocaleVariable)) {
    // The C library keeps the machine's locale (a Chinese one may not be installed);
    // Qt reads its own from the variable once, when the application starts.
    std::setlocale(LC_ALL, "");
    qputenv(kLocaleVariable, "zh_CN.UTF-8");
}

bool ChineseLocale::install(QCoreApplication& app) {
    if (m_hadMachineLocale)
        qputenv(kLocaleVariable, m_machineLocale);
    else
        qunsetenv(kLocaleVariable);
    const QLocale chinese(QLocale::Chinese, QLocale::China);
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
