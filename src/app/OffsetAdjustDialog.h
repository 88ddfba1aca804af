#pragma once

#include "printing/OffsetAdjustment.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace mldd {

class WaybillPreview;

/**
 * 快递单打印偏移调整: the order's waybill drawn large over its form; the
 * seller moves and stretches the items, then saves the movement into the
 * waybill printer's offsets or puts the items back.
 */
class OffsetAdjustDialog : public QDialog {
    Q_OBJECT

public:
    OffsetAdjustDialog(const PrinterSetup& setup, const QString& printer, const PageModel& page,
                       QWidget* parent = nullptr);

    /** The button captioned `caption` (上 下 左 右 增大行距 减小行距 保存 放弃 看看视频帮助
     * 调成什么样？). */
    QPushButton* button(const QString& caption) const;
    QLabel* rightwardCounter() const { return m_rightward; }
    QLabel* downwardCounter() const { return m_downward; }
    QLabel* spacingCounter() const { return m_spacing; }
    WaybillPreview* view() const { return m_view; }

private:
    /** Does `change` to the adjustment, then shows the counters and the moved view. */
    void adjust(void (OffsetAdjustment::*change)());
    void showAdjustment();
    void save();
    void discard();

    const PrinterSetup& m_setup;
    QString m_printer;
    OffsetAdjustment m_adjustment;
    WaybillPreview* m_view;
    QLabel* m_rightward;
    QLabel* m_downward;
    QLabel* m_spacing;
    QList<QPushButton*> m_buttons;
};

} // namespace mldd
