#include "TemplateBoard.h"

#include "core/TextFile.h"

#include <QDir>

namespace mldd::service {

namespace {

const QString kLayoutSuffix = QStringLiteral(".mlg.txt");
constexpr int kAltFields = 6;

} // namespace

QList<TemplateBoard::Entry> TemplateBoard::entries() const {
    const QStringList files =
        QDir(m_content.root() + QStringLiteral("/board"))
            .entryList({u'*' + kLayoutSuffix}, QDir::Files | QDir::Readable, QDir::Name);
    QList<Entry> list;
    for (const QString& file : files) {
        Entry entry;
        entry.name = file.chopped(kLayoutSuffix.size());
        QString path;
        if (m_content.find(QStringLiteral("board/") + file, &path) != ContentFolder::Lookup::Found)
            continue; // empty name, or a link that leads out of the folder
        // Ids number the board's entries; they only have to be unique on the page.
        entry.id = QStringLiteral("mb%1").arg(list.size() + 1);
        QString text;
        if (m_content.readText(QStringLiteral("board/") + entry.name + QStringLiteral(".alt.txt"),
                               &text) == ContentFolder::Lookup::Found)
            entry.alt = TextFile::splitLines(text).value(0);
        QStringList fields = entry.alt.split(u'|');
        while (fields.size() < kAltFields)
            fields.append(QString());
        entry.alt = fields.mid(0, kAltFields).join(u'|');
        list.append(entry);
    }
    return list;
}

HttpReply TemplateBoard::page() const {
    QString rows;
    for (const Entry& entry : entries()) {
        rows += QStringLiteral("<label><input type=\"checkbox\" Name=\"%1\" Id=\"%2\" alt=\"%3\"> "
                               "%1</label><br>\n")
                    .arg(entry.name.toHtmlEscaped(), entry.id, entry.alt.toHtmlEscaped());
    }
    if (rows.isEmpty())
        rows = QStringLiteral("<p>暂时没有快递单模版。</p>\n");
    return HttpReply::html(
        QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                       "<title>墨岚打单-快递单模版</title></head>\n<body>\n"
                       "<p>勾选需要的快递单模版，再点【下载单据】。</p>\n<form>\n") +
        rows + QStringLiteral("</form>\n</body></html>\n"));
}

HttpReply TemplateBoard::single(const QMap<QString, QString>& query) const {
    const QString name = query.value(QStringLiteral("nm"));
    if (!ContentFolder::isPlainName(name))
        return HttpReply::error(400, QStringLiteral("参数 nm 必须是快递单模版的名字"));
    for (const Entry& entry : entries()) {
        if (entry.name == name)
            return HttpReply::text(QStringLiteral("Name=%1\r\nId=%2\r\nalt=%3\r\n")
                                       .arg(entry.name, entry.id, entry.alt));
    }
    return HttpReply::error(404, QStringLiteral("没有这个快递单模版：") + name);
}

} // namespace mldd::service
