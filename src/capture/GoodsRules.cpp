#include "GoodsRules.h"

#include "FindPattern.h"
#include "LineMark.h"
#include "RuleRun.h"

#include <QStringList>

#include <cmath>

namespace mldd {

namespace {

constexpr int kGoodsRegisters = 7; // "0" to "6"; "E" follows them

// Amounts are summed in cents; beyond this they are no prices.
constexpr double kLargestAmount = 1e15;

double cents(double amount) {
    return std::round(qBound(-kLargestAmount, amount, kLargestAmount) * 100);
}

// A total of whole cents as QString::number(total / 100, 'g', 15) writes it, without
// its general formatting for the usual prices: up to thirteen digits print exactly,
// trailing zeros dropped. Zero (whose sign 'g' keeps) and larger totals take that way.
QString amountText(double totalCents) {
    if (totalCents == 0 || std::abs(totalCents) >= 1e13)
        return QString::number(totalCents / 100, 'g', 15);
    const qint64 signedCents = qint64(totalCents);
    const qint64 allCents = signedCents < 0 ? -signedCents : signedCents;
    QString text = QString::number(allCents / 100);
    if (const qint64 fraction = allCents % 100) {
        text += u'.';
        text += QChar(u'0' + int(fraction / 10));
        if (fraction % 10)
            text += QChar(u'0' + int(fraction % 10));
    }
    return signedCents < 0 ? u'-' + text : text;
}

// A name part is one word: line breaks and runs of spaces fold, then spaces become "/".
QString asNameWord(QString text) {
    text.replace(kPageLineEnd, QStringLiteral(" ")).replace(kLineMark, QStringLiteral(" "));
    text = trimSpaces(text).toString();
    for (int pass = 0; pass < 4; ++pass)
        text.replace(QStringLiteral("   "), QStringLiteral(" "))
            .replace(QStringLiteral("  "), QStringLiteral(" "));
    return text.replace(u' ', u'/');
}

/** The goods language: the shared commands plus the article finder and the goods output. */
class GoodsRun : public RuleRun {
public:
    GoodsRun(const QString& goods, WorkBudget& budget)
        : RuleRun(goods + u' ', kGoodsRegisters, true, budget), m_fallback(goods + u' ') {
        // The work text carries one more space than the source text started with.
        m_work = concat({m_work.view(), u" "});
        m_source = m_work;
    }

    GoodsResult result() const {
        const QString lines = m_output.join(kPageLineEnd);
        if (lines.isEmpty())
            return {m_fallback, true, m_budget.exhausted()};
        return {lines, false, m_budget.exhausted()};
    }

protected:
    std::optional<Step> runOwnCommand(const ProgramLine& line, qint64 number) override {
        const QString& command = line.command();
        if (command == u"GOODSFORMAT")
            return line.has(2) ? format(line) : next();
        if (command == u"REPLACEQ")
            return replaceInHead(line);
        if (command == u"IFQ") {
            const std::optional<qint64> length = ruleInteger(line.field(4));
            if (!line.has(5) || !length || *length < 0)
                return next();
            return conditional(
                line, m_work.left(qsizetype(qMin<qint64>(*length, m_work.size()))).view(), false);
        }
        if (command == u"SETBNULL") {
            for (int index = 0; index < kGoodsRegisters; ++index)
                m_registers[index] = TextSlice();
            return next();
        }
        if (command == u"SETLOCATION") {
            m_locationStart = kNoPosition;
            return next();
        }
        if (command == u"LOCATION")
            return line.has(5) ? locate(line) : next();
        if (command == u"SETB")
            return takeArticleParts();
        if (command == u"SETBTOGOODS")
            return line.has(2) ? emitArticle(line) : next();
        if (command == u"SETGOODSTOB")
            return takeBackArticle();
        if (command == u"GOODSJUMP")
            return line.has(3) ? goodsJump(line, number) : next();
        if (command == u"SETTO")
            return line.has(4) ? copyRegister(line) : next();
        return std::nullopt;
    }

private:
    // "E" peels off the last non-empty line; then all lines run together.
    Step format(const ProgramLine& line) {
        if (line.field(1).contains(u'E')) {
            TextSlice& endLine = m_registers[kGoodsRegisters];
            endLine = TextSlice();
            for (qsizetype at = findLast(m_work, kLineMark); at >= 0 && endLine.isEmpty();
                 at = findLast(m_work, kLineMark)) {
                endLine =
                    TextSlice(trimSpaces(m_work.mid(at + kLineMark.size()).view()).toString());
                m_work = m_work.left(at);
            }
        }
        m_work = replaceAll(m_work, kLineMark, u" ");
        m_source = m_work;
        return next();
    }

