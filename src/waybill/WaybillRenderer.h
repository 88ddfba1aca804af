#pragma once

#include "ItemRecord.h"
#include "PageModel.h"
#include "PrintSwitches.h"
#include "TextMetrics.h"

#include "core/Order.h"
#include "core/SenderProfile.h"

#include <QDate>
#include <QRectF>

namespace mldd {

struct CustomItem;
struct WaybillTemplate;

/** The print settings that change how a waybill is drawn. */
struct WaybillSettings {
    PrintSwitches switches;
    int dayOffset = 0;                          // added to today for "SYS:Day"
    int sizeStep = 0;                           // of the size ladder: 1 smaller, -1 larger …
    QString kaitiFace = QStringLiteral("楷体"); // replaces "楷体_GB2312"

    static WaybillSettings fromPrintSettings(const PrintSettings& settings);
};

/** What one order is drawn from: the order, its sender (null when unknown) and today. */
struct WaybillInput {
    const Order& order;
    const SenderProfile* sender = nullptr;
    QDate today;
};

/** One item of the view after layout: its text, font and box on the form. */
struct LaidOutItem {
    enum class Barcode { None, WithText, WithoutText };

    bool visible = false;
    QString text;
    FontSpec font;
    Alignment alignment = Alignment::Left;
    QRectF box;        // twips, after auto-size and anchor
    QStringList lines; // the text as it stands in the box
    Barcode barcode = Barcode::None;
};

/** Lays out one order on its courier template and turns the result into a page. */
class WaybillRenderer {
public:
    explicit WaybillRenderer(WaybillSettings settings) : m_settings(std::move(settings)) {}

    /** The whole waybill: every printed item, barcodes and custom items included. */
    PageModel render(const WaybillTemplate& form, const WaybillInput& input);

    /** One layout item alone, placed as printing places it, whether its record prints or not. */
    PageModel renderItem(ItemRecord record, const WaybillInput& input);
    /** One custom item alone, placed as printing places it. */
    PageModel renderCustomItem(const CustomItem& item);

    /** One item laid out the way the view shows it. */
    LaidOutItem layoutItem(const ItemRecord& record, const WaybillInput& input);

    /** The text of a data-source expression, parts appended without separator. */
    QString evaluate(const QString& source, const WaybillInput& input) const;

    TextMetrics& metrics() { return m_metrics; }

private:
    void appendLines(PageModel& page, const QStringList& lines, const FontSpec& font,
                     Alignment alignment, const QRectF& box);
    void appendItem(PageModel& page, const LaidOutItem& item);
    void appendCustomItem(PageModel& page, const CustomItem& item);
    QStringList breakLines(const ItemRecord& record, const QString& text, const FontSpec& font);
    QString sourceValue(const QString& name, const WaybillInput& input) const;

    WaybillSettings m_settings;
    TextMetrics m_metrics;
};

} // namespace mldd
