#include "GoodsTable.h"

#include "CapitalAmount.h"
#include "DecimalText.h"

#include <QRegularExpression>

#include <optional>

namespace mldd {

namespace {

enum Figure { Quantity, Price, Discount, Total, Freight, FigureCount };

// How a figure was marked: "￥89" and "89元" are money, "x2" and "×2" a count.
enum class Mark { None, Money, Count };

// A figure as pages and sellers write it: digits with an optional decimal part, maybe with a
// mark, which is left out of the printed figure. Signs and exponents make no figure, so no
// figure is negative or endless.
std::optional<double> figureOf(const QString& word, QString* text, Mark* mark) {
    static const QRegularExpression number(
        QStringLiteral("^([¥￥]|[xX×*])?(\\d{1,15}(?:\\.\\d+)?|\\.\\d+)(元)?$"));
    const QRegularExpressionMatch match = number.match(word);
    if (!match.hasMatch())
        return std::nullopt;
    const bool times = match.hasCaptured(1) && QStringLiteral("xX×*").contains(match.captured(1));
    const bool yuan = match.hasCaptured(3) || (match.hasCaptured(1) && !times);
    if (times && yuan)
        return std::nullopt; // "x2元" is neither a count nor money
    *mark = yuan ? Mark::Money : times ? Mark::Count : Mark::None;
    *text = match.captured(2);
    return text->toDouble();
}

// One article read from its end.
struct Article {
    QString name;
    QStringList texts; // the figures as written, quantity first
    QList<double> values;

    double value(int figure) const { return values.value(figure, 0); }
    double total() const {
        return values.size() > Total ? value(Total)
                                     : value(Quantity) * value(Price) - value(Discount);
    }
};

Article readArticle(const QString& item) {
    static const QRegularExpression wordPattern(QStringLiteral("\\S+"));
    QList<QRegularExpressionMatch> words;
    for (const QRegularExpressionMatch& word : wordPattern.globalMatch(item))
        words.append(word);

    // The numbers that end the article; more than five leave the first ones to the name.
    qsizetype first = words.size();
    QStringList texts;
    QList<double> values;
    QList<Mark> marks;
    while (first > 0 && texts.size() < FigureCount) {
        QString text;
        Mark mark = Mark::None;
        const std::optional<double> value = figureOf(words[first - 1].captured(), &text, &mark);
        if (!value)
            break;
        --first;
        texts.prepend(text);
        values.prepend(*value);
        marks.prepend(mark);
    }
    // A minus sign before the figures: no reading of them is what the seller meant.
    if (first > 0 && texts.size() < FigureCount) {
        const QString before = words[first - 1].captured();
        QString text;
        Mark mark = Mark::None;
        if ((before.startsWith(u'-') || before.startsWith(u'－')) &&
            figureOf(before.mid(1), &text, &mark))
            return Article{item, {}, {}};
    }
    Article article{QString(), texts, values};
    while (!article.values.isEmpty() && article.total() < 0) {
        ++first;
        article.texts.removeFirst();
        article.values.removeFirst();
        marks.removeFirst();
    }
    // "￥89 x2": the marks say the price came before the count.
    if (marks.size() >= 2 && marks[0] == Mark::Money && marks[1] == Mark::Count) {
        article.texts.swapItemsAt(0, 1);
        article.values.swapItemsAt(0, 1);
    }
    article.name = first < words.size() ? item.left(words[first].capturedStart()).trimmed() : item;
    return article;
}

} // namespace

const QStringList& GoodsTable::captions() {
    static const QStringList captions{
        QStringLiteral(" 序号 "),     QStringLiteral(" 宝贝名称及规格 "),
        QStringLiteral("  数量  "),   QStringLiteral(" 原价(元) "),
        QStringLiteral(" 优惠(元) "), QStringLiteral(" 总价(元) ")};
    return captions;
}

GoodsTable GoodsTable::fromGoods(const QString& goods) {
    static const QRegularExpression itemEnd(QStringLiteral("\r\n|[\r\n；;]"));
    GoodsTable table;
    for (const QString& part : goods.split(itemEnd)) {
        const QString item = part.trimmed();
        if (item.isEmpty())
            continue;
        const Article article = readArticle(item);
        QStringList row{QString::number(table.rows.size() + 1), article.name};
        if (article.values.isEmpty()) {
            row << QString() << QString() << QString() << QString();
        } else {
            for (int figure = Quantity; figure <= Discount; ++figure)
                row.append(article.texts.value(figure, QStringLiteral("0")));
            row.append(article.values.size() > Total ? article.texts[Total]
                                                     : shortestDecimalText(article.total()));
        }
        table.rows.append(row);

        table.quantity += article.value(Quantity);
        table.discount += article.value(Discount);
        table.total += article.total();
        table.freight += article.value(Freight);
    }
    return table;
}

QString GoodsTable::summary() const {
    return QStringLiteral("数量：") + shortestDecimalText(quantity) + QStringLiteral("  优惠：") +
           shortestDecimalText(discount) + QStringLiteral("元  总价：") +
           shortestDecimalText(total) + QStringLiteral("元  运费：") +
           shortestDecimalText(freight) + QStringLiteral("元");
}

QString GoodsTable::capitalAmount() const {
    return isWritableInCapitals(total) ? ToCapitalAmount(total) : capitalsRangeText();
}

} // namespace mldd
