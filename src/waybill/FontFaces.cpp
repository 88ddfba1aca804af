#include "FontFaces.h"

#include <QFontDatabase>
#include <QStringList>

namespace mldd::FontFaces {

namespace {

// Faces of the seller's old Windows machine, Chinese and English names alike.
const QStringList kWindowsFaces{"宋体",        "新宋体",
                                "黑体",        "楷体",
                                "楷体_GB2312", "隶书",
                                "仿宋",        "仿宋_GB2312",
                                "幼圆",        "微软雅黑",
                                "华文楷体",    "SimSun",
                                "NSimSun",     "SimHei",
                                "KaiTi",       "KaiTi_GB2312",
                                "LiSu",        "FangSong",
                                "YouYuan",     "Microsoft YaHei",
                                "Arial",       "Times New Roman",
                                "Tahoma",      "MS Sans Serif"};

// The print settings' font list starts with the preferred faces in this order.
const QStringList kPreferredFaces{"楷体", "黑体", "宋体", "隶书"};

} // namespace

QString printingFace(const QString& name) {
    if (name.isEmpty() || kWindowsFaces.contains(name, Qt::CaseInsensitive) ||
        !QFontDatabase::hasFamily(name))
        return kPrintingFace;
    return name;
}

QStringList designerChoices() {
    QStringList faces{"宋体", "黑体", "楷体", "隶书", "楷体_GB2312"};
    for (const QString& family : QFontDatabase::families(QFontDatabase::SimplifiedChinese))
        if (!faces.contains(family))
            faces.append(family);
    return faces;
}

QStringList kaitiChoices() {
    return kPreferredFaces;
}

QString kaitiSubstitute(int fontIndex) {
    return kPreferredFaces.value(fontIndex, kPreferredFaces.first());
}

} // namespace mldd::FontFaces
