#include "CapturedNumberFiles.h"

#include "TextFile.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

namespace mldd {

namespace {

const QString kStaged = QStringLiteral(".new");

QStringList numbersIn(const QString& path) {
    return TextFile::read(path).lines.join(QString()).split(u'|', Qt::SkipEmptyParts);
}

bool isStored(sqlite3* db, const QString& number) {
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = number.toUtf8();
    bool stored = false;
    if (sqlite3_prepare_v2(db, "select 1 from order_data where order_sign = ?", -1, &statement,
                           nullptr) == SQLITE_OK) {
        sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_STATIC);
        stored = sqlite3_step(statement) == SQLITE_ROW;
    }
    sqlite3_finalize(statement);
    return stored;
}

} // namespace

QStringList CapturedNumberFiles::files() const {
    // A list is named after its shop-and-seller value, whose ":" became ";". A
    // shop's first capture that died leaves only its staged list.
    QStringList names;
    const QDir folder(m_dataPath);
    for (QString name : folder.entryList({QStringLiteral("*;*.dat"), QStringLiteral("*;*.dat.new")},
                                         QDir::Files, QDir::Name)) {
        if (name.endsWith(kStaged))
            name.chop(kStaged.size());
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

bool CapturedNumberFiles::copyInto(sqlite3* db, QString* error) const {
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db,
                           "insert into captured_numbers (shop, order_sign) values (?, ?) "
                           "on conflict do nothing",
                           -1, &insert, nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    const QDir folder(m_dataPath);
    int code = SQLITE_DONE;
    for (const QString& name : files()) {
        const QString path = folder.filePath(name);
        QStringList numbers = numbersIn(path);
        if (QFile::exists(path + kStaged)) {
            const QStringList staged = numbersIn(path + kStaged);
            if (!staged.isEmpty() && isStored(db, staged.last()))
                numbers = staged;
        }
        const QByteArray shop = name.chopped(4).replace(u';', u':').toUtf8();
        sqlite3_bind_text(insert, 1, shop.constData(), int(shop.size()), SQLITE_STATIC);
        for (const QString& number : numbers) {
            const QByteArray text = number.toUtf8();
            sqlite3_bind_text(insert, 2, text.constData(), int(text.size()), SQLITE_STATIC);
            code = sqlite3_step(insert);
            sqlite3_reset(insert);
            if (code != SQLITE_DONE)
                break;
        }
        if (code != SQLITE_DONE)
            break;
    }
    if (code != SQLITE_DONE)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(insert);
    return code == SQLITE_DONE;
}

void CapturedNumberFiles::remove() const {
    const QDir folder(m_dataPath);
    for (const QString& name : files()) {
        for (const QString& suffix : {QString(), kStaged, QStringLiteral(".lock")})
            QFile::remove(folder.filePath(name + suffix));
    }
}

} // namespace mldd
