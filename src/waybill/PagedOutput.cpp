#include "PagedOutput.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace mldd {

namespace {

// A PDF ends with "%%EOF" and at most a line end; anything else was cut short.
bool hasCompleteTrailer(QFile& file) {
    const qint64 size = file.size();
    if (size < 64 || !file.seek(size - 32))
        return false;
    return file.read(32).trimmed().endsWith("%%EOF");
}

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
              PrintPlacement placement, int dotsPerInch) {
    const auto failed = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("无法写入文件 %1：%2").arg(path, why);
        return false;
    };
    const QFileInfo target(path);
    // Renaming over a device or a folder would replace it, not write into it.
    if (target.exists() && !target.isFile())
        return failed(QStringLiteral("这不是一个普通文件"));
    QTemporaryFile file(target.absolutePath() + u'/' + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!file.open())
        return failed(file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(dotsPerInch);
        writer.setCreator(QStringLiteral("墨岚打单"));
        PagedOutput output(writer, placement);
        for (const PageModel& page : pages) {
            if (!output.addPage(page))
                return failed(QStringLiteral("无法绘制页面"));
        }
        if (!output.finish())
            return failed(QStringLiteral("无法完成文件"));
    }
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return failed(file.errorString());
    if (!hasCompleteTrailer(file))
        return failed(QStringLiteral("文件不完整，磁盘可能已满"));
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    file.setAutoRemove(false);
    return true;
}

} // namespace mldd
