#pragma once

#include "TemplateDocument.h"

#include <QUndoCommand>

namespace mldd {

/** Adding a layout item, or removing one, as an undoable step. */
class ItemInsertCommand : public QUndoCommand {
public:
    /** Inserts `record` at `index`; with `removing`, takes the record at `index` away instead. */
    ItemInsertCommand(TemplateDocument& document, int index, QString record, bool removing,
                      const QString& text);

    void redo() override;
    void undo() override;

private:
    TemplateDocument& m_document;
    int m_index;
    QString m_record;
    bool m_removing;
};

} // namespace mldd
