#include "RuleRun.h"

#include "LineMark.h"
#include "RuleCondition.h"

namespace mldd {

namespace {

// Both languages end a run when one line executes directly after itself this often.
constexpr int kRepeatLimit = 199;

// Last characters of a place name that may stand repeated at the start of an address.
const QStringView kPlaceEndings = u"市县区旗州京津庆";

} // namespace

RuleRun::RuleRun(const QString& start, int numbered, bool endRegister, WorkBudget& budget)
    : m_registers(numbered + (endRegister ? 1 : 0)), m_budget(budget), m_numbered(numbered),
      m_endRegister(endRegister) {
    // QString::replace moves the tail of the text again for every block of
    // matches; on a long page that grows with the square of its size.
    m_source = replaceAll(TextSlice(start), kPageLineEnd, kLineMark);
    m_work = m_source;
}

void RuleRun::run(const RuleProgram& program) {
    qint64 line = 0;
    qint64 previous = -1;
    int repeats = 0;
    while (line >= 0 && line < program.lineCount() && !m_budget.exhausted()) {
        if (line == previous) {
            if (++repeats > kRepeatLimit)
                break;
        } else {
            previous = line;
            repeats = 0;
        }
        m_budget.spend(WorkBudget::kLineCost);
        const ProgramLine& rule = program.line(line);
        const std::optional<Step> own = runOwnCommand(rule, line);
        const Step step = own ? *own : runSharedCommand(rule);
        if (step.kind == Step::End)
            break;
        line = step.kind == Step::Jump ? step.line : line + 1;
    }
}

int RuleRun::registerIndex(QStringView name) const {
    if (m_endRegister && name == u"E")
        return m_numbered;
    const std::optional<qint64> number = ruleInteger(name);
    return number && *number >= 0 && *number < m_numbered ? int(*number) : -1;
}

std::optional<TextSlice> RuleRun::valueNamed(QStringView name) const {
    if (name == u"S")
        return m_source;
    if (name == u"O")
        return m_work;
    const int index = registerIndex(name);
    if (index < 0)
        return std::nullopt;
    return m_registers.at(index);
}

void RuleRun::store(const ProgramLine& line, const TextSlice& result) {
    if (line.has(3))
        storeTo(line.field(1), line.field(2), result);
}

bool RuleRun::storeTo(QStringView target, QStringView op, const TextSlice& value) {
    if (target == u"S" || target == u"O" || target == u"Q") {
        if (target != u"O")
            m_source = assign(m_source, op, value);
        if (target != u"S")
            m_work = assign(m_work, op, value);
        return true;
    }
    const int index = registerIndex(target);
    if (index < 0)
        return false;
    m_registers[index] = assign(m_registers.at(index), op, value);
    return true;
}

TextSlice RuleRun::assign(const TextSlice& old, QStringView op, const TextSlice& value) {
    if (op == u"=")
        return value;
    // "+" appends, "*" puts a line break between; with any other operator its
    // first character only marks it and the rest is the separator.
    const QStringView separator = op == u"*" ? QStringView(kPageLineEnd) : op.mid(1);
    if (old.isEmpty() && separator.isEmpty())
        return value;
    return concat({old.view(), separator, value.view()});
}

RuleRun::Step RuleRun::conditional(const ProgramLine& line, QStringView compared, bool isLoop) {
    const std::optional<qint64> target = ruleInteger(line.field(1));
    if (!target)
        return next();
    switch (testCondition(compared, line.field(2), line.field(3), !isLoop, m_budget)) {
    case ConditionVerdict::Holds:
        return isLoop ? jumpTo(*target) : next();
    case ConditionVerdict::Fails:
        return isLoop ? next() : jumpTo(*target);
    case ConditionVerdict::UnknownOperator:
        store(line, TextSlice());
        return next();
    case ConditionVerdict::BadNumber:
        break;
    }
    return next();
}

qsizetype RuleRun::find(const TextSlice& text, QStringView needle, qsizetype from) {
    const qsizetype at = text.indexOf(needle, from);
    m_budget.spend(at < 0 ? text.size() - from : at - from + needle.size());
    return at;
}

qsizetype RuleRun::findLast(const TextSlice& text, QStringView needle) {
    const qsizetype at = text.lastIndexOf(needle);
    m_budget.spend(at < 0 ? text.size() : text.size() - at);
    return at;
}

TextSlice RuleRun::concat(std::initializer_list<QStringView> parts) {
    qsizetype size = 0;
    for (const QStringView part : parts)
        size += part.size();
    if (!m_budget.allows(size) || !m_budget.spend(size))
        return TextSlice();
    QString joined;
    joined.reserve(size);
    for (const QStringView part : parts)
        joined.append(part);
    return TextSlice(std::move(joined));
}

TextSlice RuleRun::replaceAll(const TextSlice& text, QStringView from, QStringView to) {
    if (from.isEmpty())
        return text;
    QList<qsizetype> found;
    for (qsizetype at = find(text, from); at >= 0; at = find(text, from, at + from.size()))
        found.append(at);
    if (found.isEmpty())
        return text;
    const qsizetype size = text.size() + found.size() * (to.size() - from.size());
    if (!m_budget.allows(size) || !m_budget.spend(size))
        return TextSlice();
    const QStringView whole = text.view();
    QString replaced;
    replaced.reserve(size);
    qsizetype done = 0;
    for (const qsizetype at : found) {
        replaced.append(whole.mid(done, at - done));
        replaced.append(to);
        done = at + from.size();
    }
    replaced.append(whole.mid(done));
    return TextSlice(std::move(replaced));
}

RuleRun::Step RuleRun::runSharedCommand(const ProgramLine& line) {
    const QString& command = line.command();
    if (command == u"JUMP") {
        const std::optional<qint64> target =
            line.has(2) ? ruleInteger(line.field(1)) : std::nullopt;
        return target ? jumpTo(*target) : next();
    }
    if (command == u"IF" || command == u"LOOP")
        return line.has(4) ? conditional(line, m_work.view(), command == u"LOOP") : next();
    if (command == u"SETNULL")
        return clearRegisters(line);
    const std::optional<TextSlice> result = textCommand(line);
    if (result)
        store(line, *result);
    return next();
}

RuleRun::Step RuleRun::clearRegisters(const ProgramLine& line) {
    const std::optional<qint64> first = ruleInteger(line.field(1));
    const std::optional<qint64> last = ruleInteger(line.field(2));
    if (!line.has(3) || !first || !last || *first > *last)
        return next();
    if (*first < 0 || *last >= m_numbered)
        return next();
    for (qint64 index = *first; index <= *last; ++index)
        m_registers[index] = TextSlice();
    return next();
}

// The result of a text command; none when the line lacks a field the command reads.
std::optional<TextSlice> RuleRun::textCommand(const ProgramLine& line) {
    const QString& command = line.command();
    const QString& marker = line.field(3);
    const QString& endMarker = line.field(4);
    const TextSlice& work = m_work;

    if (command == u"MID") {
        if (!line.has(5))
            return std::nullopt;
        const qsizetype at = find(work, marker);
        if (at < 0)
            return work;
        const qsizetype from = at + marker.size();
        // The end marker is searched from the start of the text, not after the start marker.
        const qsizetype to = find(work, endMarker);
        return to < from ? work : work.mid(from, to - from);
    }
    if (command == u"MIDHN" || command == u"MIDHY" || command == u"MIDQN" || command == u"MIDQY") {
        if (!line.has(4))
            return std::nullopt;
        const qsizetype at = find(work, marker);
        if (at < 0)
            return work;
        if (command == u"MIDHN")
            return work.mid(at + marker.size());
        if (command == u"MIDHY")
            return work.mid(at);
        return work.left(command == u"MIDQN" ? at : at + marker.size());
    }
    if (command == u"MIDQNR" || command == u"MIDQYR") {
        if (!line.has(4))
            return std::nullopt;
        const qsizetype at = findLast(work, marker);
        if (at < 0)
            return work;
        return work.left(command == u"MIDQNR" ? at : at + marker.size());
    }
    if (command == u"MIDQSL" || command == u"MIDHSL" || command == u"MIDQSQ" ||
        command == u"MIDHSQ")
        return countCommand(line);
    if (command == u"REPLACE")
        return line.has(5) ? std::optional(replaceAll(work, marker, endMarker)) : std::nullopt;
    if (command == u"REPLACE1310>")
        return line.has(4) ? std::optional(replaceAll(work, kPageLineEnd, marker)) : std::nullopt;
    if (command == u"REPLACE1310<")
        return line.has(4) ? std::optional(replaceAll(work, marker, kPageLineEnd)) : std::nullopt;
    if (command == u"REPLACECF") {
        const std::optional<TextSlice> source = valueNamed(line.field(1));
        const std::optional<qint64> length = ruleInteger(marker);
        if (!line.has(4) || !source || !length)
            return std::nullopt;
        return withoutRepeatedPlace(*source, *length);
    }
    if (command == u"SET")
        return setValue(line);
    if (command == u"CUT" || command == u"CUTR" || command == u"CUTL") {
        if (!line.has(5))
            return std::nullopt;
        const qsizetype at = find(work, marker);
        if (at < 0)
            return work;
        const qsizetype endAt = find(work, endMarker, at + marker.size());
        if (endAt < 0)
            return work;
        const qsizetype keepTo = command == u"CUTL" ? at + marker.size() : at;
        const qsizetype keepFrom = command == u"CUTR" ? endAt : endAt + endMarker.size();
        return concat({work.left(keepTo).view(), work.mid(keepFrom).view()});
    }
    // An unknown command stores an empty result.
    return TextSlice();
}

std::optional<TextSlice> RuleRun::countCommand(const ProgramLine& line) {
    const std::optional<qint64> count = ruleInteger(line.field(3));
    if (!line.has(4) || !count)
        return std::nullopt;
    const TextSlice& work = m_work;
    if (*count < 0 || *count > work.size())
        return line.command() == u"MIDQSQ" && *count > 0 ? TextSlice() : work;
    const qsizetype n = qsizetype(*count);
    const QString& command = line.command();
    if (command == u"MIDQSL")
        return work.left(n);
    if (command == u"MIDHSL")
        return work.right(n);
    if (command == u"MIDQSQ")
        return work.mid(n);
    return work.left(work.size() - n);
}

std::optional<TextSlice> RuleRun::setValue(const ProgramLine& line) const {
    if (!line.has(4))
        return std::nullopt;
    const QString& value = line.field(3);
    if (value == u"S")
        return m_source;
    if (value == u"O")
        return m_work;
    if (value.size() <= 2 && ruleInteger(value)) {
        // A number of one or two characters names a register; the numbered ones only.
        const int index = registerIndex(value);
        if (index < 0 || index >= m_numbered)
            return std::nullopt;
        return m_registers.at(index);
    }
    return TextSlice(value);
}

// Removes a place name that the text repeats at its start: with the longest
// leading text (at least `length` characters) that occurs again later, that
// text is kept once when it ends like a place name.
TextSlice RuleRun::withoutRepeatedPlace(const TextSlice& text, qint64 length) {
    const auto occursAgain = [&](qsizetype headLength) {
        return find(text, text.view().left(headLength), headLength) >= 0;
    };
    if (length <= 0 || length >= text.size() || !occursAgain(qsizetype(length)))
        return text;
    // Whether a head occurs again shrinks with its length, so halving finds the longest.
    qsizetype found = qsizetype(length);
    qsizetype tooLong = text.size();
    while (tooLong - found > 1) {
        const qsizetype middle = found + (tooLong - found) / 2;
        (occursAgain(middle) ? found : tooLong) = middle;
    }
    const TextSlice head = text.left(found);
    if (!kPlaceEndings.contains(head.view().back()))
        return text;
    return concat({head.view(), replaceAll(text.mid(found), head.view(), u"").view()});
}

} // namespace mldd
