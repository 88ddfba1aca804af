#include "CompressedFile.h"

#include <QDir>
#include <QFile>

#include <zstd.h>

#include <memory>
#include <vector>

namespace mldd::CompressedFile {

namespace {

/** Fast enough for a store of a year in seconds on one core; a store packs to about a third. */
constexpr int kLevel = 3;

struct Files {
    QFile in;
    QFile out;
};

bool openBoth(Files& files, const QString& from, const QString& to, QString* error) {
    files.in.setFileName(from);
    files.out.setFileName(to);
    if (!files.in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法读取 %1").arg(QDir::toNativeSeparators(from));
        return false;
    }
    if (!files.out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(to));
        return false;
    }
    return true;
}

bool writeAll(QFile& out, const ZSTD_outBuffer& buffer, QString* error) {
    if (out.write(static_cast<const char*>(buffer.dst), qint64(buffer.pos)) == qint64(buffer.pos))
        return true;
    *error =
        QStringLiteral("无法写入 %1（磁盘满了？）").arg(QDir::toNativeSeparators(out.fileName()));
    return false;
}

} // namespace

bool pack(const QString& from, const QString& to, QString* error) {
    Files files;
    if (!openBoth(files, from, to, error))
        return false;
    const std::unique_ptr<ZSTD_CCtx, decltype(&ZSTD_freeCCtx)> context(ZSTD_createCCtx(),
                                                                       ZSTD_freeCCtx);
    ZSTD_CCtx_setParameter(context.get(), ZSTD_c_compressionLevel, kLevel);
    ZSTD_CCtx_setParameter(context.get(), ZSTD_c_checksumFlag, 1);
    std::vector<char> inBytes(ZSTD_CStreamInSize());
    std::vector<char> outBytes(ZSTD_CStreamOutSize());
    for (;;) {
        const qint64 read = files.in.read(inBytes.data(), qint64(inBytes.size()));
        if (read < 0) {
            *error = QStringLiteral("无法读取 %1").arg(QDir::toNativeSeparators(from));
            return false;
        }
        const ZSTD_EndDirective mode = read == 0 ? ZSTD_e_end : ZSTD_e_continue;
        ZSTD_inBuffer input{inBytes.data(), size_t(read), 0};
        bool finished = false;
        do {
            ZSTD_outBuffer output{outBytes.data(), outBytes.size(), 0};
            const size_t left = ZSTD_compressStream2(context.get(), &output, &input, mode);
            if (ZSTD_isError(left)) {
                *error = QString::fromUtf8(ZSTD_getErrorName(left));
                return false;
            }
            if (!writeAll(files.out, output, error))
                return false;
            finished = mode == ZSTD_e_end ? left == 0 : input.pos == input.size;
        } while (!finished);
        if (read == 0)
            break;
    }
    if (!files.out.flush()) {
        *error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(to));
        return false;
    }
    return true;
}

bool unpack(const QString& from, const QString& to, QString* error) {
    Files files;
    if (!openBoth(files, from, to, error))
        return false;
    const std::unique_ptr<ZSTD_DCtx, decltype(&ZSTD_freeDCtx)> context(ZSTD_createDCtx(),
                                                                       ZSTD_freeDCtx);
    std::vector<char> inBytes(ZSTD_DStreamInSize());
    std::vector<char> outBytes(ZSTD_DStreamOutSize());
    size_t expecting = 1; // zstd's hint: 0 once a whole frame was read
    for (;;) {
        const qint64 read = files.in.read(inBytes.data(), qint64(inBytes.size()));
        if (read <= 0)
            break;
        ZSTD_inBuffer input{inBytes.data(), size_t(read), 0};
        while (input.pos < input.size) {
            ZSTD_outBuffer output{outBytes.data(), outBytes.size(), 0};
            expecting = ZSTD_decompressStream(context.get(), &output, &input);
            if (ZSTD_isError(expecting)) {
                *error = QStringLiteral("%1 已损坏（%2）")
                             .arg(QDir::toNativeSeparators(from),
                                  QString::fromUtf8(ZSTD_getErrorName(expecting)));
                return false;
            }
            if (!writeAll(files.out, output, error))
                return false;
        }
    }
    // A file cut short ends in the middle of its frame.
    if (expecting != 0) {
        *error = QStringLiteral("%1 不完整").arg(QDir::toNativeSeparators(from));
        return false;
    }
    if (!files.out.flush()) {
        *error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(to));
        return false;
    }
    return true;
}

} // namespace mldd::CompressedFile
