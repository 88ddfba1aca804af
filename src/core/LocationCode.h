#pragma once

#include <QString>

namespace mldd {

/** Location codes written to ERR.TXT: the start-up step or the procedure that failed. */
namespace LocationCode {
inline const QString ServiceAddress = QStringLiteral("1");
inline const QString UpdateNotice = QStringLiteral("4");
inline const QString OpenDatabase = QStringLiteral("7");
inline const QString SettingsRow = QStringLiteral("8");
inline const QString PrintSettings = QStringLiteral("10");
inline const QString Profiles = QStringLiteral("12");
inline const QString Couriers = QStringLiteral("13");
inline const QString OrderList = QStringLiteral("15");
inline const QString WaybillPrinter = QStringLiteral("17");
inline const QString ImportOptions = QStringLiteral("21");
inline const QString CommandText = QStringLiteral("A3");
inline const QString SaveOptions = QStringLiteral("55");
inline const QString DecodeFile = QStringLiteral("179");
inline const QString Capture = QStringLiteral("A7");
inline const QString Favourites = QStringLiteral("18");
inline const QString TemplateDownload = QStringLiteral("scts");
} // namespace LocationCode

} // namespace mldd
