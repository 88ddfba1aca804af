#include "ProfileEditing.h"

#include "core/LocationCode.h"
#include "core/MainState.h"

#include <QSqlError>
#include <QSqlQuery>

#include <limits>

namespace mldd::ProfileEditing {

namespace {

struct Column {
    const char* name;
    QString SenderProfile::*member;
    int limit;
};

// The columns the editor writes, with the longest value each takes: what an import stores
// in the matching order column (the ID is an order's my_id; texts have no limit).
constexpr int kNoLimit = std::numeric_limits<int>::max();
constexpr Column kColumns[] = {
    {"my_idh", &SenderProfile::myIdh, 50},
    {"my_Co", &SenderProfile::company, kNoLimit},
    {"my_fjr", &SenderProfile::name, kNoLimit},
    {"my_phone1", &SenderProfile::phone1, 100},
    {"my_phone2", &SenderProfile::phone2, 100},
    {"my_zipcode", &SenderProfile::zipcode, 100},
    {"my_address", &SenderProfile::address, kNoLimit},
    {"my_address_sheng", &SenderProfile::province, kNoLimit},
    {"my_address_shi", &SenderProfile::city, kNoLimit},
    {"my_address_xian", &SenderProfile::county, kNoLimit},
    {"my_jbr", &SenderProfile::handler, kNoLimit},
    {"my_start", &SenderProfile::start, kNoLimit},
    {"my_Delivery", &SenderProfile::delivery, kNoLimit},
};

Notice failure(const MainState& state, const QSqlQuery& query, const QString& text) {
    state.log.append(LocationCode::Profiles, ErrorLog::Database, query.lastError().text());
    return Notice{text + QStringLiteral("\r\n") + state.database->failureText(query.lastError()),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
}

// "[my_fjr]超长60" for every value that does not fit, as orders report it.
QString overlong(const SenderProfile& profile) {
    QString errors;
    for (const Column& column : kColumns) {
        const qsizetype length = (profile.*column.member).size();
        if (length > column.limit)
            errors += u'[' + QLatin1String(column.name) + QStringLiteral("]超长") +
                      QString::number(length);
    }
    return errors;
}

std::optional<qint64> existingRow(QSqlDatabase& db, const QString& id) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("select id from my_data where my_idh = ? order by id"));
    query.addBindValue(id);
    if (query.exec() && query.next())
        return query.value(0).toLongLong();
    return std::nullopt;
}

} // namespace

QString senderId(const QString& marketplace, const QString& account) {
    const QString trimmed = account.trimmed();
    return marketplace.isEmpty() ? trimmed : marketplace + u':' + trimmed;
}

void reload(MainState& state, const DefaultDesign& defaultDesign) {
    QSqlDatabase db = state.database->connection();
    state.profiles = SenderProfile::loadAll(db, state.log, defaultDesign);
}

std::optional<Notice> save(MainState& state, const QString& marketplace, SenderProfile profile,
                           const DefaultDesign& defaultDesign) {
    profile.address = profile.address.trimmed();
    if (profile.myIdh.trimmed().isEmpty() || profile.address.isEmpty())
        return Notice{
            QStringLiteral("[发件人QQ/旺旺/ID]，[发件人地址或其他信息]，不能为空,请填完整再保存!"),
            QStringLiteral("提示"), Notice::Icon::Exclamation};
    profile.myIdh = senderId(marketplace, profile.myIdh);
    if (const QString errors = overlong(profile); !errors.isEmpty())
        return Notice{QStringLiteral("有的内容太长，发件人信息没有保存：") + errors,
                      QStringLiteral("提示"), Notice::Icon::Exclamation};

    QSqlDatabase db = state.database->connection();
    const std::optional<qint64> row = existingRow(db, profile.myIdh);
    QStringList names;
    for (const Column& column : kColumns)
        names.append(QLatin1String(column.name));
    QSqlQuery query(db);
    if (row) {
        // One ID names one sender: saving it again edits that profile rather than adding a twin.
        query.prepare(QStringLiteral("update my_data set ") + names.join(QStringLiteral(" = ?, ")) +
                      QStringLiteral(" = ? where id = ?"));
    } else {
        query.prepare(QStringLiteral("insert into my_data (") + names.join(u',') +
                      QStringLiteral(", FaHuoSet) values (") +
                      QStringList(names.size() + 1, QStringLiteral("?")).join(u',') + u')');
    }
    for (const Column& column : kColumns)
        query.addBindValue(profile.*column.member);
    if (row)
        query.addBindValue(*row);
    else
        query.addBindValue(defaultDesign ? defaultDesign() : QString());
    if (!query.exec())
        return failure(state, query, QStringLiteral("发件人信息保存失败，没有改动。"));

    state.saveOptions();
    reload(state, defaultDesign);
    return std::nullopt;
}

std::optional<Notice> remove(MainState& state, const QString& marketplace, const QString& account,
                             const DefaultDesign& defaultDesign) {
    const QString id = senderId(marketplace, account);
    QSqlQuery query(state.database->connection());
    query.prepare(QStringLiteral("delete from my_data where my_idh = ?"));
    query.addBindValue(id);
    if (!query.exec())
        return failure(state, query, QStringLiteral("发件人删除失败，没有改动。"));
    if (query.numRowsAffected() == 0)
        return Notice{QStringLiteral("没有这个发件人：") + id, QStringLiteral("提示"),
                      Notice::Icon::Exclamation};
    reload(state, defaultDesign);
    return std::nullopt;
}

Notice removeQuestion(const QString& id) {
    return Notice{QStringLiteral("确定要删除发件人[%1]吗?\r\n它的发货单设置也一起删除。").arg(id),
                  QStringLiteral("提示"), Notice::Icon::Exclamation, Notice::Buttons::YesNo};
}

std::optional<Notice> saveDesign(MainState& state, const QString& id, const QString& design,
                                 const DefaultDesign& defaultDesign) {
    QSqlQuery query(state.database->connection());
    query.prepare(QStringLiteral("update my_data set FaHuoSet = ? where my_idh = ?"));
    query.addBindValue(design);
    query.addBindValue(id);
    if (!query.exec())
        return failure(state, query, QStringLiteral("发货单设置保存失败，没有改动。"));
    if (query.numRowsAffected() == 0)
        return Notice{QStringLiteral("没有这个发件人：") + id, QStringLiteral("提示"),
                      Notice::Icon::Exclamation};
    reload(state, defaultDesign);
    return std::nullopt;
}

} // namespace mldd::ProfileEditing
