#pragma once

class QCoreApplication;

namespace mldd {

/**
 * Loads Qt's own Chinese catalogue, so that the standard buttons (确定, 是, 否,
 * 取消) and the context menus of text boxes speak the program's language.
 * False when the catalogue is not installed (the texts stay English).
 */
bool installChineseTranslation(QCoreApplication& app);

} // namespace mldd
