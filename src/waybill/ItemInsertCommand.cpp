#include "ItemInsertCommand.h"

namespace mldd {

ItemInsertCommand::ItemInsertCommand(TemplateDocument& document, int index, QString record,
                                     bool removing, const QString& text)
    : QUndoCommand(text), m_document(document), m_index(index), m_record(std::move(record)),
      m_removing(removing) {}

void ItemInsertCommand::redo() {
    if (m_removing)
        m_document.takeRecord(m_index);
    else
        m_document.insertRecord(m_index, m_record);
}

void ItemInsertCommand::undo() {
    if (m_removing)
        m_document.insertRecord(m_index, m_record);
    else
        m_document.takeRecord(m_index);
}

} // namespace mldd
