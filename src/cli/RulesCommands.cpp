#include "Commands.h"
#include "FileArgument.h"

#include "capture/DecodeRules.h"
#include "capture/GoodsRules.h"
#include "core/TextCodec.h"

namespace mldd::cli {

namespace {

const QString kCutShort = QStringLiteral("规则运行超出限度，已提前结束，结果可能不全。");

// Reads the two files a rules command needs: the rules (UTF-8 or GBK, as in the
// data folder) and the text they work on (UTF-8, CR LF kept).
bool readRulesAndText(const QString& rulesPath, const QString& textPath, QString* rules,
                      QString* text, QString* message) {
    const std::optional<QByteArray> rulesBytes = readFileArgument(rulesPath, message);
    if (!rulesBytes)
        return false;
    const std::optional<QByteArray> textBytes = readFileArgument(textPath, message);
    if (!textBytes)
        return false;
    *rules = TextCodec::decodeFileBytes(*rulesBytes);
    *text = QString::fromUtf8(*textBytes);
    return true;
}

} // namespace

int runDecode(const CliContext&, QStringList args) {
    bool missingValue = false;
    const std::optional<QString> rulesPath =
        takeOption(args, QStringLiteral("rules"), &missingValue);
    const std::optional<QString> pagePath = takeOption(args, QStringLiteral("page"), &missingValue);
    const bool withGoods = takeFlag(args, QStringLiteral("goods"));
    if (missingValue || !rulesPath || !pagePath || !args.isEmpty())
        return fail(Usage,
                    QStringLiteral("用法: mldd-cli decode --rules FILE --page FILE [--goods]"));
    QString rules;
    QString page;
    QString message;
    if (!readRulesAndText(*rulesPath, *pagePath, &rules, &page, &message))
        return fail(Failed, message);
    const DecodeResult result = RunDecodeRules(page, rules, withGoods);
    writeOut(result.records);
    if (result.cutShort)
        writeError(kCutShort + u'\n');
    return Success;
}

int runGoods(const CliContext&, QStringList args) {
    bool missingValue = false;
    const std::optional<QString> programPath =
        takeOption(args, QStringLiteral("program"), &missingValue);
    const std::optional<QString> textPath = takeOption(args, QStringLiteral("text"), &missingValue);
    if (missingValue || !programPath || !textPath || !args.isEmpty())
        return fail(Usage, QStringLiteral("用法: mldd-cli goods --program FILE --text FILE"));
    QString program;
    QString goods;
    QString message;
    if (!readRulesAndText(*programPath, *textPath, &program, &goods, &message))
        return fail(Failed, message);
    // A goods program is one field of a decode file: its line breaks mean nothing either.
    const GoodsResult result = RunGoodsRules(goods, joinDecodeFileLines(program));
    writeOut(result.text);
    if (result.cutShort)
        writeError(kCutShort + u'\n');
    return Success;
}

} // namespace mldd::cli
