#include "FileArgument.h"

#include <QFile>

namespace mldd::cli {

std::optional<QByteArray> readFileArgument(const QString& path, QString* message) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *message = QStringLiteral("无法读取文件：%1（%2）").arg(path, file.errorString());
        return std::nullopt;
    }
    return file.readAll();
}

} // namespace mldd::cli
