#pragma once

#include "core/Notice.h"

#include <QList>
#include <QSizeF>
#include <QString>

#include <optional>

namespace mldd {

class PrinterSetup;

/** What a printer is sent: PDF through its driver, or a label printer's own commands. */
enum class LabelLanguage { Driver, Tspl, Zpl, Epl };

/** How the printer finds the next label: the gap between labels, or a black mark behind them. */
enum class LabelSensing { Gap, BlackMark };

/** A label printer's settings: its language, the labels in it, how dark and fast it prints. */
struct LabelSettings {
    LabelLanguage language = LabelLanguage::Driver;
    QSizeF sizeMm{100, 150};
    LabelSensing sensing = LabelSensing::Gap;
    double gapMm = 2;
    int darkness = 8; // 0–15, as TSPL and EPL count it
    int speed = 4;    // inches per second

    bool operator==(const LabelSettings&) const = default;

    bool commands() const { return language != LabelLanguage::Driver; }

    static constexpr int kMaxDarkness = 15;
    static constexpr int kMinSpeed = 1;
    static constexpr int kMaxSpeed = 6;
};

namespace LabelLanguages {

/** The name a seller reads: "驱动程序", "TSPL", "ZPL", "EPL". */
QString name(LabelLanguage language);
/** The language of a name or of mldd-cli's word (driver, tspl, zpl, epl), any case. */
std::optional<LabelLanguage> fromName(const QString& name);
/** Every language, the driver first. */
QList<LabelLanguage> all();

/** The thermal label sizes sellers buy (mm): 76×130, 100×150, 100×180. */
QList<QSizeF> standardSizes();
/** "100x150" or "100×150" in millimetres; none when it is no size a label printer takes. */
std::optional<QSizeF> sizeFromText(const QString& text);
/** A size as "100×150". */
QString sizeText(QSizeF sizeMm);

} // namespace LabelLanguages

/** The label settings read for a printer, and what the seller is told about the file. */
struct LabelSettingsRead {
    LabelSettings settings;
    std::optional<Notice> note; // the file held a language this program does not speak
};

/**
 * Each printer's label settings, in a file of its own beside its offset file:
 * one line "language|width|height|gap or mark|gap mm|darkness|speed".
 */
class LabelSetup {
public:
    explicit LabelSetup(const PrinterSetup& setup) : m_setup(setup) {}

    /** The printer's settings; the driver's when none were saved. */
    LabelSettingsRead load(const QString& printer) const;
    bool save(const QString& printer, const LabelSettings& settings) const;

private:
    const PrinterSetup& m_setup;
};

} // namespace mldd
