#include "ItemChangeCommand.h"

namespace mldd {

ItemChangeCommand::ItemChangeCommand(TemplateDocument& document, QList<Change> changes,
                                     const QString& text, int mergeId)
    : QUndoCommand(text), m_document(document), m_changes(std::move(changes)), m_mergeId(mergeId) {}

void ItemChangeCommand::redo() {
    for (const Change& change : std::as_const(m_changes))
        m_document.apply(change.ref, change.after);
}

void ItemChangeCommand::undo() {
    for (auto change = m_changes.crbegin(); change != m_changes.crend(); ++change)
        m_document.apply(change->ref, change->before);
}

bool ItemChangeCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const ItemChangeCommand*>(other);
    if (next->m_changes.size() != m_changes.size())
        return false;
    for (qsizetype i = 0; i < m_changes.size(); ++i)
        if (!(next->m_changes[i].ref == m_changes[i].ref))
            return false;
    for (qsizetype i = 0; i < m_changes.size(); ++i)
        m_changes[i].after = next->m_changes[i].after;
    return true;
}

} // namespace mldd
