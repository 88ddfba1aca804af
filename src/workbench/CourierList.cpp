#include "CourierList.h"

#include "core/MainState.h"
#include "core/OrderStore.h"
#include "core/Startup.h"

namespace mldd::CourierList {

QStringList installed(const DataFolder& folder) {
    return installedTemplateNames(folder);
}

QStringList forFilter(const MainState& state) {
    QStringList names = installed(state.folder) + state.couriers;
    if (state.database)
        names += OrderStore(*state.database).namedCouriers();
    names.removeDuplicates();
    names.removeAll(QString());
    return names;
}

std::optional<Notice> refusal(const QStringList& installed, const QString& typed,
                              const QString& stored) {
    if (typed == stored || installed.contains(typed))
        return std::nullopt;
    const QString why = typed.trimmed().isEmpty()
                            ? QStringLiteral("快递单据不能空着。")
                            : QStringLiteral("没有“%1”这个快递单模版。").arg(typed);
    return Notice{why + QStringLiteral("\r\n请在快递单据的列表里选一个已安装的快递单。"),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
}

} // namespace mldd::CourierList
