#pragma once

#include "RuleProgram.h"
#include "WorkBudget.h"

#include <QString>

namespace mldd {

/** What one run of a goods program gave. */
struct GoodsResult {
    /** The articles, one per line (CR LF between), or the fallback. */
    QString text;
    /** No article line came out; the text is the goods text followed by one space. */
    bool fallback = false;
    /** The program outgrew the work or text size a run may use and was stopped. */
    bool cutShort = false;
};

/** Reshapes a record's goods text into one line per article with a goods program. */
GoodsResult RunGoodsRules(const QString& goodsText, const QString& program);

/** A goods program cut into lines and fields once, for a decode run that runs it per record. */
RuleProgram parseGoodsProgram(const QString& program);

/** The same run with a parsed program, paid from the budget of the decode run that called it. */
GoodsResult RunGoodsRules(const QString& goodsText, const RuleProgram& program,
                          WorkBudget& budget);

} // namespace mldd
