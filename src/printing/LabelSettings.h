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

/**
 * A printer's own settings: the paper in it and, for a label printer, its
 * language, how it finds the labels and how dark and fast it prints.
 */
struct LabelSettings {
    /** Labels of a label printer that was never told its paper. */
    static inline const QSizeF kDefaultLabelMm{100, 150};

    LabelLanguage language = LabelLanguage::Driver;
    /**
     * The paper loaded (mm, width × height): every page printed here is
     * sized to it and the driver is told it; none (a driver's only) leaves
     * each page its own size.
     */
    std::optional<QSizeF> paperMm;
    LabelSensing sensing = LabelSensing::Gap;
    double gapMm = 2;
    int darkness = 8; // 0–15, as TSPL and EPL count it
    int speed = 4;    // inches per second

    bool operator==(const LabelSettings&) const = default;

    bool commands() const { return language != LabelLanguage::Driver; }
    /** The labels a label printer draws on. */
    QSizeF labelMm() const { return paperMm.value_or(kDefaultLabelMm); }
    /** The paper pages go on: a label printer's labels, a driver printer's chosen paper. */
    std::optional<QSizeF> loadedPaper() const { return commands() ? labelMm() : paperMm; }

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

/** "100x150" or "100×150" in millimetres; none when it is no size a label printer takes. */
std::optional<QSizeF> sizeFromText(const QString& text);
/** As sizeFromText, for any printer's paper: up to a metre each way. */
std::optional<QSizeF> paperFromText(const QString& text);
/** Whether a label printer's head spans paper this wide. */
bool labelWidthFits(QSizeF sizeMm);
/** A size as "100×150". */
QString sizeText(QSizeF sizeMm);

} // namespace LabelLanguages

/** The label settings read for a printer, and what the seller is told about the file. */
struct LabelSettingsRead {
    LabelSettings settings;
    std::optional<Notice> note; // the file held a language this program does not speak
};

/**
 * Each printer's own settings, in a file of its own beside its offset file:
 * one line "language|width|height|gap or mark|gap mm|darkness|speed|纸张".
 * A driver printer's width and height are its paper only in lines with the
 * last field: before it, they were the labels the panel happened to show.
 */
class LabelSetup {
public:
    explicit LabelSetup(const PrinterSetup& setup) : m_setup(setup) {}

    /** The printer's settings; the driver's when none were saved. */
    LabelSettingsRead load(const QString& printer) const;
    /** The paper (twips) pages for the printer are laid out on: its own, else `otherwise`. */
    QSizeF layoutPaper(const QString& printer, QSizeF otherwise) const;
    bool save(const QString& printer, const LabelSettings& settings) const;

private:
    const PrinterSetup& m_setup;
};

} // namespace mldd
