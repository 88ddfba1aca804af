#include "Commands.h"

#include "waybill/Code128.h"

namespace mldd::cli {

int runCode128(const CliContext&, QStringList args) {
    if (args.size() != 1)
        return fail(Usage, QStringLiteral("用法: mldd-cli code128 TEXT"));
    const std::optional<QList<int>> values = Code128::encode(args[0]);
    if (!values || args[0].isEmpty())
        return fail(Failed,
                    QStringLiteral("只有英文字母、数字和半角符号可以打印成条码：%1").arg(args[0]));
    QStringList numbers;
    for (int value : *values)
        numbers.append(QString::number(value));
    writeOut(numbers.join(u' ') + u'\n');
    return Success;
}

} // namespace mldd::cli
