#pragma once

#include "CustomItems.h"
#include "ItemRecord.h"
#include "ItemSources.h"
#include "WaybillTemplate.h"

#include "core/DataFolder.h"
#include "core/Notice.h"

#include <QImage>
#include <QObject>
#include <QUndoStack>

#include <memory>
#include <optional>
#include <variant>

namespace mldd {

/** One item of a template in the designer: a record of the layout or one of the ten custom items.
 */
struct ItemRef {
    enum class Kind { Layout, Custom };

    Kind kind = Kind::Layout;
    int index = 0;

    static ItemRef layout(int index) { return {Kind::Layout, index}; }
    static ItemRef custom(int index) { return {Kind::Custom, index}; }
    bool operator==(const ItemRef&) const = default;
};

/** What an item is: a layout record's text, or a custom item. */
using ItemValue = std::variant<QString, CustomItem>;

/**
 * A courier template open in the designer: its layout records, custom items,
 * form picture and paper, and the undo stack through which every change goes.
 * Nothing is written until it is saved; records the seller did not touch are
 * written back byte for byte.
 */
class TemplateDocument : public QObject {
    Q_OBJECT

public:
    /** What opening gave: the document (none when it cannot open) and what to tell the seller. */
    struct Opened {
        std::unique_ptr<TemplateDocument> document;
        QList<Notice> notices;
    };

    /** The installed template `name`. */
    static Opened open(const DataFolder& folder, const QString& name);

    /** A new, empty template `name` on a form picture whose paper is `millimetres`. */
    static Opened fromPicture(const DataFolder& folder, const QString& name,
                              const QString& picturePath, const QSizeF& millimetres);

    QString name() const { return m_name; }
    QSizeF paper() const { return m_paper; } // twips
    const QImage& picture() const { return m_picture; }
    QUndoStack& undoStack() { return m_undo; }
    /** Changed since opened or saved, or never saved. */
    bool isModified() const;

    /** The layout items the designer shows: at most 41, as many as a waybill view holds. */
    int layoutCount() const { return int(m_records.size()); }
    /** Every item: the layout's, then the ten custom ones. */
    QList<ItemRef> items() const;
    ItemValue value(ItemRef ref) const;
    const ItemRecord& record(int index) const { return m_records.at(index); }
    const CustomItem& customItem(int index) const { return m_custom.at(index); }
    /** The item's stored box (twips); none for a record whose box does not read. */
    std::optional<QRectF> box(ItemRef ref) const;
    /** The item's name in the designer's lists. */
    QString caption(ItemRef ref) const;
    /** The item prints: a layout record marked "Y", a ticked custom item with its own text. */
    bool prints(ItemRef ref) const;
    /** `box` moved, not resized, so that it lies on the paper as far as it fits (new items). */
    QRectF keptOnPaper(const QRectF& box) const;

    /** Moves or resizes items as one step; `nudge` steps of the same items merge into one. */
    void setBoxes(const QList<std::pair<ItemRef, QRectF>>& boxes, const QString& what,
                  bool nudge = false);
    /** Replaces what an item is, as one step named `what`; nothing when it is unchanged. */
    void setValue(ItemRef ref, const ItemValue& value, const QString& what);
    /** Adds a printed layout item of `source` at `box`; the refusal when the layout is full. */
    std::optional<Notice> addItem(const ItemSource& source, const QRectF& box);
    void removeItem(int index);

    /** Writes the template's files under its name; none when saved, else what to tell. */
    std::optional<Notice> save();
    /** Writes every file under `name`, which becomes the document's name. */
    std::optional<Notice> saveAs(const QString& name);

    /** The template as it stands, for drawing and test prints. */
    WaybillTemplate asTemplate() const;

    // Applied by the undo commands.
    void apply(ItemRef ref, const ItemValue& value);
    void insertRecord(int index, const QString& record);
    void takeRecord(int index);

signals:
    void itemChanged(mldd::ItemRef ref);
    /** Records were added or removed: layout indexes moved. */
    void itemsReset();
    void saved(const QString& name);

private:
    TemplateDocument(DataFolder folder, QString name);

    QString layoutText() const;
    QString customText() const;
    std::optional<Notice> writeFiles(const QString& name, bool everyFile);
    bool writePicture(const QString& path, QString* error) const;

    DataFolder m_folder;
    QString m_name;
    QList<ItemRecord> m_records;
    QStringList m_beyondView; // records past the 41st: no view shows them, saving keeps them
    QList<CustomItem> m_custom;
    QImage m_picture;
    QString m_picturePath; // the installed .mlm, empty for a new template
    bool m_pictureUnsaved = false;
    bool m_layoutUnreadable = false;
    QSizeF m_paper = WaybillTemplate::kDefaultPaper;
    QString m_savedLayout;
    QString m_savedCustom;
    QUndoStack m_undo;
};

} // namespace mldd
