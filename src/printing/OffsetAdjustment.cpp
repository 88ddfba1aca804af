#include "OffsetAdjustment.h"

#include "OffsetUnits.h"

#include <QSet>

namespace mldd {

namespace {

const QString kTitle = QStringLiteral("墨岚打单");

} // namespace

std::optional<Notice> OffsetAdjustment::refusal(const Order& order,
                                                const QStringList& selectedCouriers,
                                                const QString& printer) {
    if (QSet<QString>(selectedCouriers.begin(), selectedCouriers.end()).size() > 1)
        return Notice{QStringLiteral("打印多份快递单，每次只能选择一个快递！"), kTitle,
                      Notice::Icon::Exclamation};
    if ((order.kdPrint == 0 && order.kdSign == 0) || printer.isEmpty())
        return Notice{QStringLiteral("打印一张快递单之后，再来调整偏移。"), kTitle,
                      Notice::Icon::Exclamation};
    return std::nullopt;
}

PrintPlacement OffsetAdjustment::viewPlacement() const {
    // The painter moves by the placement's offsets left and up: the view's counters go right and
    // down.
    return {double(-m_right), double(-m_down), m_percent / 100.0};
}

PrinterOffsets OffsetAdjustment::offsetsFrom(PrinterOffsets saved) const {
    // The seller makes the view look like the waybill that just came out (the first-print
    // guidance says so), as 增大行距 stretches the view to match a print that ran long. The
    // print drifted as far as the view was moved, so it is taken back by that much: an offset
    // counts leftwards and upwards, so the view's movement adds to the saved offsets.
    return {saved.horizontal + m_right, saved.vertical + m_down};
}

Notice OffsetAdjustment::save(const PrinterSetup& setup, const QString& printer) const {
    const PrinterOffsets saved = setup.offsets(printer).value_or(PrinterOffsets{});
    const double factor = OffsetUnits::adjustedFactor(setup.verticalFactor(), m_percent);
    if (!setup.saveOffsets(printer, offsetsFrom(saved)) || !setup.saveVerticalFactor(factor))
        return Notice{QStringLiteral("打印机偏移设置没有保存：数据文件夹不能写入。"), kTitle,
                      Notice::Icon::Exclamation};
    return Notice{
        QStringLiteral("打印机偏移设置完成。\n下一次您打印的时候，快递面单上的位置就可以了。"),
        kTitle};
}

Notice OffsetAdjustment::discard() {
    *this = OffsetAdjustment();
    return Notice{QStringLiteral("设置完成。\n快递面单上的项目将恢复原位。"), kTitle};
}

} // namespace mldd
