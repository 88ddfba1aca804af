#pragma once

#include "core/Notice.h"

#include <QImage>
#include <QSizeF>

#include <optional>
#include <variant>

namespace mldd {

/**
 * The picture of a courier's paper form (a template's .mlm): read within the
 * memory a window can spare, and stored so that its resolution tells the
 * paper's size.
 */
namespace FormPicture {

/** Pictures of more pixels than this (8000 × 8000) are refused before they are decoded. */
inline constexpr qint64 kMaxPixels = 64'000'000;
/** New form pictures are kept at no more than this many dots per millimetre (254 dpi). */
inline constexpr double kDotsPerMillimetre = 10;

/** The picture, or what to tell the seller when it is too large or no picture. */
std::variant<QImage, Notice> read(const QString& path);

/** The paper the picture covers (twips), from its size and resolution; none without one. */
std::optional<QSizeF> paperOf(const QImage& picture);

/**
 * The picture of a form whose paper is `millimetres` wide and high: scaled down
 * to at most ten dots per millimetre, its resolution set so that it covers the paper.
 */
QImage fittedToPaper(const QImage& picture, const QSizeF& millimetres);

/** Writes the picture as a PNG through a temporary file renamed over `path`. */
bool write(const QImage& picture, const QString& path, QString* error = nullptr);

} // namespace FormPicture
} // namespace mldd
