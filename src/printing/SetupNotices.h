#pragma once

#include "PaperRecords.h"

#include "core/Notice.h"

#include <variant>

namespace mldd {

/** The printer set-up window's questions, refusals and confirmations, and its paper choice. */
namespace SetupNotices {

/** The title of the offsets frame of the chosen waybill printer. */
QString offsetFrameTitle(const QString& printer);

/** The question before a printer other than the system's default becomes the waybill printer. */
Notice notDefaultQuestion();

/** Saving the waybill printer with no printer installed. */
Notice noPrinterInstalled();

/** A set-up file could not be written; nothing else was changed. */
Notice notSaved();

/** The waybill printer and its offsets were saved. */
Notice waybillPrinterSaved(const QString& printer);

/** What the seller chose for shipping lists, as the window's boxes hold it. */
struct ListPaperChoice {
    QString printer;
    /** A standard paper's name, kContinuousPaper, or empty when none was chosen. */
    QString paper;
    PaperRecords::Orientation orientation = PaperRecords::Orientation::Portrait;
    QString widthMm; // continuous paper only
    QString heightMm;
    QString copies;
};

/** The caption continuous paper has in the paper list. */
inline const QString kContinuousPaper = QStringLiteral("有孔纸");

/** The paper record of a complete choice, or the refusal that says what is missing. */
std::variant<QString, Notice> paperRecord(const ListPaperChoice& choice);

/** The shipping-list printer and paper were saved. */
Notice listPrinterSaved(const ListPaperChoice& choice);

} // namespace SetupNotices
} // namespace mldd
