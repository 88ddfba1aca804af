#pragma once

#include "PagePainter.h"

#include <QPainter>

class QPagedPaintDevice;

namespace mldd {

/**
 * Paints page models one after another onto a paged device (a PDF writer or
 * a printer), each page sized to its model, without margins.
 */
class PagedOutput {
public:
    /** `barDotsPerInch`: the printer's resolution the barcodes are laid out for (0: the device's).
     */
    explicit PagedOutput(QPagedPaintDevice& device, PrintPlacement placement = {},
                         int barDotsPerInch = 0);

    /** Adds one page; false when the device cannot be painted on. */
    bool addPage(const PageModel& page);

    /** Ends the document; false when it could not be written. */
    bool finish();

    int pageCount() const { return m_pages; }

private:
    void setPageSize(const PageModel& page);

    QPagedPaintDevice& m_device;
    PagePainter m_pagePainter;
    QPainter m_painter;
    int m_pages = 0;
};

/**
 * Writes pages into one PDF file with barcodes laid out for a printer of
 * `dotsPerInch`, whole or not at all (a full disk never leaves a cut-short PDF
 * behind a success); the reason for a failure comes back in `error`.
 */
bool writePdf(const QString& path, const QList<PageModel>& pages, QString* error = nullptr,
              PrintPlacement placement = {}, int dotsPerInch = kDefaultDotsPerInch);

} // namespace mldd
