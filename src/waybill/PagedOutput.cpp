#include "PagedOutput.h"

#include <QFile>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPdfWriter>

namespace mldd {

namespace {

constexpr int kPdfResolution = 1200;

} // namespace

PagedOutput::PagedOutput(QPagedPaintDevice& device, PrintPlacement placement)
    : m_device(device), m_pagePainter(device.logicalDpiX(), placement) {}

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
              PrintPlacement placement) {
    QPdfWriter writer(path);
    writer.setResolution(kPdfResolution);
    writer.setCreator(QStringLiteral("墨岚打单"));
    PagedOutput output(writer, placement);
    for (const PageModel& page : pages) {
        if (!output.addPage(page)) {
            if (error)
                *error = QStringLiteral("无法写入文件 %1").arg(path);
            return false;
        }
    }
    if (!output.finish() || !QFile::exists(path)) {
        if (error)
            *error = QStringLiteral("无法写入文件 %1").arg(path);
        return false;
    }
    return true;
}

} // namespace mldd
