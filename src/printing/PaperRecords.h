#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace mldd {

/** One paper of shipping lists: its name and size in millimetres and twips. */
struct PaperRow {
    QString name;
    int widthMm = 0;
    int heightMm = 0;
    int widthTwips = 0;
    int heightTwips = 0;

    /** The paper record: the five fields, each followed by "|", then the copies. */
    QString record(int copies) const;
};

/** The shipping-list papers the set-up offers, and the record it stores. */
namespace PaperRecords {

inline const QString kDefaultRecord = QStringLiteral("A4|210|297|11904|16840|1");
/** The name continuous paper with holes ("有孔纸") is stored under. */
inline const QString kContinuousName = QStringLiteral("00");

enum class Orientation { Portrait, Landscape };

/**
 * A4 … A8, B5 … B8 in the given orientation, as printers have always been
 * told them, then the thermal labels 76×130, 100×150 and 100×180 mm.
 */
QList<PaperRow> standardPapers(Orientation orientation);

/** Continuous paper of the typed size; none when either text is no whole number above 0. */
std::optional<PaperRow> continuousPaper(const QString& widthMm, const QString& heightMm);

/** The copies of a stored record (its last field); 1 when that is no number above 0. */
int copiesOf(const QString& record);

} // namespace PaperRecords
} // namespace mldd
