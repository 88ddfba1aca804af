#include "NumberFormat.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cmath>

namespace mldd::NumberFormat {

namespace {

// The first section of a format code (the one for positive numbers), with
// quoted literals, escapes and bracketed tags kept as they are for the scanners.
QString firstSection(const QString& code) {
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == u'"')
            quoted = !quoted;
        else if (c == u'\\')
            ++i;
        else if (c == u';' && !quoted)
            return code.left(i);
    }
    return code;
}

// The code with quoted literals, escapes and [tags] taken out: what decides its kind.
QString bareCode(const QString& code) {
    QString bare;
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == u'"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i);
            const QString tag = code.mid(i + 1, close - i - 1).toLower();
            if (tag == u"h" || tag == u"hh" || tag == u"m" || tag == u"mm" || tag == u"s" ||
                tag == u"ss")
                bare += tag;
            i = close < 0 ? code.size() : close;
        } else {
            bare += c;
        }
    }
    return bare;
}

// The digits of a whole number written with an exponent ("1.2345678901234567E+18"), every
// written digit kept; empty when the text is no whole number so written.
QString wholeDigitsOf(const QString& rawText) {
    static const QRegularExpression exponent(
        QStringLiteral("^(-?)([0-9]+)(?:\\.([0-9]*))?[eE]\\+?([0-9]{1,2})$"));
    const QRegularExpressionMatch match = exponent.match(rawText);
    if (!match.hasMatch())
        return QString();
    QString fraction = match.captured(3);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    // Past twenty digits a number is a measure, no order number: shown as General shows it.
    const int shift = match.captured(4).toInt();
    if (fraction.size() > shift || shift > 20)
        return QString();
    QString digits = match.captured(2) + fraction + QString(shift - fraction.size(), u'0');
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits.remove(0, 1);
    return digits == u"0" ? digits : match.captured(1) + digits;
}

QString generalText(double value, const QString& rawText) {
    static const QRegularExpression wholeNumber(QStringLiteral("^-?[0-9]+$"));
    if (wholeNumber.match(rawText).hasMatch())
        return rawText;
    if (const QString digits = wholeDigitsOf(rawText); !digits.isEmpty())
        return digits;
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e17)
        return QString::number(value, 'f', 0);
    QString text = QString::number(value, 'g', 15);
    if (text.contains(u'e') && std::fabs(value) >= 1e-5 && std::fabs(value) < 1e17) {
        text = QString::number(value, 'f', 10);
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

QDateTime dateOf(double serial, bool date1904) {
    qint64 days = qint64(std::floor(serial));
    const qint64 seconds = qint64(std::llround((serial - double(days)) * 86400.0));
    QDate base;
    if (date1904) {
        base = QDate(1904, 1, 1);
    } else {
        // The first spreadsheet programs counted a 29 February 1900 that never was.
        base = QDate(1899, 12, 31);
        if (days >= 60)
            --days;
    }
    return QDateTime(base.addDays(days), QTime(0, 0)).addSecs(seconds);
}

QString twoDigits(int n) {
    return QString::number(n).rightJustified(2, u'0');
}

QString formatDate(double value, const QString& code, bool date1904) {
    const QDateTime at = dateOf(value, date1904);
    const QDate date = at.date();
    const QTime time = at.time();
    const bool twelveHour = code.contains(QStringLiteral("AM/PM"), Qt::CaseInsensitive) ||
                            code.contains(QStringLiteral("上午/下午"));
    QString out;
    bool lastWasHour = false;
    for (qsizetype i = 0; i < code.size();) {
        const QChar c = code.at(i);
        const QChar lower = c.toLower();
        qsizetype run = 1;
        while (i + run < code.size() && code.at(i + run).toLower() == lower)
            ++run;
        if (c == u'"') {
            const qsizetype close = code.indexOf(u'"', i + 1);
            out += code.mid(i + 1, (close < 0 ? code.size() : close) - i - 1);
            i = close < 0 ? code.size() : close + 1;
            continue;
        }
        if (c == u'\\' && i + 1 < code.size()) {
            out += code.at(i + 1);
            i += 2;
            continue;
        }
        if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i);
            const QString tag = code.mid(i + 1, close - i - 1).toLower();
            if (tag.startsWith(u'h'))
                out += QString::number(qint64(std::floor(value * 24)));
            else if (tag.startsWith(u'm'))
                out += QString::number(qint64(std::floor(value * 1440)));
            i = close < 0 ? code.size() : close + 1;
            continue;
        }
        if (code.mid(i, 5).compare(QStringLiteral("AM/PM"), Qt::CaseInsensitive) == 0) {
            out += time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            i += 5;
            continue;
        }
        if (code.mid(i, 5) == QStringLiteral("上午/下午")) {
            out += time.hour() < 12 ? QStringLiteral("上午") : QStringLiteral("下午");
            i += 5;
            continue;
        }
        if (lower == u'y') {
            out += run <= 2 ? twoDigits(date.year() % 100) : QString::number(date.year());
        } else if (lower == u'm') {
            // "m" after an hour or before seconds is minutes.
            const QString rest = code.mid(i + run).trimmed();
            const bool minutes = lastWasHour || (rest.startsWith(u':') && rest.contains(u's')) ||
                                 rest.startsWith(u's');
            if (minutes)
                out += run >= 2 ? twoDigits(time.minute()) : QString::number(time.minute());
            else if (run >= 4)
                out += QLocale::c().monthName(date.month());
            else if (run == 3)
                out += QLocale::c().monthName(date.month(), QLocale::ShortFormat);
            else
                out += run == 2 ? twoDigits(date.month()) : QString::number(date.month());
        } else if (lower == u'd') {
            if (run >= 4)
                out += QLocale::c().dayName(date.dayOfWeek());
            else if (run == 3)
                out += QLocale::c().dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else
                out += run == 2 ? twoDigits(date.day()) : QString::number(date.day());
        } else if (lower == u'h') {
            int hour = time.hour();
            if (twelveHour)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            out += run >= 2 ? twoDigits(hour) : QString::number(hour);
        } else if (lower == u's') {
            out += run >= 2 ? twoDigits(time.second()) : QString::number(time.second());
        } else {
            out += QString(run, c);
        }
        if (lower != u':' && lower != u' ')
            lastWasHour = lower == u'h';
        i += run;
    }
    return out;
}

