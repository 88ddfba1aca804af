#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>

namespace mldd::test {

/**
 * A small tmpfs of its own, where the system lets a test mount one (as root);
 * fill() takes its last byte, so that the next write meets a full disk.
 */
class FullDisk {
public:
    FullDisk() {
        m_mounted =
            m_dir.isValid() && QProcess::execute(QStringLiteral("mount"),
                                                 {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                  QStringLiteral("-o"), QStringLiteral("size=1m"),
                                                  QStringLiteral("tmpfs"), m_dir.path()}) == 0;
    }
    ~FullDisk() {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_dir.path()});
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool mounted() const { return m_mounted; }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    /**
     * Writes a filler file until the disk refuses a single byte more, then gives
     * `leave` bytes back: a write larger than that is cut short, then refused.
     */
    void fill(qint64 leave = 0) const {
        QFile filler(m_dir.filePath(QStringLiteral("filler")));
        filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("x", 1) == 1) {
        }
        filler.resize(std::max<qint64>(0, filler.size() - leave));
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace mldd::test
