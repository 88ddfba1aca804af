#include "FollowingLists.h"

#include "PrintQuestion.h"

#include "core/MainState.h"
#include "core/OrderStore.h"

namespace mldd {

QList<qint64> FollowingLists::of(const MainState& state, const QList<qint64>& printedWaybills) {
    if (!state.settings.printsShippingLists() || printedWaybills.isEmpty())
        return {};
    // A list printed before is not printed again unasked.
    return PrintQuestion::about(OrderStore(*state.database), PrintDocuments::Kind::ShippingLists,
                                printedWaybills)
        .unprinted;
}

} // namespace mldd