QString withThousands(const QString& digits) {
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += u',';
        out += digits.at(i);
    }
    return out;
}

// Fixed decimals, percent, thousands and zero padding; text around the number is kept.
QString formatFixed(double value, const QString& code) {
    QString prefix;
    QString suffix;
    QString pattern;
    bool quoted = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        QString& literal = pattern.isEmpty() ? prefix : suffix;
        if (c == u'"') {
            quoted = !quoted;
        } else if (quoted) {
            literal += c;
        } else if (c == u'\\' && i + 1 < code.size()) {
            literal += code.at(++i);
        } else if (c == u'[') {
            i = code.indexOf(u']', i);
            if (i < 0)
                break;
        } else if (c == u'_' || c == u'*') {
            ++i;
        } else if (QStringLiteral("0#?,.").contains(c) && suffix.isEmpty()) {
            pattern += c;
        } else {
            literal += c;
        }
    }
    const bool percent = prefix.contains(u'%') || suffix.contains(u'%');
    if (percent)
        value *= 100;
    const qsizetype point = pattern.indexOf(u'.');
    const QString whole = point < 0 ? pattern : pattern.left(point);
    const QString fraction = point < 0 ? QString() : pattern.mid(point + 1);
    const int decimals = int(fraction.count(u'0') + fraction.count(u'#') + fraction.count(u'?'));
    const int padding = int(whole.count(u'0'));
    const bool thousands = whole.contains(u',') && !whole.endsWith(u',');

    QString number = QString::number(std::fabs(value), 'f', decimals);
    QString integer = number.section(u'.', 0, 0);
    const QString decimalsText = number.section(u'.', 1);
    if (integer == u"0" && padding == 0)
        integer.clear();
    integer = integer.rightJustified(padding, u'0');
    if (thousands)
        integer = withThousands(integer);
    QString text = integer;
    if (decimals > 0)
        text += u'.' + decimalsText;
    if (value < 0 && number.contains(QRegularExpression(QStringLiteral("[1-9]"))))
        text.prepend(u'-');
    return prefix + text + suffix;
}

} // namespace

