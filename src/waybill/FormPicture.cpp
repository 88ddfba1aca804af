#include "FormPicture.h"

#include "PageModel.h"

#include "core/TextFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace mldd::FormPicture {

namespace {

Notice refusal(const QString& text) {
    Notice notice;
    notice.text = text;
    notice.icon = Notice::Icon::Exclamation;
    return notice;
}

} // namespace

std::variant<QImage, Notice> read(const QString& path) {
    QImageReader reader(path);
    const QString name = QFileInfo(path).fileName();
    // The header alone tells the size: a huge picture is refused before any memory is spent.
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPixels)
        return refusal(
            QStringLiteral("图片 %1 太大（%2×%3 像素），请缩小到 8000×8000 像素以内再用。")
                .arg(name)
                .arg(size.width())
                .arg(size.height()));
    const QImage picture = reader.read();
    if (picture.isNull())
        return refusal(QStringLiteral("%1 不是能打开的图片（PNG、JPEG 或 BMP）：%2")
                           .arg(name, reader.errorString()));
    return picture;
}

std::optional<QSizeF> paperOf(const QImage& picture) {
    if (picture.isNull() || picture.dotsPerMeterX() <= 0 || picture.dotsPerMeterY() <= 0)
        return std::nullopt;
    const double twipsPerMetre = kTwipsPerInch / 0.0254;
    const QSizeF paper(picture.width() * twipsPerMetre / picture.dotsPerMeterX(),
                       picture.height() * twipsPerMetre / picture.dotsPerMeterY());
    if (!isPosition(paper.width()) || !isPosition(paper.height()))
        return std::nullopt; // a resolution that makes no paper
    return paper;
}

QImage fittedToPaper(const QImage& picture, const QSizeF& millimetres) {
    QImage fitted = picture;
    const double scale = std::min({1.0, millimetres.width() * kDotsPerMillimetre / picture.width(),
                                   millimetres.height() * kDotsPerMillimetre / picture.height()});
    if (scale < 1)
        fitted = picture.scaled(std::max(1, int(std::lround(picture.width() * scale))),
                                std::max(1, int(std::lround(picture.height() * scale))),
                                Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Pixels per metre, so that width ÷ resolution is the paper's width.
    fitted.setDotsPerMeterX(int(std::lround(fitted.width() * 1000.0 / millimetres.width())));
    fitted.setDotsPerMeterY(int(std::lround(fitted.height() * 1000.0 / millimetres.height())));
    return fitted;
}

bool write(const QImage& picture, const QString& path, QString* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
        if (error)
            *error = QStringLiteral("图片无法保存为PNG");
        return false;
    }
    return TextFile::writeBytes(path, bytes, error);
}

} // namespace mldd::FormPicture
