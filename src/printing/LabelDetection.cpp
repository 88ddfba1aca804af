#include "LabelDetection.h"

#include <QUrl>

namespace mldd {

namespace {

struct Maker {
    const char* word;
    LabelLanguage language;
};

// Checked in this order: the Zebra models that speak EPL before Zebra's ZPL. The e-commerce
// label printers (TSC and its Chinese makers) speak TSPL.
const Maker kMakers[] = {
    {"LP2844", LabelLanguage::Epl},  {"LP 2844", LabelLanguage::Epl},
    {"TLP2844", LabelLanguage::Epl}, {"EPL", LabelLanguage::Epl},
    {"Eltron", LabelLanguage::Epl},  {"ZPL", LabelLanguage::Zpl},
    {"Zebra", LabelLanguage::Zpl},   {"TSC", LabelLanguage::Tspl},
    {"TSPL", LabelLanguage::Tspl},   {"Gprinter", LabelLanguage::Tspl},
    {"GP-", LabelLanguage::Tspl},    {"Xprinter", LabelLanguage::Tspl},
    {"XP-", LabelLanguage::Tspl},    {"HPRT", LabelLanguage::Tspl},
    {"iDPRT", LabelLanguage::Tspl},  {"Deli", LabelLanguage::Tspl},
    {"Munbyn", LabelLanguage::Tspl}, {"Rollo", LabelLanguage::Tspl},
    {"Beeprt", LabelLanguage::Tspl}, {"Postek", LabelLanguage::Tspl},
};

bool rawQueue(const QString& makeAndModel) {
    return makeAndModel.isEmpty() ||
           makeAndModel.contains(QStringLiteral("Raw"), Qt::CaseInsensitive);
}

} // namespace

LabelLanguage detectLabelLanguage(const QString& deviceUri, const QString& makeAndModel) {
    // usb://Zebra%20Technologies/ZTC%20GK420d?serial=… names the maker and the model.
    const QString device = QUrl::fromPercentEncoding(deviceUri.toUtf8());
    const bool usb = device.startsWith(QStringLiteral("usb:"), Qt::CaseInsensitive);
    const bool raw = rawQueue(makeAndModel);
    // A printer with a driver prints the driver's way, whoever made it.
    if (!raw)
        return LabelLanguage::Driver;
    const QString named = (usb ? device : QString()) + u' ' + makeAndModel;
    for (const Maker& maker : kMakers) {
        if (named.contains(QLatin1String(maker.word), Qt::CaseInsensitive))
            return maker.language;
    }
    // A raw queue cannot print PDF; TSPL is what most label printers sold to sellers speak.
    return LabelLanguage::Tspl;
}

} // namespace mldd
