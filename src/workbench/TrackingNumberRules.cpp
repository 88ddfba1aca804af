#include "TrackingNumberRules.h"

#include "core/Notice.h"

#include <QRegularExpression>

#include <array>

namespace mldd {

namespace {

using Run = TrackingNumberRule::Run;

// Numbers as the couriers print them on their forms and labels. The last rule takes any
// other courier: letters and digits that fit the order's column.
const std::array<TrackingNumberRule, 9> kRules{{
    {QStringLiteral("顺丰"), QStringLiteral("\\d{12}|SF\\d{13}"),
     QStringLiteral("12位数字，或SF加13位数字"), Run::None},
    {QStringLiteral("EMS"), QStringLiteral("[A-Z]{2}\\d{9}[A-Z]{2}|\\d{13}"),
     QStringLiteral("2个字母、9位数字、2个字母，或13位数字"), Run::S10},
    {QStringLiteral("圆通"), QStringLiteral("(YT|[A-Z])?\\d{10,13}"),
     QStringLiteral("10到13位数字，前面可有YT"), Run::Plain},
    {QStringLiteral("申通"), QStringLiteral("\\d{12,13}"), QStringLiteral("12或13位数字"),
     Run::Plain},
    {QStringLiteral("中通"), QStringLiteral("\\d{12}|\\d{14}"), QStringLiteral("12或14位数字"),
     Run::Plain},
    {QStringLiteral("韵达"), QStringLiteral("\\d{10}|\\d{13}|\\d{15}"),
     QStringLiteral("10、13或15位数字"), Run::Plain},
    {QStringLiteral("宅急送"), QStringLiteral("\\d{10}"), QStringLiteral("10位数字"), Run::Plain},
    {QStringLiteral("天天"), QStringLiteral("\\d{12}"), QStringLiteral("12位数字"), Run::Plain},
    {QString(), QStringLiteral("[A-Z0-9]{6,20}"), QStringLiteral("6到20位数字或字母"), Run::Plain},
}};

const std::array<int, 8> kS10Weights{8, 6, 4, 2, 3, 5, 9, 7};

QChar s10CheckDigit(QStringView serial) {
    int sum = 0;
    for (size_t i = 0; i < kS10Weights.size(); ++i)
        sum += kS10Weights[i] * serial.at(qsizetype(i)).digitValue();
    const int check = 11 - sum % 11;
    return QChar(u'0' + (check == 10 ? 0 : check == 11 ? 5 : check));
}

// The number `step` forms after `number`: the last run of digits counted on with its width kept
// (an S10 number's eight serial digits, with the check digit after them made anew). Empty when
// the digits would overflow their width.
QString stepped(const QString& number, qint64 step, Run run) {
    static const QRegularExpression s10(QStringLiteral("^([A-Z]{2})(\\d{8})\\d([A-Z]{2})$"));
    if (run == Run::S10) {
        if (const QRegularExpressionMatch match = s10.match(number); match.hasMatch()) {
            const qint64 serial = match.captured(2).toLongLong() + step;
            if (serial > 99999999)
                return {};
            const QString digits = QStringLiteral("%1").arg(serial, 8, 10, QChar(u'0'));
            return match.captured(1) + digits + s10CheckDigit(digits) + match.captured(3);
        }
    }
    static const QRegularExpression tail(QStringLiteral("^(.*?)(\\d{1,18})$"));
    const QRegularExpressionMatch match = tail.match(number);
    if (!match.hasMatch())
        return {};
    const QString digits = match.captured(2);
    const qint64 next = digits.toLongLong() + step;
    const QString written = QStringLiteral("%1").arg(next, int(digits.size()), 10, QChar(u'0'));
    return written.size() > digits.size() ? QString() : match.captured(1) + written;
}

} // namespace

const TrackingNumberRule& TrackingNumberRules::ruleFor(const QString& delivery) {
    for (const TrackingNumberRule& rule : kRules)
        if (rule.courier.isEmpty() || delivery.contains(rule.courier, Qt::CaseInsensitive))
            return rule;
    return kRules.back();
}

QString TrackingNumberRules::normalized(const QString& number) {
    QString kept;
    for (const QChar c : number)
        if (!c.isSpace())
            kept.append(c.toUpper());
    return kept;
}

std::optional<QString> TrackingNumberRules::doubt(const QString& delivery, const QString& number) {
    const TrackingNumberRule& rule = ruleFor(delivery);
    const QRegularExpression whole(QRegularExpression::anchoredPattern(rule.pattern));
    const QString courier = rule.courier.isEmpty() ? delivery : rule.courier;
    if (number.size() <= kMaxLength && whole.match(number).hasMatch()) {
        // A misread digit of an S10 number shows in its check digit.
        if (rule.run == Run::S10 && stepped(number, 0, rule.run) != number)
            return QStringLiteral("%1的校验位不对，不像%2的运单号。").arg(number, courier);
        return std::nullopt;
    }
    return QStringLiteral("%1不像%2的运单号（%2的运单号是%3）。")
        .arg(number, courier.isEmpty() ? QStringLiteral("快递") : courier, rule.described);
}

std::variant<QStringList, Notice> TrackingNumberRules::run(const QString& delivery,
                                                           const QString& start, int count) {
    const TrackingNumberRule& rule = ruleFor(delivery);
    const QString courier = rule.courier.isEmpty() ? delivery : rule.courier;
    if (rule.run == Run::None)
        return Notice{QStringLiteral("%1的运单不是连号的，请逐个扫描或输入运单号。").arg(courier),
                      QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    if (const std::optional<QString> why = doubt(delivery, start))
        return Notice{*why + QStringLiteral("\r\n请输入第一张快递单的运单号。"),
                      QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    QStringList numbers;
    for (int i = 0; i < count; ++i) {
        const QString number = stepped(start, i, rule.run);
        if (number.isEmpty())
            return Notice{
                QStringLiteral("从%1起连号%2张，运单号的位数不够。").arg(start).arg(count),
                QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
        numbers.append(number);
    }
    return numbers;
}

} // namespace mldd
