#pragma once

#include "PrinterSetup.h"

#include "core/Notice.h"
#include "core/Order.h"

namespace mldd {

/**
 * The adjustment on the waybill view: the seller moves every item by steps
 * of 15 twips and stretches the vertical distances in steps of one percent,
 * then saves the movement into the waybill printer's offsets and factor, or
 * puts everything back.
 */
class OffsetAdjustment {
public:
    static constexpr int kStep = 15;       // twips per press of 上 下 左 右
    static constexpr int kSpacingStep = 1; // percent per press of 增大行距 / 减小行距

    /**
     * Why the adjustment cannot start for `order` on `printer` (the waybill printer); none when a
     * waybill of it was printed there and the ticked orders name one courier at most.
     */
    static std::optional<Notice> refusal(const Order& order, const QStringList& selectedCouriers,
                                         const QString& printer);

    void up() { m_down -= kStep; }
    void down() { m_down += kStep; }
    void left() { m_right -= kStep; }
    void right() { m_right += kStep; }
    void widen() { m_percent += kSpacingStep; }
    /** Stops short of 1 percent: the page cannot fold onto one line. */
    void narrow() { m_percent = std::max(kSpacingStep, m_percent - kSpacingStep); }

    /** The counters the view shows: movement to the right and down (twips), spacing (percent). */
    int rightward() const { return m_right; }
    int downward() const { return m_down; }
    int percent() const { return m_percent; }

    /** Where the view draws the items while the seller moves them. */
    PrintPlacement viewPlacement() const;

    /** The saved offsets corrected by the drift the seller showed in the view. */
    PrinterOffsets offsetsFrom(PrinterOffsets saved) const;

    /** Writes the printer's offsets and the factor; the message says how it went. */
    Notice save(const PrinterSetup& setup, const QString& printer) const;

    /** Puts the items back where they were. */
    Notice discard();

private:
    int m_right = 0;
    int m_down = 0;
    int m_percent = 100;
};

} // namespace mldd
