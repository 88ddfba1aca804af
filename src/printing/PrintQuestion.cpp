#include "PrintQuestion.h"

#include "core/OrderStore.h"

namespace mldd {

PrintQuestion PrintQuestion::about(const OrderStore& store, PrintDocuments::Kind kind,
                                   const QList<qint64>& ids) {
    PrintQuestion question;
    for (const Order& order : store.byIds(ids)) {
        question.all.append(order.id);
        if (!PrintDocuments::isMarked(kind, order))
            question.unprinted.append(order.id);
    }
    const QString documents = kind == PrintDocuments::Kind::Waybills ? QStringLiteral("快递单")
                                                                     : QStringLiteral("发货单");
    const qsizetype printed = question.all.size() - question.unprinted.size();
    question.question.icon = Notice::Icon::Exclamation;
    if (printed == 0) {
        question.question.text =
            QStringLiteral("将打印%1张%2，继续吗？").arg(question.all.size()).arg(documents);
        question.question.buttons = Notice::Buttons::YesNo;
        return question;
    }
    question.question.text =
        QStringLiteral("将打印%1张%2，其中%3张已经打印过，继续吗？\r\n\r\n"
                       "是：全部打印\r\n否：跳过已经打印过的%3张，只打印%4张\r\n取消：不打印")
            .arg(question.all.size())
            .arg(documents)
            .arg(printed)
            .arg(question.unprinted.size());
    question.question.buttons = Notice::Buttons::YesNoCancel;
    return question;
}

QList<qint64> PrintQuestion::chosen(Notice::Answer answer) const {
    if (answer == Notice::Answer::Cancel ||
        (answer == Notice::Answer::No && question.buttons == Notice::Buttons::YesNo))
        return {};
    return answer == Notice::Answer::Yes ? all : unprinted;
}

} // namespace mldd
