#pragma once

#include "PrinterSetup.h"
#include "Spooler.h"

#include <QSizeF>

#include <variant>

namespace mldd {

/** The printer a run goes to, once the checks let it. */
struct CheckedPrinter {
    QString name;
    bool toFile = false; // "打印到快递文件": no printer, no spooler
    PrintPlacement placement;
    int copies = 1;
};

/** The checks before a run: is there a printer, is it set up, is its queue free. */
namespace PrintChecks {

/**
 * The waybill printer: `chosen` when given (mldd-cli names one), else the
 * saved one, else the system's default; it must be installed and adjusted.
 */
std::variant<CheckedPrinter, Notice> waybillPrinter(const PrinterSetup& setup, Spooler& spooler,
                                                    const QString& chosen = {});

/**
 * The shipping-list printer and its paper must both have been set up (`chosen` stands for the
 * saved printer). The paper is known as the shipping-list paper record, the printer's own
 * paper, or one given for this run (`paperGiven`).
 */
std::variant<CheckedPrinter, Notice>
listPrinter(const PrinterSetup& setup, const QString& chosen = {}, bool paperGiven = false);

/** The printer's resolution as the spooler tells it; 0 when it does not (a file, a raw queue). */
int toldResolution(Spooler& spooler, const QString& printer);

/**
 * The resolution barcodes are laid out for on the printer: its own as the
 * spooler tells it, else the one chosen in the set-up, else the commonest
 * waybill printer's.
 */
int dotsPerInch(const PrinterSetup& setup, Spooler& spooler, const QString& printer);

/** Why a run does not go on when the printer or its spooler does not answer. */
Notice unanswered();

/** The printer answers, is not paused or at fault, and has no unfinished job; why not. */
std::optional<Notice> spoolerCheck(Spooler& spooler, const QString& printer);

} // namespace PrintChecks
} // namespace mldd
