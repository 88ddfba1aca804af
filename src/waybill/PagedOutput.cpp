#include "PagedOutput.h"

#include "core/TextFile.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPdfWriter>

namespace mldd {

namespace {

// PDF coordinates count in these: text lands within a fraction of a printer's dot.
constexpr int kPdfUnitsPerInch = 1200;

} // namespace

PagedOutput::PagedOutput(QPagedPaintDevice& device, PrintPlacement placement, int barDotsPerInch)
    : m_device(device), m_pagePainter(device.logicalDpiX(), placement, barDotsPerInch) {}

void PagedOutput::setPageSize(const PageModel& page) {
    const QSizeF points = page.size / kTwipsPerPoint;
    m_device.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait, QMarginsF()));
}

bool PagedOutput::addPage(const PageModel& page) {
    setPageSize(page);
    if (m_pages == 0) {
        if (!m_painter.begin(&m_device))
            return false;
    } else if (!m_device.newPage()) {
        return false;
    }
    ++m_pages;
    m_pagePainter.paint(m_painter, page);
    return true;
}

bool PagedOutput::finish() {
    return !m_painter.isActive() || m_painter.end();
}

bool writePdf(const QString& path, const QList<PageModel>& pages, QString* error,
              PrintPlacement placement, int dotsPerInch) {
    const auto notDrawn = [&] {
        if (error)
            *error = QStringLiteral("无法绘制页面，文件 %1 没有写入。").arg(path);
        return false;
    };
    // Drawn whole in memory first: the file is written in one piece, or not at all.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfUnitsPerInch);
        writer.setCreator(QStringLiteral("墨岚打单"));
        PagedOutput output(writer, placement, dotsPerInch);
        for (const PageModel& page : pages) {
            if (!output.addPage(page))
                return notDrawn();
        }
        if (!output.finish())
            return notDrawn();
    }
    return TextFile::writeBytes(path, bytes, error);
}

} // namespace mldd
