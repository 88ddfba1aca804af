#pragma once

#include "waybill/PageModel.h"

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

    QSize sizeHint() const override { return {260, 144}; }

signals:
    /** The seller clicked the waybill (or the message shown in its place). */
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent*) override { emit clicked(); }

private:
    std::optional<PageModel> m_page;
    QString m_message;
};

} // namespace mldd
