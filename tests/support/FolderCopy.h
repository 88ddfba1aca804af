#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mldd::test {

/** Copies a folder with everything in it, as a seller copies the shipped data folder. */
inline void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& entry :
         QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry.isDir())
            copyFolder(entry.filePath(), to + u'/' + entry.fileName());
        else
            QFile::copy(entry.filePath(), to + u'/' + entry.fileName());
    }
}

} // namespace mldd::test
