#pragma once

#include "CommandContext.h"

#include "core/Order.h"
#include "printing/PrintDocuments.h"

#include <QObject>

#include <memory>
#include <optional>

namespace mldd {

class PrintRun;
class Spooler;
class SpreadsheetCommands;

/** Printing from the window: runs, print files, previews, templates, printers and offsets. */
class PrintCommands : public QObject {
    Q_OBJECT

public:
    /** `spreadsheets`: a finished waybill run offers to write its numbers back there. */
    PrintCommands(const CommandContext& context, SpreadsheetCommands& spreadsheets,
                  QObject* parent = nullptr);
    ~PrintCommands() override;

    /** Prints the ticked orders, else the whole list, one order at a time. */
    void startPrint(PrintDocuments::Kind kind);
    /** 打印拣货单: the picking list of the ticked orders, else of the whole list. */
    void printPickingList();
    /** Prints the records of a print file (.mlk, .mlf); nothing is marked. */
    void printFile(const QString& path);
    /** A click on a card's page: the pages large, or the missing template fetched. */
    void previewLarger(qint64 id);
    /** 快递单打印偏移调整 on a card's waybill: after a print, on the waybill printer. */
    void adjustOffsets(qint64 id);
    /** Opens the template designer on `name`, its boxes filled from `order` when given. */
    void openDesigner(const QString& name, const std::optional<Order>& order);
    /** Opens the designer on the template of the order `id`, filled from it. */
    void editTemplateOf(qint64 id);
    void editPrintSettings();
    void editPrinters();

    /** The run printing now, if any. */
    PrintRun* run() const { return m_run.get(); }

private:
    /** Starts the run and shows its progress; tells why when it does not start. */
    void follow(std::unique_ptr<PrintRun> run, PrintDocuments::Kind kind);
    /** The ticked orders, else the listed ones, in list order. */
    QList<qint64> chosenIds() const;
    void printFinished(PrintDocuments::Kind kind);
    /** Fetches the templates of `forms` that are not installed, each after its notice, once. */
    void downloadMissingTemplates(const QStringList& forms);

    CommandContext m_context;
    SpreadsheetCommands& m_spreadsheets;
    std::unique_ptr<Spooler> m_spooler;
    std::unique_ptr<PrintRun> m_run;
    /** Orders printed by a run and the runs that went on with what it left. */
    QList<qint64> m_printedInChain;
};

} // namespace mldd
