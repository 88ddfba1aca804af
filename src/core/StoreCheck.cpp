#include "StoreCheck.h"

#include "OrderSearchIndex.h"
#include "StoreBackup.h"
#include "StoreFailure.h"
#include "TextFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <sqlite3.h>

namespace mldd {

namespace {

/** How many problems the check lists before it stops reading. */
constexpr int kMostProblems = 100;

/** How long the repair waits for a capture or a print run to finish writing. */
constexpr int kRepairWaitMs = 60000;

// The index a problem line names, when the problem lies in an index only.
QString damagedIndex(const QString& problem) {
    static const QRegularExpression indexOnly(QStringLiteral(
        R"((?:missing from index|wrong # of entries in index|non-unique entry in UNIQUE index) (\S+))"));
    const QRegularExpressionMatch match = indexOnly.match(problem);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace

bool StoreCheck::rebuildIndexes(sqlite3* db, const QStringList& problems) {
    QStringList indexes;
    for (const QString& problem : problems) {
        const QString index = damagedIndex(problem);
        if (index.isEmpty())
            return false;
        if (!indexes.contains(index))
            indexes.append(index);
    }
    for (const QString& index : indexes) {
        const QByteArray statement = "REINDEX \"" + index.toUtf8().replace('"', "\"\"") + '"';
        if (sqlite3_exec(db, statement.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            return false;
    }
    return true;
}

StoreCheck::CheckLines StoreCheck::checkLines(sqlite3* db, const QByteArray& pragma) {
    CheckLines lines;
    sqlite3_stmt* statement = nullptr;
    lines.code = sqlite3_prepare_v2(db, ("PRAGMA " + pragma).constData(), -1, &statement, nullptr);
    while (lines.code == SQLITE_OK || lines.code == SQLITE_ROW) {
        lines.code = sqlite3_step(statement);
        if (lines.code != SQLITE_ROW)
            break;
        const QString line =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        if (line != QStringLiteral("ok"))
            lines.problems.append(line);
    }
    lines.detail = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    return lines;
}

QStringList StoreCheck::problemsOf(sqlite3* db, QString* error) {
    CheckLines lines = checkLines(db, "integrity_check(" + QByteArray::number(kMostProblems) + ')');
    // SQLite may refuse to read on: that is damage too.
    if (lines.code != SQLITE_DONE && lines.problems.isEmpty()) {
        if (lines.code == SQLITE_CORRUPT || lines.code == SQLITE_NOTADB)
            lines.problems.append(lines.detail);
        else if (error)
            *error = lines.detail;
    }
    return lines.problems;
}

bool StoreCheck::isDue(const DataFolder& folder, const QDateTime& now) {
    const std::optional<QString> last = StoreBackup(folder).latest();
    return !last || StoreBackup::madeAt(*last).date() != now.date();
}

StoreCheck::Result StoreCheck::run(const DataFolder& folder, const QDateTime& now,
                                   bool backupAnyway) {
    Result result;
    const QString path = folder.databasePath();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        result.outcome = Outcome::Failed;
        result.error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return result;
    }
    result.problems = problemsOf(db, &result.error);
    if (!result.error.isEmpty()) {
        result.outcome = Outcome::Failed;
    } else if (!result.problems.isEmpty()) {
        QString again;
        sqlite3_busy_timeout(db, kRepairWaitMs);
        const bool repaired = rebuildIndexes(db, result.problems) &&
                              problemsOf(db, &again).isEmpty() && again.isEmpty();
        result.outcome = repaired ? Outcome::Repaired : Outcome::Damaged;
    }
    if (result.outcome == Outcome::Damaged) {
        QSaveFile mark(damageMarkPath(path));
        if (mark.open(QIODevice::WriteOnly)) {
            mark.write(result.problems.join(u'\n').toUtf8());
            mark.commit();
        }
    } else if (result.outcome != Outcome::Failed) {
        forgetDamage(path);
        // Only a store that passed the check is backed up, so no backup is damaged.
        QString error;
        if (backupAnyway || isDue(folder, now)) {
            result.backup = StoreBackup(folder).makeFrom(db, now, &error);
            if (!result.backup)
                result.error = error;
        }
        // After the backup, which must not wait for it. A merge cut short by a busy
        // store is taken up again by the next check; searching finds the same meanwhile.
        OrderSearchIndex::mergeParts(db, path, kRepairWaitMs);
    }
    sqlite3_close(db);
    return result;
}

std::optional<Notice> StoreCheck::Result::notice(const DataFolder& folder) const {
    const QString path = folder.databasePath();
    switch (outcome) {
    case Outcome::Sound:
        if (error.isEmpty())
            return std::nullopt;
        return Notice{QStringLiteral("今天的备份没有做成：%1").arg(error),
                      QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    case Outcome::Repaired:
        return Notice{QStringLiteral("每日检查发现订单数据库 %1 的索引损坏了，已经重建索引；"
                                     "订单没有丢失，也没有改动。")
                          .arg(path),
                      QStringLiteral("墨岚打单"), Notice::Icon::Information};
    case Outcome::Damaged:
        return Notice{StoreFailure{StoreFailure::Kind::Corrupt, problems.join(u'\n')}.text(path) +
                          QStringLiteral("\r\n每日检查发现了损坏。请关闭软件，再用备份恢复"
                                         "（下次启动时会问您，或用 mldd-cli db restore）。"),
                      QStringLiteral("墨岚打单"), Notice::Icon::Critical};
    case Outcome::Failed:
        return Notice{QStringLiteral("订单数据库 %1 的每日检查没有做成：%2").arg(path, error),
                      QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    }
    return std::nullopt;
}

QString StoreCheck::damageMarkPath(const QString& databasePath) {
    return databasePath + QStringLiteral(".damaged");
}

QString StoreCheck::damageFound(const QString& databasePath) {
    const QString mark = damageMarkPath(databasePath);
    if (!QFile::exists(mark))
        return QString();
    const QString text = TextFile::read(mark).lines.join(u'\n');
    return text.isEmpty() ? QStringLiteral("damaged") : text;
}

void StoreCheck::forgetDamage(const QString& databasePath) {
    QFile::remove(damageMarkPath(databasePath));
}

} // namespace mldd
