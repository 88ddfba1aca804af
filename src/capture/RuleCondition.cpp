#include "RuleCondition.h"

#include "RuleProgram.h"

namespace mldd {

namespace {

ConditionVerdict verdict(bool holds) {
    return holds ? ConditionVerdict::Holds : ConditionVerdict::Fails;
}

bool contains(QStringView text, QStringView part, WorkBudget& budget) {
    if (part.size() > text.size())
        return false;
    const qsizetype at = text.indexOf(part);
    budget.spend(at < 0 ? text.size() : at + part.size());
    return at >= 0;
}

} // namespace

ConditionVerdict testCondition(QStringView text, QStringView op, QStringView value,
                               bool withLengths, WorkBudget& budget) {
    if (op == u"=")
        return verdict(text == value);
    if (op == u"<>")
        return verdict(text != value);
    if (op == u"<!")
        return verdict(contains(text, value, budget));
    if (op == u"<*")
        return verdict(!contains(text, value, budget));
    if (op == u">!")
        return verdict(contains(value, text, budget));
    if (op == u">*")
        return verdict(!contains(value, text, budget));
    if (!withLengths || !op.startsWith(u'L'))
        return ConditionVerdict::UnknownOperator;

    const QStringView comparison = op.mid(1);
    if (comparison != u"=" && comparison != u"<>" && comparison != u"<" && comparison != u"<=" &&
        comparison != u">" && comparison != u">=")
        return ConditionVerdict::UnknownOperator;
    const std::optional<qint64> n = ruleInteger(value);
    if (!n)
        return ConditionVerdict::BadNumber;
    const qint64 length = text.size();
    if (comparison == u"=")
        return verdict(length == *n);
    if (comparison == u"<>")
        return verdict(length != *n);
    if (comparison == u"<")
        return verdict(length < *n);
    if (comparison == u"<=")
        return verdict(length <= *n);
    if (comparison == u">")
        return verdict(length > *n);
    return verdict(length >= *n);
}

} // namespace mldd
