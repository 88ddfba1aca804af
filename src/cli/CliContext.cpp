#include "CliContext.h"

#include <cstdio>

namespace mldd::cli {

namespace {
void write(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}
} // namespace

void writeOut(const QString& text) {
    write(stdout, text);
}

void writeError(const QString& text) {
    write(stderr, text);
}

int fail(int status, const QString& message) {
    writeError(message + u'\n');
    return status;
}

std::optional<QString> takeOption(QStringList& args, const QString& name, bool* missingValue) {
    const qsizetype at = args.indexOf(QStringLiteral("--") + name);
    if (at < 0)
        return std::nullopt;
    if (at + 1 >= args.size()) {
        *missingValue = true;
        args.removeAt(at);
        return std::nullopt;
    }
    const QString value = args.at(at + 1);
    args.remove(at, 2);
    return value;
}

bool takeFlag(QStringList& args, const QString& name) {
    return args.removeAll(QStringLiteral("--") + name) > 0;
}

bool isHelp(const QString& argument) {
    return argument == QStringLiteral("--help") || argument == QStringLiteral("-h");
}

QString tabbedLine(const QStringList& fields) {
    QStringList escaped;
    for (const QString& field : fields) {
        QString text;
        for (const QChar c : field) {
            if (c == u'\\')
                text += QStringLiteral("\\\\");
            else if (c == u'\t')
                text += QStringLiteral("\\t");
            else if (c == u'\n')
                text += QStringLiteral("\\n");
            else if (c == u'\r')
                text += QStringLiteral("\\r");
            else if (c.category() == QChar::Other_Control)
                text += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                text += c;
        }
        escaped.append(text);
    }
    return escaped.join(u'\t');
}

QString commandUsage(const QString& usage, const QString& command) {
    QString text;
    bool continued = false;
    for (const QString& line : usage.split(u'\n')) {
        // A command's options may go on in the lines indented below it.
        if (continued && line.startsWith(QStringLiteral("   "))) {
            text += QStringLiteral("    ") + line.trimmed() + u'\n';
            continue;
        }
        continued = line.startsWith(QStringLiteral("  ") + command + u' ');
        if (continued)
            text += QStringLiteral("用法: mldd-cli [--data DIR] ") + line.trimmed() + u'\n';
    }
    return text;
}

std::optional<QList<qint64>> parseIds(const QString& text) {
    QList<qint64> ids;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint64 id = part.trimmed().toLongLong(&ok);
        if (!ok || id <= 0)
            return std::nullopt;
        ids.append(id);
    }
    if (ids.isEmpty())
        return std::nullopt;
    return ids;
}

} // namespace mldd::cli
