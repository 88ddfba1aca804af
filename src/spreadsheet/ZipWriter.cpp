#include "ZipWriter.h"

#include "ZipArchive.h"

#include <zip.h>

namespace mldd::ZipWriter {

namespace {

// Adds a copy of `bytes` as an entry; libzip frees the copy with the archive.
bool addBytes(zip* archive, const QString& name, const QByteArray& bytes) {
    void* copy = malloc(size_t(std::max<qsizetype>(bytes.size(), 1)));
    if (!copy)
        return false;
    memcpy(copy, bytes.constData(), size_t(bytes.size()));
    zip_source_t* source = zip_source_buffer(archive, copy, zip_uint64_t(bytes.size()), 1);
    if (!source) {
        free(copy);
        return false;
    }
    if (zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(source);
        return false;
    }
    return true;
}

// Runs `fill` on a new archive held in memory and gives back its bytes.
template <typename Fill> std::optional<QByteArray> inMemory(Fill fill) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        return std::nullopt;
    zip_source_keep(buffer);
    zip* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer);
        return std::nullopt;
    }
    if (!fill(archive) || zip_close(archive) != 0) {
        zip_discard(archive);
        zip_source_free(buffer);
        return std::nullopt;
    }
    QByteArray bytes;
    if (zip_source_open(buffer) == 0) {
        zip_source_seek(buffer, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(buffer);
        zip_source_seek(buffer, 0, SEEK_SET);
        bytes.resize(qsizetype(std::max<zip_int64_t>(size, 0)));
        if (size <= 0 || zip_source_read(buffer, bytes.data(), zip_uint64_t(size)) != size)
            bytes.clear();
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

} // namespace

std::optional<QByteArray> create(const QList<std::pair<QString, QByteArray>>& entries) {
    return inMemory([&](zip* archive) {
        for (const auto& [name, bytes] : entries)
            if (!addBytes(archive, name, bytes))
                return false;
        return true;
    });
}

std::optional<QByteArray> rewrite(const ZipArchive& source,
                                  const QHash<QString, QByteArray>& replaced) {
    zip* from = source.handle();
    return inMemory([&](zip* archive) {
        const zip_int64_t count = zip_get_num_entries(from, 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            const char* rawName = zip_get_name(from, zip_uint64_t(i), ZIP_FL_ENC_RAW);
            if (!rawName)
                return false;
            const QString name = QString::fromUtf8(zip_get_name(from, zip_uint64_t(i), 0));
            const auto newBytes = replaced.constFind(name);
            if (newBytes != replaced.constEnd()) {
                if (!addBytes(archive, name, *newBytes))
                    return false;
                continue;
            }
            // The packed bytes are copied as they are: the entry stays exactly what it was.
            zip_source_t* copy =
                zip_source_zip(archive, from, zip_uint64_t(i), ZIP_FL_COMPRESSED, 0, -1);
            if (!copy)
                return false;
            if (zip_file_add(archive, rawName, copy, ZIP_FL_ENC_RAW) < 0) {
                zip_source_free(copy);
                return false;
            }
        }
        return true;
    });
}

} // namespace mldd::ZipWriter
