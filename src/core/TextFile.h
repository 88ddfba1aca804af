#pragma once

#include <QFileDevice>
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
 * Why `path` is not a regular file of at most `limit` bytes, in the seller's
 * words; nothing when it is one. A device, a pipe or a folder is refused
 * before it is opened, so nothing waits for a writer or reads for ever.
 */
std::optional<QString> readRefusal(const QString& path, qint64 limit = kMaxBytes);

/** The bytes of a regular file of at most `limit` bytes; else `error` says why. */
std::optional<QByteArray> readBytes(const QString& path, QString* error, qint64 limit = kMaxBytes);

/** Reads the whole file (UTF-8, else GBK) and splits it into lines ending at CR LF. */
TextFileContent read(const QString& path);

/** Splits text into lines at CR LF (a lone LF also ends a line); no trailing empty line. */
QStringList splitLines(const QString& text);

/**
 * Writes the bytes through a temporary file that is renamed over the old one
 * only when every byte reached the disk: a crash or a full disk never leaves
 * half a file, and a failed write leaves the old file as it was. Every file
 * the program writes goes through here. `permissions`, when given, are the new
 * file's; `error` says why in the seller's words.
 */
bool writeBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                std::optional<QFileDevice::Permissions> permissions = std::nullopt);

/** Writes the lines as UTF-8, each ending with CR LF, as writeBytes does. */
bool write(const QString& path, const QStringList& lines, QString* error = nullptr);

/**
 * Appends one line ending with CR LF, creating the file when needed. A line
 * that does not fit on the disk is taken back whole.
 */
bool appendLine(const QString& path, const QString& line, QString* error = nullptr);

/**
 * The seller's message for a file at `path` that could not be written: a full
 * disk is called so (the old file stays as it was), anything else gives `why`.
 */
QString writeFailure(const QString& path, const QString& why);

} // namespace TextFile
} // namespace mldd
