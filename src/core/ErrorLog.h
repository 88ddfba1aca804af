#pragma once

#include <QDateTime>
#include <QString>

namespace mldd {

/**
 * The ERR.TXT log: one line per unexpected error, "date time|location|number|description".
 * The location code names the procedure; the user is not told.
 */
class ErrorLog {
public:
    explicit ErrorLog(QString path) : m_path(std::move(path)) {}

    /** Error numbers used by this program's own procedures. */
    enum Number { FileAccess = 75, Database = 3001, BadFormat = 13 };

    void append(const QString& location, int number, const QString& description) const;

    QString path() const { return m_path; }

    static QString formatLine(const QDateTime& when, const QString& location, int number,
                              const QString& description);

private:
    QString m_path;
};

} // namespace mldd
