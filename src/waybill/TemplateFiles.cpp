#include "TemplateFiles.h"

#include "LayoutCheck.h"
#include "LayoutCodec.h"

#include "core/TextFile.h"

#include <QFileInfo>

namespace mldd {

TemplateFiles::TemplateFiles(const DataFolder& folder, const QString& name)
    : m_name(name), m_folder(folder.file(QStringLiteral("Delivery"))) {}

bool TemplateFiles::isSafeName(const QString& name) {
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (QChar c : name)
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20)
            return false;
    return true;
}

QString TemplateFiles::path(const QString& extension) const {
    if (!hasSafeName())
        return QString();
    return DataFolder::resolve(m_folder, m_name + extension);
}

bool TemplateFiles::exists() const {
    return hasSafeName() && QFileInfo(layoutPath()).isFile() &&
           QFileInfo(backgroundPath()).isFile();
}

LayoutLoad TemplateFiles::loadLayout() const {
    LayoutLoad result;
    if (!hasSafeName())
        return result;
    const TextFileContent content = TextFile::read(layoutPath());
    if (content.status == TextFileContent::Status::Missing)
        return result;
    if (!content.ok()) {
        result.status = LayoutLoad::Status::Unreadable;
        result.error = content.error;
        return result;
    }
    return decodeLayout(m_name, content.lines);
}

LayoutLoad TemplateFiles::decodeLayout(const QString& name, const QStringList& lines) {
    QString joined;
    for (const QString& line : lines)
        joined += line;
    LayoutLoad result;
    const std::optional<QString> layout = LayoutCodec::decode(joined);
    const std::optional<QString> cut = layout ? LayoutCheck::cutShort(*layout) : std::nullopt;
    if (!layout || cut) {
        result.status = LayoutLoad::Status::Unreadable;
        result.error = QStringLiteral("快递单据模版-%1 的版面文件无法解读").arg(name);
        if (cut)
            result.error += QStringLiteral("：") + *cut;
        return result;
    }
    result.status = LayoutLoad::Status::Ok;
    result.layout = *layout;
    return result;
}

std::optional<QString> TemplateFiles::unprintable(const QString& name,
                                                  const QList<ItemRecord>& items) {
    if (const std::optional<QString> lacking = LayoutCheck::lacksReceiver(items))
        return QStringLiteral("快递单据模版-%1 不能用来打印：%2").arg(name, *lacking);
    return std::nullopt;
}

bool TemplateFiles::saveLayout(const QString& layout, QString* error) const {
    if (!hasSafeName()) {
        if (error)
            *error = QStringLiteral("快递单据模版名称不正确：%1").arg(m_name);
        return false;
    }
    return TextFile::write(layoutPath(), {LayoutCodec::encode(layout)}, error);
}

std::optional<Notice> TemplateFiles::saveItem(const QString& oldRecord,
                                              const QString& newRecord) const {
    const LayoutLoad load = loadLayout();
    if (load.status == LayoutLoad::Status::Missing)
        return missingNotice(m_name);
    QString error = load.error;
    if (load.ok()) {
        QString layout = load.layout;
        if (!oldRecord.isEmpty())
            layout.replace(oldRecord, newRecord, Qt::CaseSensitive);
        if (saveLayout(layout, &error))
            return std::nullopt;
    }
    Notice notice;
    notice.text = QStringLiteral("快递单据模版-%1 保存失败：%2").arg(m_name, error);
    notice.icon = Notice::Icon::Exclamation;
    return notice;
}

Notice TemplateFiles::missingNotice(const QString& name) {
    Notice notice;
    notice.text = QStringLiteral("快递单据模版-") + name +
                  QStringLiteral(" 文件丢失，点[确定]后,软件将尝试下载！");
    notice.icon = Notice::Icon::Exclamation;
    return notice;
}

} // namespace mldd
