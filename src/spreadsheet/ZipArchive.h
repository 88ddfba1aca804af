#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

struct zip;

namespace mldd {

/**
 * A zip archive (the container of .xlsx) opened for reading with libzip. Every
 * entry is read with a ceiling on its unpacked size, so that a zip bomb is
 * refused instead of filling the memory.
 */
class ZipArchive {
public:
    /** Why an entry could not be read. */
    enum class Failure { None, Missing, Damaged, TooLarge };

    /** Opens the archive; none when the file is no readable zip. */
    static std::unique_ptr<ZipArchive> open(const QString& path);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool contains(const QString& name) const;
    QStringList entryNames() const;

    /**
     * The unpacked bytes of one entry, at most `limit` of them. An entry that
     * says or turns out to be larger, or that packs suspiciously well, fails with TooLarge.
     */
    std::optional<QByteArray> read(const QString& name, qint64 limit, Failure* failure) const;

    /** The raw libzip handle, for copying entries into a new archive. */
    zip* handle() const { return m_zip; }

    /** The ceiling of one entry's unpacked size used by the readers. */
    static constexpr qint64 kEntryLimit = 256LL * 1024 * 1024;

private:
    explicit ZipArchive(zip* archive);

    zip* m_zip;
    QHash<QString, qint64> m_index;
};

} // namespace mldd