QString builtInCode(int id) {
    switch (id) {
    case 1:
        return QStringLiteral("0");
    case 2:
        return QStringLiteral("0.00");
    case 3:
        return QStringLiteral("#,##0");
    case 4:
        return QStringLiteral("#,##0.00");
    case 9:
        return QStringLiteral("0%");
    case 10:
        return QStringLiteral("0.00%");
    case 14:
        return QStringLiteral("yyyy/m/d");
    case 15:
        return QStringLiteral("d-mmm-yy");
    case 16:
        return QStringLiteral("d-mmm");
    case 17:
        return QStringLiteral("mmm-yy");
    case 18:
        return QStringLiteral("h:mm AM/PM");
    case 19:
        return QStringLiteral("h:mm:ss AM/PM");
    case 20:
        return QStringLiteral("h:mm");
    case 21:
        return QStringLiteral("h:mm:ss");
    case 22:
        return QStringLiteral("yyyy/m/d h:mm");
    case 27:
    case 36:
    case 50:
    case 57:
        return QStringLiteral("yyyy\"年\"m\"月\"");
    case 28:
    case 29:
    case 51:
    case 52:
    case 53:
    case 54:
    case 58:
        return QStringLiteral("m\"月\"d\"日\"");
    case 30:
        return QStringLiteral("m-d-yy");
    case 31:
        return QStringLiteral("yyyy\"年\"m\"月\"d\"日\"");
    case 32:
    case 55:
        return QStringLiteral("h\"时\"mm\"分\"");
    case 33:
    case 56:
        return QStringLiteral("h\"时\"mm\"分\"ss\"秒\"");
    case 34:
    case 35:
        return QStringLiteral("上午/下午h\"时\"mm\"分\"");
    case 37:
    case 38:
        return QStringLiteral("#,##0");
    case 39:
    case 40:
        return QStringLiteral("#,##0.00");
    case 45:
        return QStringLiteral("mm:ss");
    case 46:
        return QStringLiteral("[h]:mm:ss");
    case 47:
        return QStringLiteral("mm:ss.0");
    case 49:
        return QStringLiteral("@");
    default:
        return QString();
    }
}

QString isoDateText(QString text) {
    text.replace(u'T', u' ');
    static const QRegularExpression noFraction(QStringLiteral("\\.0+$"));
    text.remove(noFraction);
    if (text.endsWith(QStringLiteral(" 00:00:00")))
        text.chop(9);
    // Spreadsheet programs keep a time without a date on the day before their first day.
    if (text.startsWith(QStringLiteral("1899-12-31 ")))
        text.remove(0, 11);
    return text;
}

std::optional<double> serialOfIsoDate(const QString& text) {
    // Date and time apart: a date-time of the file's own belongs to no time zone.
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    const QTime time = text.size() > 11 && text.at(10) == u'T'
                           ? QTime::fromString(text.mid(11), Qt::ISODateWithMs)
                           : QTime(0, 0);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    qint64 days = QDate(1899, 12, 31).daysTo(date);
    if (days >= 60) // the 29 February 1900 that never was, as dateOf counts it
        ++days;
    return double(days) + double(time.msecsSinceStartOfDay()) / 86400000.0;
}

bool isDateFormat(const QString& formatCode) {
    const QString bare = bareCode(firstSection(formatCode)).toLower();
    return bare.contains(QRegularExpression(QStringLiteral("[ymdhs]"))) &&
           !bare.contains(QStringLiteral("general"));
}

QString format(double value, const QString& rawText, const QString& formatCode, bool date1904) {
    const QString section = firstSection(formatCode);
    const QString bare = bareCode(section).toLower();
    if (bare.isEmpty() || bare == u"general" || bare == u"@" ||
        bare.contains(QStringLiteral("e+")) || !std::isfinite(value))
        return generalText(value, rawText);
    if (isDateFormat(section) && value >= 0 && value < 2958466)
        return formatDate(value, section, date1904);
    if (bare.contains(QRegularExpression(QStringLiteral("[0#?]"))))
        return formatFixed(value, section);
    return generalText(value, rawText);
}

} // namespace mldd::NumberFormat
