#include "ImportLayout.h"

#include "SheetTable.h"

#include "capture/DecodeFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace mldd {

namespace {

const QString kPrefix = QStringLiteral("Excel");
const QString kRuleMark = QStringLiteral("|||");
const QString kCommentEnd = QStringLiteral("///");
const QString kNotes = QStringLiteral(" Notes:");
const QString kJoin = QStringLiteral(" + ");
const QString kHeaderRow = QStringLiteral("表头行=");
const QString kSender = QStringLiteral("发件人=");
const QString kTemplate = QStringLiteral("快递模板=");
const QString kMarket = QStringLiteral("平台=");

// Marks of the file's own structure cannot stand inside a value.
QString clean(QString text) {
    return text.remove(kRuleMark).remove(kCommentEnd).remove(u'|').remove(u'\r').remove(u'\n');
}

} // namespace

std::optional<ColumnExpression> ColumnExpression::parse(const QString& text) {
    ColumnExpression expression;
    if (text.trimmed().isEmpty())
        return expression;
    for (const QString& part : text.split(u'+')) {
        const int column = CellName::columnOf(part.trimmed());
        if (column < 0)
            return std::nullopt;
        expression.columns.append(column);
    }
    return expression;
}

QString ColumnExpression::text() const {
    return textWithHeader({});
}

QString ColumnExpression::textWithHeader(const QStringList& header) const {
    QStringList names;
    for (int column : columns) {
        const QString title = header.value(column).simplified();
        names.append(title.isEmpty() ? CellName::columnLetters(column)
                                     : CellName::columnLetters(column) + u' ' + title);
    }
    return names.join(kJoin);
}

QString ColumnExpression::evaluate(const QStringList& row, const QString& separator) const {
    QString text;
    for (int column : columns) {
        const QString cell = row.value(column);
        if (!text.isEmpty() && !cell.isEmpty())
            text += separator;
        text += cell;
    }
    return text;
}

QString MappingField::label() const {
    return caption.chopped(2);
}

const QList<MappingField>& ImportLayout::fields() {
    // 序号 is kept as the buyer id, which waybills print, so a parcel leads back to its row;
    // the tracking-number column is read into the tracking number and written back to.
    static const QList<MappingField> fields{
        {QStringLiteral("终到地 ="), 15},        {QStringLiteral("序号 ="), 2},
        {QStringLiteral("买家留言 ="), 13},      {QStringLiteral("买家公司或订单编号 ="), 1},
        {QStringLiteral("买家姓名 ="), 3},       {QStringLiteral("买家电话1 ="), 4},
        {QStringLiteral("买家电话2 ="), 5},      {QStringLiteral("买家邮编 ="), 6},
        {QStringLiteral("收货地址 ="), 11},      {QStringLiteral("商品内容 ="), 12},
        {QStringLiteral("收货省 ="), 8},         {QStringLiteral("收货市 ="), 9},
        {QStringLiteral("收货县 ="), 10},        {QStringLiteral("快递模板 ="), 14},
        {QStringLiteral("快递单号回写至 ="), 7}, {QStringLiteral("快递公司名回写至 ="), -1},
        {QStringLiteral("商品数量 ="), 16},      {QStringLiteral("商品单价 ="), 17},
        {QStringLiteral("商品总价 ="), 18},      {QStringLiteral("商家编码 ="), 19},
        {QStringLiteral("商品规格 ="), 20},      {QStringLiteral("快递公司 ="), 21},
    };
    return fields;
}

int ImportLayout::fieldOf(const QString& labelOrCaption) {
    const QString label =
        labelOrCaption.trimmed().remove(QRegularExpression(QStringLiteral("\\s*=$")));
    for (int i = 0; i < fields().size(); ++i)
        if (fields().at(i).label() == label)
            return i;
    return -1;
}

Notice ImportLayout::checkFailure(const QString& text) {
    return Notice{text, QStringLiteral("Excel提取编辑"), Notice::Icon::Exclamation,
                  Notice::Buttons::Ok};
}

QString ImportLayout::marketFor(const QString& senderId) const {
    const QStringList words = market.split(u'、', Qt::SkipEmptyParts);
    for (const QString& word : words)
        if (senderId.startsWith(word + u':'))
            return word;
    return words.value(0);
}

bool ImportLayout::isGoodsReport() const {
    return expressions.at(Address).isEmpty() && !expressions.at(OrderNumber).isEmpty() &&
           !expressions.at(Goods).isEmpty();
}

std::optional<Notice> ImportLayout::check(const QStringList& installedTemplates) const {
    if (expressions.at(Address).isEmpty() && !isGoodsReport())
        return checkFailure(QStringLiteral("地址不能空，请匹配！"));
    if (installedTemplates.isEmpty() ||
        (!templateName.isEmpty() && !installedTemplates.contains(templateName)))
        return checkFailure(QStringLiteral("请选择快递单模版，如果没有，请先下载模版！"));
    if (sender.trimmed().isEmpty())
        return checkFailure(
            QStringLiteral("[发货人公司\\店名\\ID]不能空，如果选项中没有，请直接填写！"));
    return std::nullopt;
}

