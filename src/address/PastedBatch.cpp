#include "PastedBatch.h"

#include <QRegularExpression>

#include <algorithm>

namespace mldd {

namespace {

// More lines than a receiver ever takes: the block is not one receiver.
constexpr qsizetype kLongestBlock = 8;

struct Line {
    int number = 0;
    QString text;
};

bool isSeparator(const QString& line) {
    static const QRegularExpression separator(QStringLiteral("^[-—－_=＝*＊~～#\\s]*$"));
    return separator.match(line).hasMatch();
}

// "1." "2、" "3)" "(4)" at a line's start; a phone number never has the mark after its digits.
qsizetype numberingLength(const QString& line) {
    static const QRegularExpression numbering(
        QStringLiteral("^\\s*(?:\\d{1,4}\\s*[.．、)）]|[(（]\\d{1,4}[)）])\\s*"));
    const QRegularExpressionMatch match = numbering.match(line);
    return match.hasMatch() ? match.capturedLength() : 0;
}

QList<QList<Line>> groupsOf(const QString& text) {
    QList<QList<Line>> groups(1);
    const QStringList lines = QString(text)
                                  .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                  .replace(u'\r', u'\n')
                                  .split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (isSeparator(lines.at(i))) {
            if (!groups.last().isEmpty())
                groups.emplaceBack();
            continue;
        }
        groups.last().append({int(i + 1), lines.at(i)});
    }
    if (groups.last().isEmpty())
        groups.removeLast();
    return groups;
}

// Numbered lines begin receivers of their own.
QList<QList<Line>> byNumbering(const QList<Line>& group) {
    const auto numbered = std::count_if(group.begin(), group.end(), [](const Line& line) {
        return numberingLength(line.text) > 0;
    });
    if (numbered < 2 && !(numbered == 1 && numberingLength(group.first().text) > 0))
        return {group};
    QList<QList<Line>> blocks;
    for (Line line : group) {
        const qsizetype length = numberingLength(line.text);
        if (length > 0 || blocks.isEmpty())
            blocks.emplaceBack();
        line.text.remove(0, length);
        blocks.last().append(line);
    }
    return blocks;
}

PastedBlock blockOf(const QList<Line>& lines, const PlaceTable& table, const ErrorLog& log) {
    PastedBlock block;
    block.firstLine = lines.first().number;
    QStringList texts;
    for (const Line& line : lines)
        texts.append(line.text);
    block.text = texts.join(u'\n');
    if (lines.size() <= kLongestBlock)
        block.receiver = RecognizeReceiver(block.text, table, log);
    else
        block.receiver.unclear = {QStringLiteral("姓名"), QStringLiteral("电话"),
                                  QStringLiteral("地址")};
    return block;
}

} // namespace

QString PastedBlock::refusal() const {
    if (text.count(u'\n') >= kLongestBlock)
        return QStringLiteral("这一段有%1行，不像一个收件人").arg(text.count(u'\n') + 1);
    if (receiver.name.isEmpty() || receiver.address.isEmpty() || receiver.phone1.isEmpty())
        return receiver.problem();
    return {};
}

QList<PastedBlock> RecognizeBatch(const QString& text, const PlaceTable& table,
                                  const ErrorLog& log) {
    QList<PastedBlock> blocks;
    for (const QList<Line>& group : groupsOf(text)) {
        for (const QList<Line>& lines : byNumbering(group)) {
            QList<PastedBlock> perLine;
            if (lines.size() > 1) {
                for (const Line& line : lines) {
                    PastedBlock one = blockOf({line}, table, log);
                    if (!one.receiver.isWhole())
                        break;
                    perLine.append(one);
                }
            }
            if (perLine.size() == lines.size())
                blocks += perLine;
            else
                blocks.append(blockOf(lines, table, log));
        }
    }
    return blocks;
}

} // namespace mldd
