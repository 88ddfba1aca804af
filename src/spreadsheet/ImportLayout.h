#pragma once

#include "core/DataFolder.h"
#include "core/ErrorLog.h"
#include "core/Notice.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace mldd {

/** Which columns of a row one field takes: one column, or several joined by " + ". */
struct ColumnExpression {
    QList<int> columns;

    /** "B", "B + C" or "B+C"; none when a part is no column name. */
    static std::optional<ColumnExpression> parse(const QString& text);
    QString text() const;
    /** As text(), each column with its header cell when that has text: "C 收货人 + D 电话". */
    QString textWithHeader(const QStringList& header) const;
    bool isEmpty() const { return columns.isEmpty(); }
    /** The cell texts of the columns, joined left to right by `separator`. */
    QString evaluate(const QStringList& row, const QString& separator = QString()) const;
};

/** A field of the mapping window: its caption and the slot of the import record it fills. */
struct MappingField {
    QString caption; // "买家姓名 ="
    int slot;        // -1: not a record slot (only a write-back column)

    /** The caption without " =", the field's name in rule files and in --map. */
    QString label() const;
};

/**
 * The column mapping of one spreadsheet layout, kept in code/Excel<layout>.dat
 * (with a .ver beside it) so that the next workbook of that layout needs no
 * editing. The file holds a header line with the header row, sender and
 * template, then one rule per mapped field: "|||" label " Notes:" the header
 * texts of its columns "///" slot " = " columns.
 */
struct ImportLayout {
    enum Field {
        Destination,
        SerialNumber,
        BuyerMessage,
        OrderNumber,
        BuyerName,
        Phone1,
        Phone2,
        Zipcode,
        Address,
        Goods,
        Province,
        City,
        County,
        Template,
        TrackingColumn,
        CourierColumn,
        Quantity,
        UnitPrice,
        GoodsTotal,
        Sku,
        Variant,
        Courier,
        kFieldCount
    };

    static const QList<MappingField>& fields();
    /** The field of a label ("买家姓名") or caption ("买家姓名 ="); -1 for none. */
    static int fieldOf(const QString& labelOrCaption);

    QString name;
    int headerRow = 1;
    QString sender;
    /**
     * The marketplaces whose order numbers the sheet holds ("淘宝、天猫"): the
     * stored number gets the sender's one, else the first, before a ":".
     */
    QString market;
    /** The waybill template for every row; empty: the express plan chooses. */
    QString templateName;
    QList<ColumnExpression> expressions = QList<ColumnExpression>(kFieldCount);
    /** The header texts of each field's columns when it was saved, joined by " + ". */
    QStringList notes = QStringList(kFieldCount);

    /** The marketplace word an order number gets for the sender `senderId`; empty for none. */
    QString marketFor(const QString& senderId) const;
    /** A report of goods lines by order number, which completes orders another report gives. */
    bool isGoodsReport() const;

    /** The checks before an import starts, in the order the seller hears them. */
    std::optional<Notice> check(const QStringList& installedTemplates) const;

    /** Remembers the header texts of the mapped columns (the notes of the rule file). */
    void noteHeaders(const QStringList& headerRow);
    /** Whether every mapped column still has the header text it had when the layout was saved. */
    bool matchesHeaders(const QStringList& headerRow) const;

    QStringList ruleLines() const;
    static ImportLayout fromRuleText(const QString& name, const QString& text);

    static QString filePath(const DataFolder& folder, const QString& name);
    bool save(const DataFolder& folder, const ErrorLog& log) const;
    static std::optional<ImportLayout> load(const DataFolder& folder, const QString& name,
                                            const ErrorLog& log);
    /** The layouts saved in the data folder, by name. */
    static QStringList savedNames(const DataFolder& folder);
    /** The layout for a workbook: a saved one whose headers match, else one named after the file.
     */
    static QString nameFor(const DataFolder& folder, const ErrorLog& log,
                           const QString& workbookPath, const QStringList& headerRow);

    static Notice checkFailure(const QString& text);
};

} // namespace mldd
