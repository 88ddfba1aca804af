#include "ServiceRoutes.h"

#include "core/TextFile.h"

#include <QFileInfo>

namespace mldd::service {

namespace {

const QString kBoard = QStringLiteral("/mldd/board/");
const QString kHelp = QStringLiteral("/mldd/help/");
const QString kSamples = QStringLiteral("/mldd/samples/");

QByteArray contentType(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"html" || suffix == u"htm")
        return "text/html; charset=utf-8";
    if (suffix == u"txt")
        return "text/plain"; // template files may be GBK, so no charset is claimed
    if (suffix == u"css")
        return "text/css; charset=utf-8";
    if (suffix == u"js")
        return "text/javascript; charset=utf-8";
    if (suffix == u"png")
        return "image/png";
    if (suffix == u"jpg" || suffix == u"jpeg")
        return "image/jpeg";
    if (suffix == u"gif")
        return "image/gif";
    return "application/octet-stream";
}

bool is(const QString& path, const QString& route) {
    // The old service ran on a server that ignored letter case in its script names.
    return path.compare(route, Qt::CaseInsensitive) == 0;
}

} // namespace

ServiceRoutes::ServiceRoutes(const QString& contentPath)
    : m_content(contentPath), m_decodeFiles(m_content), m_board(m_content), m_gate(m_content) {}

HttpReply ServiceRoutes::answer(const HttpRequest& request) const {
    if (request.method != u"GET" && request.method != u"HEAD")
        return HttpReply::error(405, QStringLiteral("只接受 GET 和 HEAD 请求"));
    const QString& path = request.path;
    if (is(path, QStringLiteral("/mldd/code/code_down.asp")))
        return m_decodeFiles.download(request.query);
    if (is(path, QStringLiteral("/mldd/code/Code_refresh.asp")))
        return m_decodeFiles.refresh(request.query);
    if (is(path, QStringLiteral("/mldd/code/refreshcode.html")))
        return m_decodeFiles.idList();
    if (is(path, QStringLiteral("/mldd/fangwei.asp")))
        return m_gate.answer(request.query);
    if (is(path, kBoard) || is(path, kBoard + QStringLiteral("index.html")))
        return m_board.page();
    if (is(path, kBoard + QStringLiteral("qu_id.asp")))
        return m_board.single(request.query);
    if (path.startsWith(kBoard))
        return staticFile(QStringLiteral("board"), path.mid(kBoard.size()));
    if (path.startsWith(kSamples) && path.endsWith(QStringLiteral(".html")))
        return samplePage(path.mid(kSamples.size()).chopped(5));
    if (path == kHelp.chopped(1))
        return staticFile(QStringLiteral("help"), QString());
    if (path.startsWith(kHelp))
        return staticFile(QStringLiteral("help"), path.mid(kHelp.size()));
    return HttpReply::error(404, QStringLiteral("没有这个页面：") + path);
}

HttpReply ServiceRoutes::staticFile(const QString& folder, QString relative) const {
    if (relative.isEmpty() || relative.endsWith(u'/'))
        relative += QStringLiteral("index.html");
    QByteArray bytes;
    switch (m_content.readBytes(folder + u'/' + relative, &bytes)) {
    case ContentFolder::Lookup::Refused:
        return HttpReply::error(400, QStringLiteral("路径不合法"));
    case ContentFolder::Lookup::Missing:
        return HttpReply::error(404, QStringLiteral("没有这个文件：") + relative);
    case ContentFolder::Lookup::Found:
        break;
    }
    return HttpReply::bytes(bytes, contentType(relative));
}

HttpReply ServiceRoutes::samplePage(const QString& name) const {
    QString text;
    switch (m_content.readText(QStringLiteral("samples/") + name + QStringLiteral(".txt"), &text)) {
    case ContentFolder::Lookup::Refused:
        return HttpReply::error(400, QStringLiteral("路径不合法"));
    case ContentFolder::Lookup::Missing:
        return HttpReply::error(404, QStringLiteral("没有这个样例页面：") + name);
    case ContentFolder::Lookup::Found:
        break;
    }
    // The text is what a browser copied, "[MYIE]" included: one block per line gives it back.
    QString body;
    for (const QString& line :
         TextFile::splitLines(text.mid(text.startsWith(QStringLiteral("[MYIE]")) ? 6 : 0)))
        body += line.isEmpty() ? QStringLiteral("<div><br></div>\n")
                               : QStringLiteral("<div>%1</div>\n").arg(line.toHtmlEscaped());
    return HttpReply::html(QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                                          "<title>%1</title></head>\n<body>\n")
                               .arg(name.toHtmlEscaped()) +
                           body + QStringLiteral("</body></html>\n"));
}

} // namespace mldd::service
