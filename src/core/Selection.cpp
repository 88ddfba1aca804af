#include "Selection.h"

#include <QStringList>

namespace mldd {

bool Selection::contains(qint64 id) const {
    return ids().contains(id);
}

QList<qint64> Selection::ids() const {
    QList<qint64> result;
    for (const QString& part : m_text.split(u'|', Qt::SkipEmptyParts))
        result.append(part.toLongLong());
    return result;
}

void Selection::toggle(qint64 id, bool ticked) {
    if (ticked) {
        if (!contains(id))
            m_text += item(id);
        return;
    }
    QList<qint64> kept = ids();
    kept.removeAll(id);
    m_text.clear();
    for (qint64 keptId : kept)
        m_text += item(keptId);
}

} // namespace mldd
