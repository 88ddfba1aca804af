#include "DecodeRules.h"

#include "GoodsRules.h"
#include "RuleRun.h"

namespace mldd {

namespace {

constexpr int kRegisterCount = 15;
constexpr int kOrderNumberRegister = 1;
constexpr int kGoodsRegister = 12;

/** The decode-file language: the shared commands and "SETALL", which emits a record. */
class DecodeRun : public RuleRun {
public:
    DecodeRun(const QString& page, bool withGoods, WorkBudget& budget)
        : RuleRun(page, kRegisterCount, false, budget), m_withGoods(withGoods) {}

    DecodeResult result() const { return {m_records, m_goodsFallback, m_budget.exhausted()}; }

protected:
    std::optional<Step> runOwnCommand(const ProgramLine& line, qint64) override {
        if (line.command() != u"SETALL")
            return std::nullopt;
        if (m_withGoods) {
            const GoodsResult goods = RunGoodsRules(m_registers.at(kGoodsRegister).toString(),
                                                    goodsProgram(line.field(1)), m_budget);
            m_registers[kGoodsRegister] = TextSlice(goods.text);
            m_goodsFallback = m_goodsFallback || goods.fallback;
        }
        appendRecord();
        return next();
    }

private:
    // A page's records usually share one goods program: it is cut into lines once.
    const RuleProgram& goodsProgram(const QString& text) {
        if (!m_goodsProgram || m_goodsProgramText != text) {
            m_goodsProgram = parseGoodsProgram(text);
            m_goodsProgramText = text;
        }
        return *m_goodsProgram;
    }

    void appendRecord() {
        QString record = QStringLiteral("{|D|}");
        for (int index = 0; index < kRegisterCount; ++index) {
            if (index > 0)
                record += QStringLiteral("{|B|}");
            const QStringView value = m_registers.at(index).view();
            // An order number never holds a space; other fields keep their inner ones.
            if (index == kOrderNumberRegister)
                record += value.toString().remove(u' ');
            else
                record += trimSpaces(value);
        }
        if (m_budget.allows(m_records.size() + record.size()) && m_budget.spend(record.size()))
            m_records += record;
    }

    bool m_withGoods;
    bool m_goodsFallback = false;
    QString m_goodsProgramText;
    std::optional<RuleProgram> m_goodsProgram;
    QString m_records;
};

} // namespace

QString joinDecodeFileLines(const QString& fileText) {
    QString joined = fileText;
    joined.remove(u'\r');
    joined.remove(u'\n');
    return joined;
}

DecodeResult RunDecodeRules(const QString& pageText, const QString& decodeFileText,
                            bool withGoods) {
    const QString rules = joinDecodeFileLines(decodeFileText);
    WorkBudget budget(pageText.size() + rules.size());
    DecodeRun run(pageText, withGoods, budget);
    run.run(RuleProgram(rules, QStringLiteral("{|}"), QStringLiteral("^")));
    return run.result();
}

} // namespace mldd
