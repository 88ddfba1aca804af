#include "TemplateDownload.h"

#include "core/LocationCode.h"
#include "core/MainState.h"
#include "core/ProgramVersion.h"
#include "core/Startup.h"
#include "core/TextCodec.h"
#include "core/TextFile.h"
#include "waybill/TemplateFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QTime>
#include <QUrlQuery>

namespace mldd::TemplateDownload {

namespace {

constexpr int kAltFields = 6;

Notice notice(const QString& text, const QString& title, Notice::Icon icon) {
    return Notice{text, title, icon, Notice::Buttons::Ok};
}

QUrl boardFile(const QString& serviceBase, const QString& name, const QString& suffix) {
    return QUrl(serviceBase + QStringLiteral("/mldd/board/") +
                QString::fromLatin1(QUrl::toPercentEncoding(name)) + suffix);
}

// The template's row of Delivery_list, added when there is none.
bool recordTemplate(MainState& state, const BoardChoice& choice) {
    QSqlDatabase db = state.database->connection();
    QStringList alt = choice.alt.split(u'|');
    while (alt.size() < kAltFields)
        alt.append(QString());
    QSqlQuery find(db);
    find.prepare(QStringLiteral("select count(*) from Delivery_list where Delivery_Name = ?"));
    find.addBindValue(choice.name);
    const bool known = find.exec() && find.next() && find.value(0).toInt() > 0;
    QSqlQuery write(db);
    write.prepare(known ? QStringLiteral("update Delivery_list set Delivery_StartCode = ?, "
                                         "Delivery_Taobao_code = ?, Delivery_Taobao_id = ?, "
                                         "Delivery_Taobao_name = ?, Delivery_Paipai_code = ?, "
                                         "Delivery_Paipai_id = ?, Delivery_Paipai_name = ? "
                                         "where Delivery_Name = ?")
                        : QStringLiteral("insert into Delivery_list (Delivery_StartCode, "
                                         "Delivery_Taobao_code, Delivery_Taobao_id, "
                                         "Delivery_Taobao_name, Delivery_Paipai_code, "
                                         "Delivery_Paipai_id, Delivery_Paipai_name, Delivery_Name) "
                                         "values (?, ?, ?, ?, ?, ?, ?, ?)"));
    write.addBindValue(QString());
    for (int i = 0; i < kAltFields; ++i)
        write.addBindValue(alt.at(i));
    write.addBindValue(choice.name);
    if (write.exec())
        return true;
    state.log.append(LocationCode::TemplateDownload, ErrorLog::Database, write.lastError().text());
    return false;
}

// A reply cut short or empty must not replace a template that prints: the layout is read as
// the print run will read it before anything is written.
bool printable(const QString& name, const QByteArray& layout, const QByteArray& background) {
    const LayoutLoad read =
        TemplateFiles::decodeLayout(name, TextFile::splitLines(TextCodec::decodeFileBytes(layout)));
    return read.ok() && !TemplateFiles::unprintable(name, ItemRecord::parseLayout(read.layout)) &&
           !background.isEmpty();
}

// Both files first, then the row: a template that failed leaves the list as it was.
bool install(MainState& state, const BoardChoice& choice, const ServiceClient& service) {
    const TemplateFiles files(state.folder, choice.name);
    if (!files.hasSafeName())
        return false;
    const ServiceReply layout =
        service.get(boardFile(state.serviceBase, choice.name, QStringLiteral(".mlg.txt")));
    const ServiceReply background =
        service.get(boardFile(state.serviceBase, choice.name, QStringLiteral(".mlm.txt")));
    return layout.ok && background.ok && printable(choice.name, layout.bytes, background.bytes) &&
           TextFile::writeBytes(files.layoutPath(), layout.bytes) &&
           TextFile::writeBytes(files.backgroundPath(), background.bytes) &&
           recordTemplate(state, choice);
}

void refreshLists(MainState& state) {
    state.templates = installedTemplateNames(state.folder);
    QSqlDatabase db = state.database->connection();
    state.couriers = loadCourierNames(db, state.log);
}

} // namespace

QString boardAddress(const QString& serviceBase) {
    return serviceBase + QStringLiteral("/mldd/board/");
}

QList<BoardChoice> choicesFromJson(const QString& json) {
    QList<BoardChoice> choices;
    const QJsonArray array = QJsonDocument::fromJson(json.toUtf8()).array();
    for (const QJsonValue& value : array) {
        const QJsonObject object = value.toObject();
        choices.append({object.value(QStringLiteral("name")).toString(),
                        object.value(QStringLiteral("id")).toString(),
                        object.value(QStringLiteral("alt")).toString()});
    }
    return choices;
}

Result downloadSelected(MainState& state, const QList<BoardChoice>& choices,
                        const ServiceClient& service,
                        const std::function<void(const QString&)>& progress) {
    Result result;
    const ServiceReply gate = service.get(
        QUrl(state.serviceBase + QStringLiteral("/mldd/fangwei.asp?ver=") + kProgramVersion));
    if (!gate.ok) {
        result.notices.append(
            notice(QStringLiteral("连不上服务器，没有下载快递单模版。\r\n") + gate.error,
                   QStringLiteral("提示"), Notice::Icon::Exclamation));
        return result;
    }
    if (gate.body.trimmed() == QStringLiteral("ERRVER")) {
        result.notices.append(
            notice(QStringLiteral("当前版本无法下载快递单模版！\r\n请下载最新版本！"),
                   QStringLiteral("提示"), Notice::Icon::Exclamation));
        return result;
    }
    if (choices.isEmpty()) {
        result.notices.append(notice(QStringLiteral("先勾选需要下载模版，再点下载!"),
                                     QStringLiteral("墨岚打单"), Notice::Icon::Critical));
        return result;
    }
    QStringList failed;
    for (const BoardChoice& choice : choices) {
        if (progress)
            progress(QStringLiteral("提示：正在下载单据模版文件 ") + choice.name +
                     QStringLiteral(" ... ..."));
        if (install(state, choice, service))
            result.downloaded.append(choice.name);
        else
            failed.append(choice.name);
    }
    refreshLists(state);
    if (!failed.isEmpty())
        result.notices.append(notice(QStringLiteral("这些快递单模版没有下载成功：") +
                                         failed.join(QStringLiteral("、")),
                                     QStringLiteral("提示"), Notice::Icon::Exclamation));
    result.notices.append(notice(QStringLiteral("单据模版下载完成!"), QStringLiteral("提示"),
                                 Notice::Icon::Exclamation));
    return result;
}

Result downloadById(MainState& state, const QString& name, const ServiceClient& service) {
    Result result;
    QUrl url(state.serviceBase + QStringLiteral("/mldd/board/qu_id.asp"));
    url.setQuery(
        QUrlQuery{{QStringLiteral("nm"), QString::fromLatin1(QUrl::toPercentEncoding(name))},
                  {QStringLiteral("t"),
                   QString::number(QTime::currentTime().msecsSinceStartOfDay() / 1000)}});
    const ServiceReply reply = service.get(url);
    BoardChoice choice;
    for (const QString& line : reply.body.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QStringLiteral("Name=")))
            choice.name = line.mid(5);
        else if (line.startsWith(QStringLiteral("Id=")))
            choice.id = line.mid(3);
        else if (line.startsWith(QStringLiteral("alt=")))
            choice.alt = line.mid(4);
    }
    // The board answers for the name asked, never for another file.
    if (reply.ok && choice.name == name && install(state, choice, service)) {
        result.downloaded.append(name);
        result.notices.append(
            notice(QStringLiteral("快递模版：") + name +
                       QStringLiteral("已经成功下载，点[确定]后，继续刚才的工作！"),
                   QStringLiteral("墨岚打单"), Notice::Icon::Exclamation));
    } else {
        result.notices.append(notice(QStringLiteral("刚才尝试下载快递模版：") + name +
                                         QStringLiteral("未能成功，请在[设置][下载快递模版]下载！"),
                                     QStringLiteral("墨岚打单"), Notice::Icon::Exclamation));
    }
    refreshLists(state);
    return result;
}

QStringList claimMissing(MainState& state, const QStringList& names) {
    QStringList claimed;
    for (const QString& name : names) {
        const TemplateFiles files(state.folder, name);
        if (!files.hasSafeName() || state.templatesAsked.contains(name) || files.exists())
            continue;
        state.templatesAsked.insert(name);
        claimed.append(name);
    }
    return claimed;
}

Result fetchClaimed(MainState& state, const QStringList& claimed, const ServiceClient& service) {
    Result result;
    for (const QString& name : claimed) {
        const Result one = downloadById(state, name, service);
        result.notices += one.notices;
        result.downloaded += one.downloaded;
    }
    return result;
}

Result fetchMissing(MainState& state, const QStringList& names, const ServiceClient& service) {
    return fetchClaimed(state, claimMissing(state, names), service);
}

} // namespace mldd::TemplateDownload
