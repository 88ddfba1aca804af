#include "FileArgument.h"

#include "core/TextFile.h"

namespace mldd::cli {

std::optional<QByteArray> readFileArgument(const QString& path, QString* message) {
    return TextFile::readBytes(path, message);
}

} // namespace mldd::cli
