#pragma once

#include "CommandContext.h"

#include "core/Order.h"
#include "workbench/OrderMarks.h"

#include <QObject>

namespace mldd {

/** What the seller does to stored orders: edit, mark, merge, split, confirm and delete them. */
class OrderCommands : public QObject {
    Q_OBJECT

public:
    explicit OrderCommands(const CommandContext& context, QObject* parent = nullptr);

    void toggleMark(qint64 id, OrderMarks::Mark mark);
    void split(qint64 id);
    /** 核对: the buyer's confirmation text goes to the clipboard. */
    void confirm(qint64 id);
    void deleteOne(qint64 id);
    /** A card's edit, after the checks and the question; a refused one stays in the card. */
    void saveEdited(const Order& order);
    void changeSender(qint64 id, const QString& senderId);
    void mergeSelected();
    void deleteOld();

private:
    CommandContext m_context;
};

} // namespace mldd
