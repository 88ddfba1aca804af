#pragma once

#include "core/Notice.h"
#include "core/SenderProfile.h"

#include <QStringList>

#include <optional>

namespace mldd {

/** The default shipping-list design: the 21 items with their default texts and styles. */
QString DefaultFaHuoSet();

/**
 * A sender's shipping-list design: item records joined by "[FA]", each of
 * nine fields joined by "[FAHUO]". Short or malformed records are kept as
 * they are; only whole records are read or changed.
 */
class FaHuoSet {
public:
    /** The fields of an item record, in stored order. */
    enum Field { Name, Text, Shown, FontName, FontSize, Alignment, Bold, Italic, Underline };
    static constexpr int kFieldCount = 9;

    static inline const QString kRecordSeparator = QStringLiteral("[FA]");
    static inline const QString kFieldSeparator = QStringLiteral("[FAHUO]");

    /** The 21 item names in stored order. */
    static const QStringList& itemNames();

    /** The editor's size list, in its order (points as stored). */
    static const QStringList& sizeChoices();
    /** The editor's alignment list: 居左, 居中, 居右. */
    static const QStringList& alignments();
    /**
     * The editor's font list from the installed families in system order: for
     * 楷, 黑, 宋 and 隶 the first family beginning with it, then every family
     * not beginning with "@", then those that do; none twice.
     */
    static QStringList fontChoices(const QStringList& installedFamilies);

    /** The design of `value`; an empty value gives the default design. */
    explicit FaHuoSet(const QString& value = QString());

    /** The stored value: the records joined by "[FA]", none after the last. */
    QString value() const { return m_records.join(kRecordSeparator); }

    qsizetype recordCount() const { return m_records.size(); }

    /** The fields of record `index`, when it is whole (nine fields). */
    std::optional<QStringList> record(qsizetype index) const;
    /** The fields of the first whole record of the item `name`. */
    std::optional<QStringList> item(const QString& name) const;

    /** Replaces one field of record `index`; a record that is not whole is left alone. */
    bool setField(qsizetype index, Field field, const QString& text);
    /** The same for the record of the item `name`. */
    bool setItemField(const QString& name, Field field, const QString& text);

    /**
     * The design with the sender's own values where it still holds the
     * placeholders: the shop name in the title, the sender's name, account and
     * telephone. Texts the seller wrote stay; a value the profile lacks leaves
     * its placeholder.
     */
    FaHuoSet withSender(const SenderProfile& sender) const;

    /**
     * Why the design may not be saved: a shown title or seller item still
     * holding its placeholder. `item` names the item whose text needs editing.
     */
    struct Refusal {
        QString item;
        Notice notice;
    };
    std::optional<Refusal> saveRefusal() const;

    /** Told after the design was stored. */
    static Notice savedNotice();

private:
    std::optional<qsizetype> indexOf(const QString& name) const;

    QStringList m_records;
};

} // namespace mldd
