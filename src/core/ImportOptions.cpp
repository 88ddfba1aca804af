#include "ImportOptions.h"

#include "LocationCode.h"
#include "SettingsFile.h"

namespace mldd {

namespace {
const QString kSeparator = QStringLiteral("[JGF]");
const QString kFileName = QStringLiteral("Jgf.dat");

QString boolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}
} // namespace

ImportOptions ImportOptions::fromLine(const QString& line) {
    const QStringList fields = line.split(kSeparator);
    ImportOptions options;
    options.firstSeparator = fields.value(0);
    options.secondSeparator = fields.value(1);
    options.firstSeparatorChosen = fields.value(2) == QStringLiteral("True");
    // Files written before the merge option existed have four fields: merging stays on.
    options.mergeSameBuyer = fields.size() < 5 || fields.value(4).trimmed() == QStringLiteral("1");
    return options;
}

QString ImportOptions::toLine() const {
    return QStringList{firstSeparator, secondSeparator, boolText(firstSeparatorChosen),
                       boolText(!firstSeparatorChosen),
                       mergeSameBuyer ? QStringLiteral("1") : QStringLiteral("0")}
        .join(kSeparator);
}

ImportOptions ImportOptions::load(const DataFolder& folder, const ErrorLog& log) {
    const QStringList lines =
        readSettingsFile(folder.settingsFile(kFileName), log, LocationCode::ImportOptions);
    return lines.isEmpty() ? ImportOptions() : fromLine(lines.first());
}

bool ImportOptions::save(const DataFolder& folder, const ErrorLog& log) const {
    return writeSettingsFile(folder.settingsFile(kFileName), {toLine()}, log,
                             LocationCode::ImportOptions);
}

} // namespace mldd
