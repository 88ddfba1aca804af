#include "Commands.h"

#include "shiplist/CapitalAmount.h"

#include <cmath>

namespace mldd::cli {

int runCapital(const CliContext&, QStringList args) {
    if (args.size() != 1)
        return fail(Usage, QStringLiteral("用法: mldd-cli capital AMOUNT"));
    bool ok = false;
    const double amount = args[0].trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(amount))
        return fail(Failed, QStringLiteral("金额只能是数字：%1").arg(args[0]));
    if (!isWritableInCapitals(amount))
        return fail(Failed, capitalsRangeText() + QStringLiteral("：") + args[0]);
    writeOut(ToCapitalAmount(amount) + u'\n');
    return Success;
}

} // namespace mldd::cli
