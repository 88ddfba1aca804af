#pragma once

class QCoreApplication;

namespace mldd {

/**
 * The program speaks Chinese whatever the machine's locale is: Qt's own
 * buttons and menus from its Chinese catalogue, and numbers and dates of
 * every widget in the Chinese way (the file dialogs' columns are made Chinese
 * by FileChooser). False when the catalogue is not installed.
 */
bool installChineseLocale(QCoreApplication& app);

} // namespace mldd
