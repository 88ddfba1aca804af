#include "CapturedNumbers.h"

#include "core/LocationCode.h"
#include "core/SettingsFile.h"

namespace mldd {

bool CapturedNumbers::contains(const QString& seller, const QString& number) {
    // Whole items only: 淘宝:12 is not captured because 淘宝:112 was.
    return !number.isEmpty() && (u'|' + listOf(seller)).contains(u'|' + number + u'|');
}

void CapturedNumbers::add(const QString& seller, const QString& number) {
    listOf(seller) += number + u'|';
    m_changed.insert(seller, true);
}

bool CapturedNumbers::save() {
    bool saved = true;
    for (auto it = m_changed.constBegin(); it != m_changed.constEnd(); ++it)
        saved = writeSettingsFile(path(it.key()), {m_lists.value(it.key())}, m_log,
                                  LocationCode::Capture) &&
                saved;
    m_changed.clear();
    return saved;
}

QString& CapturedNumbers::listOf(const QString& seller) {
    auto it = m_lists.find(seller);
    if (it == m_lists.end())
        it = m_lists.insert(seller,
                            readSettingsFile(path(seller), m_log, LocationCode::Capture).join(QString()));
    return *it;
}

QString CapturedNumbers::path(const QString& seller) const {
    return m_folder.file(DataFolder::safeFileName(QString(seller).replace(u':', u';')) +
                         QStringLiteral(".dat"));
}

} // namespace mldd
