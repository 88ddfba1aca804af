#include "UpdateNotice.h"

#include "LocationCode.h"
#include "ProgramVersion.h"
#include "ServiceAddress.h"
#include "SettingsFile.h"

#include <QFile>

namespace mldd {

namespace {
const QString kSeparator = QStringLiteral("[U]");
constexpr int kLeastFields = 4;
} // namespace

UpdateNotice UpdateNotice::builtIn() {
    return {kProgramVersion, QStringLiteral("0"), ServiceAddress::kDefault,
            ServiceAddress::kDefault, QString()};
}

UpdateNotice UpdateNotice::load(const DataFolder& folder, const ErrorLog& log) {
    const QString path = folder.programFile(QStringLiteral("update_msg.dat"));
    if (!QFile::exists(path))
        return builtIn();
    const QStringList fields =
        readSettingsFile(path, log, LocationCode::UpdateNotice).value(0).split(kSeparator);
    if (fields.size() < kLeastFields) {
        QFile::remove(path);
        return builtIn();
    }
    return {fields.value(0), fields.value(1), fields.value(2), fields.value(3), fields.value(4)};
}

} // namespace mldd