    Step replaceInHead(const ProgramLine& line) {
        const std::optional<qint64> head = ruleInteger(line.field(5));
        if (!line.has(6) || !head)
            return next();
        const qsizetype at = find(m_work, line.field(3));
        if (at < 0 || at + 1 > *head) {
            store(line, m_work);
            return next();
        }
        const qsizetype length = qsizetype(qMin<qint64>(*head, m_work.size()));
        const TextSlice replaced = replaceAll(m_work.left(length), line.field(3), line.field(4));
        store(line, concat({replaced.view(), m_work.mid(length).view()}));
        return next();
    }

    // Finds the earliest article part that the start and end patterns enclose
    // and the check list accepts; the earliest of several "LOCATION" lines wins.
    Step locate(const ProgramLine& line) {
        const CharPattern startPattern(line.field(1));
        const CharPattern endPattern(line.field(2));
        const QStringView text = m_work.view();
        for (qsizetype at = startPattern.matchFrom(text, 1, m_budget); at > 0;
             at = startPattern.matchFrom(text, at + 1, m_budget)) {
            const qint64 start = at + startPattern.offset();
            const qsizetype endAt =
                endPattern.matchFrom(text, qsizetype(qMax<qint64>(start, 1)), m_budget);
            const qint64 end = endAt > 0 ? endAt + endPattern.offset() : kNoPosition;
            const TextSlice enclosed = between(start, end);
            m_budget.spend(enclosed.size());
            if (!passesCheckList(enclosed.view(), line.field(3)))
                continue;
            if (start < m_locationStart) {
                m_locationStart = start;
                m_locationEnd = end;
                m_locationParts = line.field(4);
            }
            break;
        }
        return next();
    }

    // The characters from 1-based position `start` up to before `end`.
    TextSlice between(qint64 start, qint64 end) const {
        const qsizetype from = qsizetype(qBound<qint64>(0, start - 1, m_work.size()));
        const qsizetype to = qsizetype(qBound<qint64>(0, end - 1, m_work.size()));
        return to > from ? m_work.mid(from, to - from) : TextSlice();
    }

    // Takes the name before the remembered part and adds up the amount in it,
    // as the remembered "name/how/amount/how" says.
    Step takeArticleParts() {
        if (m_locationStart == kNoPosition)
            return next();
        const QStringList parts = m_locationParts.split(u'/');
        const QString nameRegister = parts.value(0);
        const QString nameHow = parts.value(1);
        const QString amountRegister = parts.value(2);
        const QString amountHow = parts.value(3);
        if (nameRegister != u"0") {
            const int index = registerIndex(nameRegister);
            if (index >= 0) {
                const TextSlice name =
                    nameHow == u"="
                        ? concat({m_registers.at(index).view(), between(1, m_locationStart).view()})
                        : TextSlice(nameHow);
                m_registers[index] = TextSlice(asNameWord(name.toString()));
            }
        }
        if (amountRegister != u"0") {
            const int index = registerIndex(amountRegister);
            if (index >= 0 && amountHow == u"=") {
                m_registers[index] = TextSlice(
                    amountText(cents(ruleAmount(m_registers.at(index).view())) +
                               cents(ruleAmount(between(m_locationStart, m_locationEnd).view()))));
            } else if (index >= 0) {
                m_registers[index] = TextSlice(amountHow);
            }
        }
        m_work = m_work.mid(qsizetype(qBound<qint64>(0, m_locationEnd - 1, m_work.size())));
        return next();
    }

