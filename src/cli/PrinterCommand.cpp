#include "Commands.h"

#include "printing/CupsSpooler.h"
#include "printing/LabelDetection.h"
#include "printing/LabelSettings.h"
#include "printing/PrintChecks.h"
#include "printing/PrinterSetup.h"

namespace mldd::cli {

namespace {

const QString kPrinterUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] printer set --printer NAME --language tspl|zpl|epl|driver\n"
    "         [--dpi N] [--paper WxH|none] [--gap MM | --mark MM] [--darkness 0-15] [--speed 1-6]\n"
    "       mldd-cli [--data DIR] printer show --printer NAME\n"
    "  设置、显示打印机的打印语言（驱动程序或标签打印机的 TSPL、ZPL、EPL 指令）和纸张（毫米）");

std::optional<int> wholeNumber(const std::optional<QString>& text, int lowest, int highest) {
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

int show(const PrinterSetup& setup, CupsSpooler& spooler, const QString& printer) {
    const LabelSettingsRead read = LabelSetup(setup).load(printer);
    if (read.note)
        writeError(read.note->text + u'\n');
    const LabelSettings& label = read.settings;
    QString text = QStringLiteral("打印机：%1\n打印语言：%2\n分辨率：%3 dpi\n")
                       .arg(printer, LabelLanguages::name(label.language))
                       .arg(PrintChecks::dotsPerInch(setup, spooler, printer));
    if (!label.commands())
        text += QStringLiteral("纸张：%1\n")
                    .arg(label.paperMm
                             ? LabelLanguages::sizeText(*label.paperMm) + QStringLiteral(" 毫米")
                             : QStringLiteral("按单据尺寸"));
    if (label.commands())
        text += QStringLiteral("标签尺寸：%1 毫米\n%2：%3 毫米\n浓度：%4\n速度：%5\n")
                    .arg(LabelLanguages::sizeText(label.labelMm()),
                         label.sensing == LabelSensing::BlackMark ? QStringLiteral("黑标")
                                                                  : QStringLiteral("间隙"),
                         QString::number(label.gapMm))
                    .arg(label.darkness)
                    .arg(label.speed);
    const PrinterQuery query = spooler.query(printer);
    if (query.retrieved())
        text += QStringLiteral("检测到的打印语言：%1\n")
                    .arg(LabelLanguages::name(detectLabelLanguage(query.port, query.driver)));
    writeOut(text);
    return Success;
}

} // namespace

int runPrinter(const CliContext& context, QStringList args) {
    bool missingValue = false;
    const std::optional<QString> printer =
        takeOption(args, QStringLiteral("printer"), &missingValue);
    const std::optional<QString> language =
        takeOption(args, QStringLiteral("language"), &missingValue);
    const std::optional<QString> dpi = takeOption(args, QStringLiteral("dpi"), &missingValue);
    const std::optional<QString> paper = takeOption(args, QStringLiteral("paper"), &missingValue);
    const std::optional<QString> gap = takeOption(args, QStringLiteral("gap"), &missingValue);
    const std::optional<QString> mark = takeOption(args, QStringLiteral("mark"), &missingValue);
    const std::optional<QString> darkness =
        takeOption(args, QStringLiteral("darkness"), &missingValue);
    const std::optional<QString> speed = takeOption(args, QStringLiteral("speed"), &missingValue);
    const bool setting = args == QStringList{QStringLiteral("set")};
    if (missingValue || !printer || printer->isEmpty() || (gap && mark) ||
        (!setting && args != QStringList{QStringLiteral("show")}) || (setting && !language) ||
        (!setting && (language || dpi || paper || gap || mark || darkness || speed)))
        return fail(Usage, kPrinterUsage);

    const ErrorLog log(context.dataFolder.errorLogPath());
    const PrinterSetup setup(context.dataFolder, log);
    CupsSpooler spooler;
    if (!spooler.destinations().contains(*printer))
        return fail(Failed, QStringLiteral("没有安装这台打印机：%1").arg(*printer));
    if (!setting)
        return show(setup, spooler, *printer);

    LabelSettings label = LabelSetup(setup).load(*printer).settings;
    const std::optional<LabelLanguage> chosen = LabelLanguages::fromName(*language);
    if (!chosen)
        return fail(
            Usage,
            QStringLiteral("没有这种打印语言：%1（可选 tspl、zpl、epl、driver）").arg(*language));
    label.language = *chosen;
    std::optional<int> dotsPerInch;
    if (dpi) {
        dotsPerInch = wholeNumber(dpi, 1, 10000);
        if (!dotsPerInch || !PrinterSetup::kResolutions.contains(*dotsPerInch))
            return fail(Usage,
                        QStringLiteral("打印机分辨率只能是 203 或 300 这样的常见值：%1").arg(*dpi));
    }
    if (paper && paper->trimmed() == u"none") {
        label.paperMm.reset(); // each page its own size again
    } else if (paper) {
        const std::optional<QSizeF> size = LabelLanguages::paperFromText(*paper);
        if (!size)
            return fail(Usage,
                        QStringLiteral("纸张尺寸要写成 宽x高（毫米），如 100x150：%1").arg(*paper));
        label.paperMm = *size;
    }
    if (label.commands() && !LabelLanguages::labelWidthFits(label.labelMm()))
        return fail(Usage, QStringLiteral("标签打印机的标签尺寸最宽120毫米：%1")
                               .arg(LabelLanguages::sizeText(label.labelMm())));
    if (gap || mark) {
        bool ok = false;
        const double millimetres = (gap ? *gap : *mark).trimmed().toDouble(&ok);
        if (!ok || millimetres < 0 || millimetres > 30)
            return fail(
                Usage,
                QStringLiteral("间隙或黑标的高度只能是 0 到 30 毫米：%1").arg(gap ? *gap : *mark));
        label.gapMm = millimetres;
        label.sensing = gap ? LabelSensing::Gap : LabelSensing::BlackMark;
    }
    if (darkness) {
        const std::optional<int> value = wholeNumber(darkness, 0, LabelSettings::kMaxDarkness);
        if (!value)
            return fail(Usage, QStringLiteral("浓度只能是 0 到 15 的整数：%1").arg(*darkness));
        label.darkness = *value;
    }
    if (speed) {
        const std::optional<int> value =
            wholeNumber(speed, LabelSettings::kMinSpeed, LabelSettings::kMaxSpeed);
        if (!value)
            return fail(Usage, QStringLiteral("速度只能是 1 到 6 的整数：%1").arg(*speed));
        label.speed = *value;
    }
    if (!LabelSetup(setup).save(*printer, label) ||
        (dotsPerInch && !setup.saveResolution(*printer, *dotsPerInch)))
        return fail(Failed,
                    QStringLiteral("打印机设置没有保存：%1").arg(setup.labelFile(*printer)));
    return show(setup, spooler, *printer);
}

} // namespace mldd::cli