void ImportLayout::noteHeaders(const QStringList& headerRow) {
    for (int i = 0; i < kFieldCount; ++i) {
        QStringList texts;
        for (int column : expressions.at(i).columns)
            texts.append(clean(headerRow.value(column)));
        notes[i] = texts.join(kJoin);
    }
}

bool ImportLayout::matchesHeaders(const QStringList& headerRow) const {
    ImportLayout now = *this;
    now.noteHeaders(headerRow);
    bool mapped = false;
    for (int i = 0; i < kFieldCount; ++i) {
        mapped = mapped || !expressions.at(i).isEmpty();
        if (now.notes.at(i) != notes.at(i))
            return false;
    }
    return mapped;
}

QStringList ImportLayout::ruleLines() const {
    QStringList lines{QStringLiteral("墨岚打单Excel提取文件|") + kHeaderRow +
                      QString::number(headerRow) + u'|' + kSender + clean(sender) + u'|' +
                      kTemplate + clean(templateName) + u'|' + kMarket + clean(market)};
    for (int i = 0; i < kFieldCount; ++i) {
        if (expressions.at(i).isEmpty())
            continue;
        const MappingField& field = fields().at(i);
        const QString slot = field.slot < 0 ? QStringLiteral("ERR") : QString::number(field.slot);
        lines.append(kRuleMark + field.label() + kNotes + clean(notes.at(i)) + kCommentEnd + slot +
                     QStringLiteral(" = ") + expressions.at(i).text());
    }
    return lines;
}

ImportLayout ImportLayout::fromRuleText(const QString& name, const QString& text) {
    ImportLayout layout;
    layout.name = name;
    const QStringList parts = text.split(kRuleMark);
    for (const QString& item : parts.value(0).split(u'|')) {
        if (item.startsWith(kHeaderRow))
            layout.headerRow = std::max(1, item.mid(kHeaderRow.size()).toInt());
        else if (item.startsWith(kSender))
            layout.sender = item.mid(kSender.size());
        else if (item.startsWith(kTemplate))
            layout.templateName = item.mid(kTemplate.size());
        else if (item.startsWith(kMarket))
            layout.market = item.mid(kMarket.size());
    }
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString& rule = parts.at(i);
        const qsizetype commentEnd = rule.indexOf(kCommentEnd);
        if (commentEnd < 0)
            continue;
        const QString comment = rule.left(commentEnd);
        const qsizetype notesAt = comment.indexOf(kNotes);
        const int field = fieldOf(notesAt < 0 ? comment : comment.left(notesAt));
        const QString body = rule.mid(commentEnd + kCommentEnd.size());
        const std::optional<ColumnExpression> expression =
            ColumnExpression::parse(body.section(QStringLiteral(" = "), 1));
        if (field < 0 || !expression)
            continue;
        layout.expressions[field] = *expression;
        layout.notes[field] = notesAt < 0 ? QString() : comment.mid(notesAt + kNotes.size());
    }
    return layout;
}

QString ImportLayout::filePath(const DataFolder& folder, const QString& name) {
    return folder.file(QStringLiteral("code/") + DataFolder::safeFileName(kPrefix + name) +
                       QStringLiteral(".dat"));
}

bool ImportLayout::save(const DataFolder& folder, const ErrorLog& log) const {
    return DecodeFiles(folder, log)
        .write(kPrefix + name, QStringLiteral("1"), ruleLines().join(QStringLiteral("\r\n")));
}

std::optional<ImportLayout> ImportLayout::load(const DataFolder& folder, const QString& name,
                                               const ErrorLog& log) {
    const std::optional<QString> text = DecodeFiles(folder, log).read(kPrefix + name);
    if (!text)
        return std::nullopt;
    return fromRuleText(name, *text);
}

QStringList ImportLayout::savedNames(const DataFolder& folder) {
    QStringList names;
    const QDir code(folder.file(QStringLiteral("code")));
    for (const QString& file :
         code.entryList({kPrefix + QStringLiteral("*.dat")}, QDir::Files, QDir::Name))
        names.append(QFileInfo(file).completeBaseName().mid(kPrefix.size()));
    return names;
}

QString ImportLayout::nameFor(const DataFolder& folder, const ErrorLog& log,
                              const QString& workbookPath, const QStringList& headerRow) {
    for (const QString& saved : savedNames(folder)) {
        const std::optional<ImportLayout> layout = load(folder, saved, log);
        if (layout && layout->matchesHeaders(headerRow))
            return saved;
    }
    // Exports of one shop differ by the date and number in their names.
    QString name = QFileInfo(workbookPath).completeBaseName();
    name.remove(QRegularExpression(QStringLiteral("[0-9\\s_\\-()（）\\[\\]【】.]")));
    return name.isEmpty() ? QStringLiteral("表格") : name;
}

} // namespace mldd
