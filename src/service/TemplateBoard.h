#pragma once

#include "ContentFolder.h"
#include "HttpReply.h"

#include <QMap>
#include <QStringList>

namespace mldd::service {

/**
 * The template board: every board/<name>.mlg.txt is a template, with its
 * background board/<name>.mlm.txt and, optionally, its six marketplace values in
 * board/<name>.alt.txt (one line, fields separated by "|").
 */
class TemplateBoard {
public:
    explicit TemplateBoard(const ContentFolder& content) : m_content(content) {}

    /** The board page: one check box per template carrying Name, Id and alt. */
    HttpReply page() const;

    /** qu_id.asp?nm=NAME: the lines "Name=…", "Id=…" and "alt=…" of one template. */
    HttpReply single(const QMap<QString, QString>& query) const;

private:
    struct Entry {
        QString name;
        QString id;
        QString alt;
    };

    QList<Entry> entries() const;

    const ContentFolder& m_content;
};

} // namespace mldd::service
