#include "IndexesAside.h"

#include <QSqlQuery>

namespace mldd {

IndexesAside::IndexesAside(QSqlDatabase db, QStringList statements)
    : m_db(std::move(db)), m_statements(std::move(statements)) {}

std::optional<IndexesAside> IndexesAside::take(QSqlDatabase db, const QString& table) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("select name, sql from sqlite_master where type = 'index' "
                                 "and tbl_name = ? and sql is not null"));
    query.addBindValue(table);
    if (!query.exec())
        return std::nullopt;
    QStringList names;
    QStringList statements;
    while (query.next()) {
        names.append(query.value(0).toString());
        statements.append(query.value(1).toString());
    }
    query.finish();
    for (const QString& name : names)
        if (!QSqlQuery(db).exec(QStringLiteral("drop index \"%1\"").arg(name)))
            return std::nullopt;
    return IndexesAside(std::move(db), std::move(statements));
}

bool IndexesAside::restore() {
    for (const QString& statement : std::as_const(m_statements))
        if (!QSqlQuery(m_db).exec(statement))
            return false;
    return true;
}

} // namespace mldd
