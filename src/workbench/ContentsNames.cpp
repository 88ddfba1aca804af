#include "ContentsNames.h"

#include "core/TextFile.h"

namespace mldd {

namespace {

const QString kSeparator = QStringLiteral("[NJF]");

} // namespace

QString ContentsNames::filePath(const DataFolder& folder, const QString& senderId) {
    // A sender ID comes from a page or the editor: it must never name a path outside the folder.
    if (senderId.isEmpty() || senderId.contains(u'/') || senderId.contains(u'\\') ||
        senderId.contains(QChar(0)))
        return QString();
    return folder.file(QString(senderId).replace(u':', u';') + QStringLiteral(".njp"));
}

ContentsNames ContentsNames::parse(const QString& line) {
    ContentsNames names;
    const qsizetype separator = line.indexOf(kSeparator);
    if (separator < 0)
        return names;
    const QString head = line.left(separator);
    names.firstOption = head.isEmpty() || head.at(0) == u'0';
    names.defaultName = head.mid(1);
    names.candidates = line.mid(separator + kSeparator.size()).split(u' ', Qt::SkipEmptyParts);
    return names;
}

ContentsNames ContentsNames::load(const DataFolder& folder, const QString& senderId) {
    const QString path = filePath(folder, senderId);
    if (path.isEmpty())
        return {};
    const TextFileContent content = TextFile::read(path);
    return content.ok() ? parse(content.firstLine()) : ContentsNames{};
}

QString ContentsNames::printedFor(const DataFolder& folder, const Order& order) {
    if (!order.buyNjpm.trimmed().isEmpty())
        return order.buyNjpm;
    return load(folder, order.myId).defaultName;
}

QString ContentsNames::toLine() const {
    QString name = defaultName;
    name.replace(u'\r', u' ').replace(u'\n', u' ');
    return (firstOption ? u'0' : u'1') + name + kSeparator + candidates.join(u' ');
}

QStringList ContentsNames::candidatesFromText(const QString& text) {
    QString blanks = text;
    for (const QChar blank : {QChar(0x3000), QChar(u'\r'), QChar(u'\n'), QChar(u'\t')})
        blanks.replace(blank, u' ');
    blanks.replace(QStringLiteral("  "), QStringLiteral(" "));
    blanks.replace(QStringLiteral("  "), QStringLiteral(" "));
    // Runs of blanks beyond what two halvings remove would leave empty names; skip those.
    return blanks.trimmed().split(u' ', Qt::SkipEmptyParts);
}

std::optional<Notice> ContentsNames::save(const DataFolder& folder, const QString& senderId) const {
    if (senderId.isEmpty())
        return Notice{QStringLiteral("请选择发件人ID，再保存!"), QStringLiteral("提示"),
                      Notice::Icon::Exclamation};
    const QString path = filePath(folder, senderId);
    if (path.isEmpty())
        return Notice{
            QStringLiteral("发件人ID[%1]里有“/”或“\\”，不能用作文件名，备选件名没有保存。")
                .arg(senderId),
            QStringLiteral("提示"), Notice::Icon::Exclamation};
    QString error;
    if (!folder.ensureExists(&error) || !TextFile::write(path, {toLine()}, &error))
        return Notice{QStringLiteral("备选件名保存失败：") + error, QStringLiteral("墨岚打单"),
                      Notice::Icon::Exclamation};
    return std::nullopt;
}

void ContentsNames::add(const QString& name) {
    if (name.isEmpty())
        return;
    candidates.removeAll(name);
    candidates.append(name);
}

QString ContentsNames::caption(const QString& senderId) {
    return u'[' + senderId + QStringLiteral("]的备选件名(点击件名选择)");
}

QString ContentsNames::missingNameHint() const {
    return firstOption ? QStringLiteral("请点击上面[设为默认]将当前内件设为此用户默认！")
                       : QStringLiteral("请点击上面[将当前内件设为此用户默认]！");
}

} // namespace mldd
