#pragma once

#include "TemplateDocument.h"

#include <QUndoCommand>

namespace mldd {

/** One undoable change of one or more items of a template: moved, resized or restyled. */
class ItemChangeCommand : public QUndoCommand {
public:
    struct Change {
        ItemRef ref;
        ItemValue before;
        ItemValue after;
    };

    /** Nudges of the same items merge into one step. */
    static constexpr int kNudge = 1;

    ItemChangeCommand(TemplateDocument& document, QList<Change> changes, const QString& text,
                      int mergeId = -1);

    void redo() override;
    void undo() override;
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    TemplateDocument& m_document;
    QList<Change> m_changes;
    int m_mergeId;
};
} // namespace mldd
