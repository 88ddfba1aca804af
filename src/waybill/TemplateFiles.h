#pragma once

#include "ItemRecord.h"

#include "core/DataFolder.h"
#include "core/Notice.h"

#include <QString>

#include <optional>

namespace mldd {

/** What loading a template's layout gave. */
struct LayoutLoad {
    enum class Status { Ok, Missing, Unreadable };

    Status status = Status::Missing;
    QString layout; // the decoded layout text, when Ok
    QString error;  // why, when Unreadable

    bool ok() const { return status == Status::Ok; }
};

/**
 * The files of one courier template in Data/Delivery/: the layout (.mlg,
 * stored through the layout codec), the background picture (.mlm) and the
 * custom items (.dat). A name that could leave the folder names no files.
 */
class TemplateFiles {
public:
    TemplateFiles(const DataFolder& folder, const QString& name);

    /** False for names such as "../x" that would reach outside the template folder. */
    static bool isSafeName(const QString& name);

    QString name() const { return m_name; }
    bool hasSafeName() const { return isSafeName(m_name); }
    QString layoutPath() const { return path(QStringLiteral(".mlg")); }
    QString backgroundPath() const { return path(QStringLiteral(".mlm")); }
    QString customItemsPath() const { return path(QStringLiteral(".dat")); }

    /** Layout and background both exist; a template missing either is missing as a whole. */
    bool exists() const;

    /** Reads the layout: non-empty lines joined, then decoded; a layout cut short is unreadable. */
    LayoutLoad loadLayout() const;

    /** The layout stored in `lines` as the file holds them, read as loadLayout reads it. */
    static LayoutLoad decodeLayout(const QString& name, const QStringList& lines);

    /** Why template `name` with these items cannot print a waybill; none when it can. */
    static std::optional<QString> unprintable(const QString& name, const QList<ItemRecord>& items);

    /** Encodes the layout text and writes it as one line, replacing the file. */
    bool saveLayout(const QString& layout, QString* error = nullptr) const;

    /**
     * Replaces every occurrence of `oldRecord` in the layout by `newRecord`;
     * none when saved, else what to tell the user (the missing-template
     * notice when there is no layout file).
     */
    std::optional<Notice> saveItem(const QString& oldRecord, const QString& newRecord) const;

    /** The message that sends the user to download the template. */
    static Notice missingNotice(const QString& name);

private:
    QString path(const QString& extension) const;

    QString m_name;
    QString m_folder;
};

} // namespace mldd
