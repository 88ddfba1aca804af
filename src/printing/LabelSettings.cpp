#include "LabelSettings.h"

#include "PrinterSetup.h"

#include "core/LocationCode.h"
#include "core/SettingsFile.h"
#include "waybill/PageModel.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace mldd {

namespace {

const QString kGapWord = QStringLiteral("间隙");
const QString kMarkWord = QStringLiteral("黑标");

// Label printers of the kind sellers buy have heads up to about 4.3 inches wide.
constexpr double kMinMm = 10;
constexpr double kMaxWidthMm = 120;
constexpr double kMaxHeightMm = 1000;
constexpr double kMaxGapMm = 30;
constexpr double kMaxPaperMm = 1000;
// Marks a line whose sizes are the printer's paper, also for a driver printer.
const QString kPaperMark = QStringLiteral("纸张");

QString number(double value) {
    return QString::number(value, 'g', 6);
}

} // namespace

namespace LabelLanguages {

QString name(LabelLanguage language) {
    switch (language) {
    case LabelLanguage::Tspl:
        return QStringLiteral("TSPL");
    case LabelLanguage::Zpl:
        return QStringLiteral("ZPL");
    case LabelLanguage::Epl:
        return QStringLiteral("EPL");
    case LabelLanguage::Driver:
        break;
    }
    return QStringLiteral("驱动程序");
}

std::optional<LabelLanguage> fromName(const QString& text) {
    const QString wanted = text.trimmed();
    if (wanted.compare(QStringLiteral("driver"), Qt::CaseInsensitive) == 0)
        return LabelLanguage::Driver;
    for (LabelLanguage language : all()) {
        if (wanted.compare(name(language), Qt::CaseInsensitive) == 0)
            return language;
    }
    return std::nullopt;
}

QList<LabelLanguage> all() {
    return {LabelLanguage::Driver, LabelLanguage::Tspl, LabelLanguage::Zpl, LabelLanguage::Epl};
}

std::optional<QSizeF> paperFromText(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*[xX×*]\\s*(\\d+(?:\\.\\d+)?)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QSizeF size(match.captured(1).toDouble(), match.captured(2).toDouble());
    if (size.width() < kMinMm || size.width() > kMaxPaperMm || size.height() < kMinMm ||
        size.height() > kMaxPaperMm)
        return std::nullopt;
    return size;
}

bool labelWidthFits(QSizeF sizeMm) {
    return sizeMm.width() <= kMaxWidthMm && sizeMm.height() <= kMaxHeightMm;
}

std::optional<QSizeF> sizeFromText(const QString& text) {
    const std::optional<QSizeF> size = paperFromText(text);
    if (!size || !labelWidthFits(*size))
        return std::nullopt;
    return size;
}

QString sizeText(QSizeF sizeMm) {
    return number(sizeMm.width()) + u'×' + number(sizeMm.height());
}

} // namespace LabelLanguages

LabelSettingsRead LabelSetup::load(const QString& printer) const {
    LabelSettingsRead read;
    const QString path = m_setup.labelFile(printer);
    if (printer.isEmpty() || !QFileInfo::exists(path))
        return read;
    const QStringList fields =
        readSettingsLine(path, QString(), m_setup.log(), LocationCode::WaybillPrinter).split(u'|');
    const std::optional<LabelLanguage> language = LabelLanguages::fromName(fields.value(0));
    if (!language) {
        // An edited or newer file: the driver prints what the program cannot speak.
        const QString text = QStringLiteral("打印机 %1 的设置中的打印语言“%2”无法识别，"
                                            "按“驱动程序”打印。请在打印机设置中重新选择。")
                                 .arg(printer, fields.value(0));
        m_setup.log().append(LocationCode::WaybillPrinter, ErrorLog::BadFormat, text);
        read.note = Notice{text, QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
        return read;
    }
    LabelSettings& settings = read.settings;
    settings.language = *language;
    if (settings.commands() || fields.value(7) == kPaperMark) {
        const std::optional<QSizeF> size =
            (settings.commands() ? LabelLanguages::sizeFromText : LabelLanguages::paperFromText)(
                fields.value(1) + u'x' + fields.value(2));
        settings.paperMm = size;
    }
    settings.sensing = fields.value(3) == kMarkWord ? LabelSensing::BlackMark : LabelSensing::Gap;
    bool ok = false;
    if (const double gap = fields.value(4).toDouble(&ok); ok && gap >= 0 && gap <= kMaxGapMm)
        settings.gapMm = gap;
    if (const int darkness = fields.value(5).toInt(&ok);
        ok && darkness >= 0 && darkness <= LabelSettings::kMaxDarkness)
        settings.darkness = darkness;
    if (const int speed = fields.value(6).toInt(&ok);
        ok && speed >= LabelSettings::kMinSpeed && speed <= LabelSettings::kMaxSpeed)
        settings.speed = speed;
    return read;
}

QSizeF LabelSetup::layoutPaper(const QString& printer, QSizeF otherwise) const {
    const std::optional<QSizeF> paper = load(printer).settings.loadedPaper();
    return paper ? *paper * kTwipsPerMillimetre : otherwise;
}

bool LabelSetup::save(const QString& printer, const LabelSettings& settings) const {
    const std::optional<QSizeF> paper = settings.loadedPaper();
    const QStringList fields = {LabelLanguages::name(settings.language),
                                paper ? number(paper->width()) : QString(),
                                paper ? number(paper->height()) : QString(),
                                settings.sensing == LabelSensing::BlackMark ? kMarkWord : kGapWord,
                                number(settings.gapMm),
                                QString::number(settings.darkness),
                                QString::number(settings.speed),
                                kPaperMark};
    return writeSettingsFile(m_setup.labelFile(printer), {fields.join(u'|')}, m_setup.log(),
                             LocationCode::WaybillPrinter);
}

} // namespace mldd
