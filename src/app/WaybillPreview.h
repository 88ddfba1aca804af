#pragma once

#include "waybill/PagePainter.h"

#include <QImage>
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

    /** Whether the page is still being drawn (it shows white until then). */
    bool isDrawing() const { return m_page && !m_page->size.isEmpty() && m_drawn.isNull(); }

    /** The page shown, if any. */
    const std::optional<PageModel>& page() const { return m_page; }

    /** Whether the form's picture shows behind the page (the printer never gets it). */
    void setBackgroundShown(bool shown);
    bool backgroundShown() const { return m_withBackground; }

    /** Moves and stretches the items as a printer's offsets and factor do; the picture stays. */
    void setPlacement(PrintPlacement placement);
    const PrintPlacement& placement() const { return m_placement; }

    /** The size of a card's waybill. */
    static constexpr QSize kCardSize{220, 122};
    QSize sizeHint() const override { return kCardSize; }

signals:
    /** The seller clicked the waybill (or the message shown in its place). */
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    /** Draws the page into an image on a worker thread; it is shown when it is ready. */
    void render();

    std::optional<PageModel> m_page;
    /** The page as last drawn, with the form's picture read once; null while it is drawn. */
    QImage m_drawn;
    /** Counts the pages asked for, so that a late image of an earlier page is dropped. */
    quint64 m_asked = 0;
    QString m_message;
    bool m_withBackground = true;
    PrintPlacement m_placement;
};

} // namespace mldd
