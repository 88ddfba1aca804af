#include "FaHuoSet.h"

#include <algorithm>

namespace mldd {

namespace {

struct ItemDefault {
    const char16_t* name;
    const char16_t* text;
    const char16_t* size;
    const char16_t* alignment;
};

// clang-format off
constexpr ItemDefault kDefaults[] = {
    {u"标题", u"某某某店铺发货单", u"18", u"居中"},
    {u"订单编号", u"", u"10.5", u"居左"},
    {u"订单条码", u"", u"10.5", u"居左"},
    {u"快递单号", u"", u"10.5", u"居左"},
    {u"快递条码", u"", u"10.5", u"居左"},
    {u"买家姓名", u"", u"10.5", u"居左"},
    {u"买家ID", u"", u"10.5", u"居左"},
    {u"买家电话", u"", u"10.5", u"居左"},
    {u"买家邮编", u"", u"10.5", u"居左"},
    {u"收货地址", u"", u"10.5", u"居左"},
    {u"发货日期", u"", u"10.5", u"居左"},
    {u"卖家姓名", u"卖家姓名:某某某", u"10.5", u"居左"},
    {u"卖家ID", u"卖家ID:某某某", u"10.5", u"居左"},
    {u"卖家联系电话", u"卖家联系电话:XXXXXXXXXXX", u"10.5", u"居左"},
    {u"卖家寄语", u"欢迎您下次光临本店!", u"10.5", u"居左"},
    {u"商品标题", u"", u"10.5", u"居左"},
    {u"商品内容", u"", u"10.5", u"居左"},
    {u"合计", u"", u"10.5", u"居左"},
    {u"总计人民币大写", u"", u"10.5", u"居左"},
    {u"买家留言", u"", u"10.5", u"居左"},
    {u"卖家备注", u"", u"10.5", u"居左"},
};

// Items whose placeholder text must be replaced before a shown item is saved.
constexpr struct { const char16_t* item; const char16_t* message; } kPlaceholders[] = {
    {u"标题", u"请修改您的发货单标题！"},
    {u"卖家姓名", u"请修改您的卖家姓名！"},
    {u"卖家ID", u"请修改您的卖家ID！"},
    {u"卖家联系电话", u"请修改您的卖家联系电话！"},
};
// clang-format on

QString text(const char16_t* chars) {
    return QString::fromUtf16(chars);
}

QString defaultText(const QString& name) {
    for (const ItemDefault& item : kDefaults)
        if (text(item.name) == name)
            return text(item.text);
    return QString();
}

} // namespace

QString DefaultFaHuoSet() {
    QStringList records;
    for (const ItemDefault& item : kDefaults)
        records.append(QStringList{text(item.name), text(item.text), QStringLiteral("1"),
                                   QStringLiteral("宋体"), text(item.size), text(item.alignment),
                                   QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}
                           .join(FaHuoSet::kFieldSeparator));
    return records.join(FaHuoSet::kRecordSeparator);
}

const QStringList& FaHuoSet::itemNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const ItemDefault& item : kDefaults)
            list.append(text(item.name));
        return list;
    }();
    return names;
}

const QStringList& FaHuoSet::sizeChoices() {
    static const QStringList sizes =
        QStringLiteral("5 5.5 6.5 7.5 8 9 10 10.5 11 12 14 16 18 20 22 24 28 32 "
                       "36 48 72")
            .split(u' ');
    return sizes;
}

const QStringList& FaHuoSet::alignments() {
    static const QStringList list{QStringLiteral("居左"), QStringLiteral("居中"),
                                  QStringLiteral("居右")};
    return list;
}

QStringList FaHuoSet::fontChoices(const QStringList& installedFamilies) {
    QStringList preferred;
    for (const QChar initial : {u'楷', u'黑', u'宋', u'隶'}) {
        const auto found =
            std::find_if(installedFamilies.begin(), installedFamilies.end(),
                         [initial](const QString& family) { return family.startsWith(initial); });
        if (found != installedFamilies.end())
            preferred.append(*found);
    }
    // A preferred family is listed once, at the top.
    QStringList choices = preferred;
    QStringList vertical;
    for (const QString& family : installedFamilies) {
        if (family.startsWith(u'@'))
            vertical.append(family);
        else if (!preferred.contains(family))
            choices.append(family);
    }
    return choices + vertical;
}

FaHuoSet::FaHuoSet(const QString& value)
    : m_records((value.isEmpty() ? DefaultFaHuoSet() : value).split(kRecordSeparator)) {}

std::optional<QStringList> FaHuoSet::record(qsizetype index) const {
    if (index < 0 || index >= m_records.size())
        return std::nullopt;
    QStringList fields = m_records[index].split(kFieldSeparator);
    if (fields.size() != kFieldCount)
        return std::nullopt;
    return fields;
}

std::optional<qsizetype> FaHuoSet::indexOf(const QString& name) const {
    for (qsizetype i = 0; i < m_records.size(); ++i)
        if (const auto fields = record(i); fields && fields->at(Name) == name)
            return i;
    return std::nullopt;
}

std::optional<QStringList> FaHuoSet::item(const QString& name) const {
    const auto index = indexOf(name);
    return index ? record(*index) : std::nullopt;
}

bool FaHuoSet::setField(qsizetype index, Field field, const QString& value) {
    std::optional<QStringList> fields = record(index);
    if (!fields)
        return false;
    (*fields)[field] = value;
    m_records[index] = fields->join(kFieldSeparator);
    return true;
}

bool FaHuoSet::setItemField(const QString& name, Field field, const QString& value) {
    const auto index = indexOf(name);
    return index && setField(*index, field, value);
}

FaHuoSet FaHuoSet::withSender(const SenderProfile& sender) const {
    const QString account =
        sender.myIdh.contains(u':') ? sender.myIdh.section(u':', 1) : sender.myIdh;
    const QString phone = sender.phone1.isEmpty() ? sender.phone2 : sender.phone1;
    const std::pair<QString, QString> values[] = {
        {QStringLiteral("标题"),
         sender.company.isEmpty() ? QString() : sender.company + QStringLiteral("发货单")},
        {QStringLiteral("卖家姓名"),
         sender.name.isEmpty() ? QString() : QStringLiteral("卖家姓名:") + sender.name},
        {QStringLiteral("卖家ID"),
         account.isEmpty() ? QString() : QStringLiteral("卖家ID:") + account},
        {QStringLiteral("卖家联系电话"),
         phone.isEmpty() ? QString() : QStringLiteral("卖家联系电话:") + phone},
    };
    FaHuoSet design = *this;
    for (const auto& [name, value] : values) {
        const auto fields = item(name);
        if (!value.isEmpty() && fields && fields->at(Text) == defaultText(name))
            design.setItemField(name, Text, value);
    }
    return design;
}

std::optional<FaHuoSet::Refusal> FaHuoSet::saveRefusal() const {
    for (const auto& placeholder : kPlaceholders) {
        const QString name = text(placeholder.item);
        const auto fields = item(name);
        if (fields && fields->at(Shown) == u"1" && fields->at(Text) == defaultText(name))
            return Refusal{name, Notice{text(placeholder.message), QStringLiteral("墨岚打单"),
                                        Notice::Icon::Exclamation}};
    }
    return std::nullopt;
}

Notice FaHuoSet::savedNotice() {
    return Notice{QStringLiteral("保存成功！"), QStringLiteral("墨岚打单"),
                  Notice::Icon::Information, Notice::Buttons::Ok};
}

} // namespace mldd
