#pragma once

#include <QByteArray>

class QCoreApplication;

namespace mldd {

/**
 * The program speaks Chinese whatever the machine's locale is: Qt's own
 * buttons and menus, dates, numbers and file dialogs. Made before the
 * application object (whose start reads the locale), installed right after it.
 */
class ChineseLocale {
public:
    ChineseLocale();

    /**
     * Loads Qt's Chinese catalogue and gives the machine's locale back to the
     * programs this one starts. False when the catalogue is not installed.
     */
    bool install(QCoreApplication& app);

private:
    QByteArray m_machineLocale;
    bool m_hadMachineLocale;
};

} // namespace mldd
