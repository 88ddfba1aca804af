#pragma once

#include "CaptureFixture.h"

#include <QProcess>
#include <QTemporaryDir>

namespace mldd::test {

/** The marketplace exports made by make_exports.py, once for the whole test program. */
class MarketplaceExports {
public:
    static const MarketplaceExports& get() {
        static const MarketplaceExports exports;
        return exports;
    }
    QString path(const QString& name) const { return m_folder.filePath(name); }
    bool ok() const { return m_ok; }

    /** Lays the shipped table of export layouts into a data folder. */
    static bool layTable(const DataFolder& folder) {
        return QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/code/ExcelExports.txt"),
                           folder.file(QStringLiteral("code/ExcelExports.txt")));
    }

private:
    MarketplaceExports() {
        QProcess maker;
        maker.start(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral(MLDD_SOURCE_DIR "/tests/spreadsheet/make_exports.py"),
                     m_folder.path()});
        m_ok = maker.waitForFinished(60000) && maker.exitCode() == 0;
    }

    QTemporaryDir m_folder;
    bool m_ok = false;
};

} // namespace mldd::test
