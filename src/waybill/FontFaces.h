#pragma once

#include <QString>
#include <QStringList>

namespace mldd {

/**
 * The faces that print. Templates carry Windows face names (宋体, 黑体, 楷体 …);
 * they all print in WenQuanYi Micro Hei, whose text reads back exactly from a
 * PDF, so that a tracking number can be copied out of the file.
 */
namespace FontFaces {

inline const QString kPrintingFace = QStringLiteral("WenQuanYi Micro Hei");

/** The face that prints for `name`: itself when installed and no Windows face. */
QString printingFace(const QString& name);

/** The faces the designer offers: the Windows names templates carry, then installed Chinese faces.
 */
QStringList designerChoices();

/** The faces the print settings offer in place of "楷体_GB2312", by font index. */
QStringList kaitiChoices();

/** The face replacing "楷体_GB2312", chosen by the font index of the print settings. */
QString kaitiSubstitute(int fontIndex);

} // namespace FontFaces
} // namespace mldd