    Step emitArticle(const ProgramLine& line) {
        bool complete = true;
        for (const QString& name : line.field(1).split(u'/')) {
            const int index = registerIndex(name);
            complete = complete && index >= 0 && index < kGoodsRegisters &&
                       !m_registers.at(index).isEmpty();
        }
        if (complete) {
            QStringList words;
            for (int index = 1; index < kGoodsRegisters; ++index)
                words.append(m_registers.at(index).toString());
            const QString article = trimSpaces(words.join(u' ')).toString();
            m_outputSize += article.size() + kPageLineEnd.size();
            if (m_budget.allows(m_outputSize) && m_budget.spend(article.size()))
                m_output.append(article);
        }
        if (m_jumpLine == kNoPosition)
            return end();
        return jumpTo(m_jumpLine + 1);
    }

    Step takeBackArticle() {
        QString last = m_output.isEmpty() ? QString() : m_output.takeLast();
        const qsizetype breakAt = last.lastIndexOf(kPageLineEnd);
        if (breakAt >= 0) {
            m_output.append(last.left(breakAt));
            last = last.mid(breakAt + kPageLineEnd.size());
        }
        m_outputSize -= last.size() + kPageLineEnd.size();
        const QStringList words = last.split(u' ');
        for (int i = 0; i < qMin<qsizetype>(words.size(), kGoodsRegisters - 1); ++i) {
            if (!words.at(i).isEmpty())
                m_registers[i + 1] = TextSlice(words.at(i));
        }
        return next();
    }

    Step goodsJump(const ProgramLine& line, qint64 number) {
        const std::optional<qint64> target = ruleInteger(line.field(1));
        const std::optional<qint64> limit = ruleInteger(line.field(2));
        if (!target || !limit)
            return next();
        if (++m_jumps > *limit)
            return next();
        m_jumpLine = number;
        return jumpTo(*target);
    }

    // "=" sets, anything else appends; characters after the operator's first go in front.
    Step copyRegister(const ProgramLine& line) {
        const QString& op = line.field(2);
        const QString& sourceName = line.field(3);
        if (op.isEmpty())
            return next();
        const TextSlice value =
            sourceName == u"Q" ? m_source : valueNamed(sourceName).value_or(TextSlice(sourceName));
        const QStringView prefix = QStringView(op).mid(1);
        const TextSlice written = prefix.isEmpty() ? value : concat({prefix, value.view()});
        storeTo(line.field(1), op.startsWith(u'=') ? u"=" : u"+", written);
        return next();
    }

    QString m_fallback;
    QStringList m_output;
    qsizetype m_outputSize = 0;
    qint64 m_locationStart = kNoPosition;
    qint64 m_locationEnd = kNoPosition;
    QString m_locationParts;
    qint64 m_jumpLine = kNoPosition;
    qint64 m_jumps = 0;
};

} // namespace

GoodsResult RunGoodsRules(const QString& goodsText, const QString& program) {
    WorkBudget budget(goodsText.size() + program.size());
    return RunGoodsRules(goodsText, parseGoodsProgram(program), budget);
}

RuleProgram parseGoodsProgram(const QString& program) {
    return RuleProgram(program, QStringLiteral("[|]"), QStringLiteral("~"));
}

GoodsResult RunGoodsRules(const QString& goodsText, const RuleProgram& program,
                          WorkBudget& budget) {
    GoodsRun run(goodsText, budget);
    run.run(program);
    return run.result();
}

} // namespace mldd
