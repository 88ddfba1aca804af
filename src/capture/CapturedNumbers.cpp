#include "CapturedNumbers.h"

#include "core/LocationCode.h"
#include "core/SettingsFile.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace mldd {

bool CapturedNumbers::contains(const QString& seller, const QString& number) {
    // Whole items only: 淘宝:12 is not captured because 淘宝:112 was.
    return !number.isEmpty() && (u'|' + listOf(seller)).contains(u'|' + number + u'|');
}

void CapturedNumbers::add(const QString& seller, const QString& number) {
    listOf(seller) += number + u'|';
    m_changed.insert(seller, true);
}

bool CapturedNumbers::stage() {
    bool staged = true;
    for (auto it = m_changed.constBegin(); it != m_changed.constEnd(); ++it)
        staged = writeSettingsFile(stagedPath(path(it.key())), {m_lists.value(it.key())}, m_log,
                                   LocationCode::Capture) &&
                 staged;
    return staged;
}

void CapturedNumbers::commit() {
    for (auto it = m_changed.constBegin(); it != m_changed.constEnd(); ++it) {
        const QString target = path(it.key());
        // rename() replaces the old list in one step.
        std::rename(QFile::encodeName(stagedPath(target)).constData(),
                    QFile::encodeName(target).constData());
    }
    m_changed.clear();
}

void CapturedNumbers::recover(const DataFolder& folder, const OrderStore& store) {
    const QDir data(folder.dataPath());
    for (const QString& name : data.entryList({QStringLiteral("*.dat.new")}, QDir::Files)) {
        const QString staged = data.filePath(name);
        const TextFileContent content = TextFile::read(staged);
        const QStringList numbers = content.firstLine().split(u'|', Qt::SkipEmptyParts);
        const bool stored = !numbers.isEmpty() && !store.byOrderNumber(numbers.last()).empty();
        if (stored)
            std::rename(QFile::encodeName(staged).constData(),
                        QFile::encodeName(staged.chopped(4)).constData());
        else
            QFile::remove(staged);
    }
}

QString& CapturedNumbers::listOf(const QString& seller) {
    auto it = m_lists.find(seller);
    if (it == m_lists.end())
        it = m_lists.insert(
            seller, readSettingsFile(path(seller), m_log, LocationCode::Capture).join(QString()));
    return *it;
}

QString CapturedNumbers::path(const QString& seller) const {
    return m_folder.file(DataFolder::safeFileName(QString(seller).replace(u':', u';')) +
                         QStringLiteral(".dat"));
}

} // namespace mldd
