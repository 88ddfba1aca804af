#include "ZipArchive.h"

#include <QFile>

#include <zip.h>

namespace mldd {

namespace {
// Office files pack ten to twenty times; a thousand times is made on purpose.
constexpr qint64 kSuspectRatio = 1000;
constexpr qint64 kSuspectSize = 16LL * 1024 * 1024;
} // namespace

ZipArchive::ZipArchive(zip* archive) : m_zip(archive) {
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char* name = zip_get_name(m_zip, zip_uint64_t(i), ZIP_FL_ENC_GUESS))
            m_index.insert(QString::fromUtf8(name), i);
    }
}

ZipArchive::~ZipArchive() {
    zip_discard(m_zip);
}

std::unique_ptr<ZipArchive> ZipArchive::open(const QString& path) {
    int error = 0;
    zip* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive)
        return nullptr;
    return std::unique_ptr<ZipArchive>(new ZipArchive(archive));
}

bool ZipArchive::contains(const QString& name) const {
    return m_index.contains(name);
}

QStringList ZipArchive::entryNames() const {
    return m_index.keys();
}

std::optional<QByteArray> ZipArchive::read(const QString& name, qint64 limit,
                                           Failure* failure) const {
    const auto fail = [failure](Failure why) {
        *failure = why;
        return std::nullopt;
    };
    const auto found = m_index.constFind(name);
    if (found == m_index.constEnd())
        return fail(Failure::Missing);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_zip, zip_uint64_t(*found), 0, &stat) != 0)
        return fail(Failure::Damaged);
    const qint64 declared = (stat.valid & ZIP_STAT_SIZE) ? qint64(stat.size) : 0;
    const qint64 packed = (stat.valid & ZIP_STAT_COMP_SIZE) ? qint64(stat.comp_size) : 0;
    if (declared > limit || (declared > kSuspectSize && declared > packed * kSuspectRatio))
        return fail(Failure::TooLarge);

    zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(*found), 0);
    if (!file)
        return fail(Failure::Damaged);
    QByteArray bytes;
    bytes.reserve(qsizetype(declared));
    char chunk[64 * 1024];
    for (;;) {
        const zip_int64_t got = zip_fread(file, chunk, sizeof chunk);
        if (got < 0) {
            zip_fclose(file);
            return fail(Failure::Damaged);
        }
        if (got == 0)
            break;
        // The declared size may lie: the ceiling holds for what really comes out.
        if (bytes.size() + got > limit) {
            zip_fclose(file);
            return fail(Failure::TooLarge);
        }
        bytes.append(chunk, qsizetype(got));
    }
    zip_fclose(file);
    *failure = Failure::None;
    return bytes;
}

} // namespace mldd
