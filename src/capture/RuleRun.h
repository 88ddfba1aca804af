#pragma once

#include "RuleProgram.h"
#include "TextSlice.h"
#include "WorkBudget.h"

#include <QList>

#include <initializer_list>
#include <optional>

namespace mldd {

/**
 * What the decode-file language and the goods language share: the source text
 * "S", the work text "O", the registers, the store step, the text and control
 * commands and the main loop, which ends at the 201st consecutive execution of
 * one line. Each language adds its own commands.
 */
class RuleRun {
public:
    RuleRun(const RuleRun&) = delete;
    RuleRun& operator=(const RuleRun&) = delete;
    virtual ~RuleRun() = default;

    /** Runs the program from line 0 until it ends, jumps away or its budget is spent. */
    void run(const RuleProgram& program);

protected:
    /** Where the run goes after a line. */
    struct Step {
        enum Kind { Next, Jump, End };
        Kind kind = Next;
        qint64 line = 0;
    };
    static Step next() { return {}; }
    static Step jumpTo(qint64 line) { return {Step::Jump, line}; }
    static Step end() { return {Step::End, 0}; }

    /**
     * Starts with "S" and "O" set to `start` with its CR LF pairs written as
     * "[VBCRLF]", and registers "0" up to `numbered` - 1, and "E" after them
     * when `endRegister` is set.
     */
    RuleRun(const QString& start, int numbered, bool endRegister, WorkBudget& budget);

    /** Runs a command of the language's own; none when `line` holds no such command. */
    virtual std::optional<Step> runOwnCommand(const ProgramLine& line, qint64 number) = 0;

    /** The index of the register `name` names; -1 when there is none. */
    int registerIndex(QStringView name) const;
    /** The value of "S", "O" or a register; none for any other name. */
    std::optional<TextSlice> valueNamed(QStringView name) const;

    /** The store step: fields 1 and 2 say where and how; skipped with fewer than three fields. */
    void store(const ProgramLine& line, const TextSlice& result);
    /** Writes `value` into "S", "O", "Q" (both) or a register under `op`; false when no such
     * target. */
    bool storeTo(QStringView target, QStringView op, const TextSlice& value);

    /** "IF", "LOOP" and "IFQ": tests `compared` and jumps to field 1 as the command says. */
    Step conditional(const ProgramLine& line, QStringView compared, bool isLoop);

    /** Searches paid from the budget; the same results as TextSlice's. */
    qsizetype find(const TextSlice& text, QStringView needle, qsizetype from = 0);
    qsizetype findLast(const TextSlice& text, QStringView needle);
    /** The parts joined; an empty text when the result would outgrow the budget. */
    TextSlice concat(std::initializer_list<QStringView> parts);
    /** Every `from` replaced by `to`; an empty `from` leaves the text as it is. */
    TextSlice replaceAll(const TextSlice& text, QStringView from, QStringView to);

    TextSlice m_source;
    TextSlice m_work;
    QList<TextSlice> m_registers;
    WorkBudget& m_budget;

private:
    Step runSharedCommand(const ProgramLine& line);
    std::optional<TextSlice> textCommand(const ProgramLine& line);
    std::optional<TextSlice> countCommand(const ProgramLine& line);
    std::optional<TextSlice> setValue(const ProgramLine& line) const;
    TextSlice withoutRepeatedPlace(const TextSlice& text, qint64 length);
    TextSlice assign(const TextSlice& old, QStringView op, const TextSlice& value);
    Step clearRegisters(const ProgramLine& line);

    int m_numbered;
    bool m_endRegister;
};

} // namespace mldd
