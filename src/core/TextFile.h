#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace mldd {

/** What reading a data-folder text file gave. */
struct TextFileContent {
    enum class Status { Ok, Missing, Failed };

    Status status = Status::Missing;
    QStringList lines;
    QString error; // the reason, when status is Failed

    bool ok() const { return status == Status::Ok; }
    QString firstLine() const { return lines.value(0); }
};

/** Reads and writes the data folder's line-oriented text files. */
namespace TextFile {

/** The most a page, decode file or reply may hold; more is an attack or a mistake. */
constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

/**
 * The bytes of a regular file of at most kMaxBytes. A device, a pipe or a
 * folder is refused before it is opened, so nothing waits for a writer or
 * reads for ever; `error` says why in the seller's words.
 */
std::optional<QByteArray> readBytes(const QString& path, QString* error);

/** Reads the whole file (UTF-8, else GBK) and splits it into lines ending at CR LF. */
TextFileContent read(const QString& path);

/** Splits text into lines at CR LF (a lone LF also ends a line); no trailing empty line. */
QStringList splitLines(const QString& text);

/**
 * Writes the lines as UTF-8, each ending with CR LF, through a temporary file
 * renamed over the old one, so that a crash never leaves half a file.
 */
bool write(const QString& path, const QStringList& lines, QString* error = nullptr);

/** Appends one line ending with CR LF, creating the file when needed. */
bool appendLine(const QString& path, const QString& line, QString* error = nullptr);

} // namespace TextFile
} // namespace mldd
