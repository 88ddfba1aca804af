#pragma once

#include "waybill/PagePainter.h"

#include <QWidget>

#include <optional>

namespace mldd {

/** A row's waybill drawn small, over the form's picture, as the paper will show it. */
class WaybillPreview : public QWidget {
    Q_OBJECT

public:
    explicit WaybillPreview(QWidget* parent = nullptr);

    /** Shows a laid-out waybill, or `message` (no template) when there is none. */
    void showPage(std::optional<PageModel> page, const QString& message = {});

    /** The page shown, if any. */
    const std::optional<PageModel>& page() const { return m_page; }

    /** Whether the form's picture shows behind the page (the printer never gets it). */
    void setBackgroundShown(bool shown) { m_withBackground = shown; }
    bool backgroundShown() const { return m_withBackground; }

    /** Moves and stretches the items as a printer's offsets and factor do; the picture stays. */
    void setPlacement(PrintPlacement placement);
    const PrintPlacement& placement() const { return m_placement; }

    /** The size of a card's waybill. */
    static constexpr QSize kCardSize{260, 144};
    QSize sizeHint() const override { return kCardSize; }

signals:
    /** The seller clicked the waybill (or the message shown in its place). */
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent*) override { emit clicked(); }

private:
    std::optional<PageModel> m_page;
    QString m_message;
    bool m_withBackground = true;
    PrintPlacement m_placement;
};

} // namespace mldd
