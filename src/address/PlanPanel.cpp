#include "PlanPanel.h"

#include "core/MainState.h"

namespace mldd {

const QString PlanPanel::kPrompt = QStringLiteral("点此配置快递");

const std::array<QString, PlanPanel::kCellCount>& PlanPanel::provinces() {
    static const std::array<QString, kCellCount> names{
        QStringLiteral("北京"), QStringLiteral("天津"), QStringLiteral("重庆"),
        QStringLiteral("上海"), QStringLiteral("河北"), QStringLiteral("山西"),
        QStringLiteral("辽宁"), QStringLiteral("吉林"), QStringLiteral("黑龙江"),
        QStringLiteral("湖南"), QStringLiteral("湖北"), QStringLiteral("河南"),
        QStringLiteral("山东"), QStringLiteral("江西"), QStringLiteral("安徽"),
        QStringLiteral("浙江"), QStringLiteral("江苏"), QStringLiteral("福建"),
        QStringLiteral("台湾"), QStringLiteral("青海"), QStringLiteral("甘肃"),
        QStringLiteral("陕西"), QStringLiteral("云南"), QStringLiteral("四川"),
        QStringLiteral("海南"), QStringLiteral("广东"), QStringLiteral("贵州"),
        QStringLiteral("澳门"), QStringLiteral("香港"), QStringLiteral("西藏"),
        QStringLiteral("内蒙"), QStringLiteral("新疆"), QStringLiteral("宁夏"),
        QStringLiteral("广西")};
    return names;
}

const QList<PlanPanel::Region>& PlanPanel::regions() {
    static const QList<Region> regions{
        {QStringLiteral("华北"), {0, 1, 4, 5, 30}},
        {QStringLiteral("东北"), {6, 7, 8}},
        {QStringLiteral("华东"), {3, 16, 15, 14, 17, 13, 12}},
        {QStringLiteral("华中"), {11, 10, 9}},
        {QStringLiteral("华南"), {25, 33, 24}},
        {QStringLiteral("西南"), {2, 23, 26, 22, 29}},
        {QStringLiteral("西北"), {21, 20, 19, 32, 31}},
        {QStringLiteral("港澳台"), {28, 27, 18}}};
    return regions;
}

QList<int> PlanPanel::allCells() {
    QList<int> cells;
    for (int i = 0; i < kCellCount; ++i)
        cells.append(i);
    return cells;
}

PlanPanel::PlanPanel(const ExpressPlan& plan) {
    m_messagesFirst = plan.items.isEmpty() || plan.messagesFirst();
    for (int i = 0; i < kCellCount; ++i) {
        const qsizetype at = 2 * i + 1;
        const QString templateName = plan.items.value(at + 1);
        m_cells[size_t(i)] = (at < plan.items.size() ? plan.items.at(at) : provinces()[size_t(i)]) +
                             u':' + (templateName.isEmpty() ? kPrompt : templateName);
    }
}

void PlanPanel::chooseTemplate(int index, const QString& templateName) {
    QString& cell = m_cells.at(size_t(index));
    cell = cell.left(cell.indexOf(u':') + 1) + templateName;
}

void PlanPanel::chooseTemplate(const QList<int>& cells, const QString& templateName) {
    for (int index : cells)
        chooseTemplate(index, templateName);
}

QString PlanPanel::templateOf(int index) const {
    const QString& cell = m_cells.at(size_t(index));
    const QString name = cell.mid(cell.indexOf(u':') + 1);
    return name == kPrompt ? QString() : name;
}

QString PlanPanel::sharedTemplate(const QList<int>& cells) const {
    const QString first = cells.isEmpty() ? QString() : templateOf(cells.first());
    for (int index : cells)
        if (templateOf(index) != first)
            return QString();
    return first;
}

std::optional<Notice> PlanPanel::check() const {
    for (const QString& cell : m_cells) {
        if (cell.contains(kPrompt))
            return Notice{QStringLiteral("有的省份没有设置快递！"), QStringLiteral("墨岚打单"),
                          Notice::Icon::Critical};
    }
    return std::nullopt;
}

ExpressPlan PlanPanel::plan(const QStringList& courierNames) const {
    ExpressPlan plan;
    plan.courierNames = courierNames.isEmpty() ? ExpressPlan::defaultCourierNames() : courierNames;
    QString part = m_messagesFirst ? QStringLiteral("T") : QStringLiteral("F");
    for (const QString& cell : m_cells)
        part += u':' + cell;
    plan.items = part.split(u':');
    return plan;
}

PlanPanel::Saved PlanPanel::save(MainState& state) const {
    Saved result;
    result.notice = check();
    if (result.notice)
        return result;
    PrintSettings settings = state.settings;
    settings.selectKD = plan(ExpressPlan::fromText(settings.selectKD).courierNames).toText();
    if (state.database) {
        QSqlDatabase db = state.database->connection();
        QSqlError error;
        if (!settings.save(db, state.log, &error)) {
            state.database->note(error);
            result.notice =
                Notice{QStringLiteral("快递方案没有保存。\r\n") + state.database->failureText(),
                       QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
            return result;
        }
    }
    state.settings = settings;
    result.saved = true;
    result.fill = FillMissingCouriers(state);
    result.notice = result.fill.notice;
    return result;
}

} // namespace mldd
