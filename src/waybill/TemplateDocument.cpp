#include "TemplateDocument.h"

#include "DesignerNotices.h"
#include "FormPicture.h"
#include "ItemChangeCommand.h"
#include "ItemInsertCommand.h"
#include "RecordFields.h"
#include "TemplateFiles.h"

#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace mldd {

namespace {

constexpr int kElementsPerView = 41;
constexpr double kLeastPaperMm = 20;
constexpr double kMostPaperMm = 1000;

bool sameValue(const ItemValue& a, const ItemValue& b) {
    if (a.index() != b.index())
        return false;
    if (const auto* record = std::get_if<QString>(&a))
        return *record == std::get<QString>(b);
    return std::get<CustomItem>(a).toRecord() == std::get<CustomItem>(b).toRecord();
}

Notice failure(const QString& name, const QString& why) {
    return Notice{QStringLiteral("快递单据模版-%1 保存失败：%2").arg(name, why),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

} // namespace

TemplateDocument::TemplateDocument(DataFolder folder, QString name)
    : m_folder(std::move(folder)), m_name(std::move(name)) {}

TemplateDocument::Opened TemplateDocument::open(const DataFolder& folder, const QString& name) {
    Opened opened;
    const TemplateFiles files(folder, name);
    if (!files.hasSafeName()) {
        opened.notices.append(DesignerNotices::badName(name));
        return opened;
    }
    if (!files.exists()) {
        opened.notices.append(TemplateFiles::missingNotice(name));
        return opened;
    }
    std::unique_ptr<TemplateDocument> document(new TemplateDocument(folder, name));
    const LayoutLoad layout = files.loadLayout();
    if (layout.ok()) {
        QStringList records = layout.layout.isEmpty()
                                  ? QStringList()
                                  : layout.layout.split(ItemRecord::kRecordSeparator);
        for (const QString& record :
             records.first(std::min<qsizetype>(records.size(), kElementsPerView)))
            document->m_records.append(ItemRecord::parse(record));
        document->m_beyondView = records.mid(kElementsPerView);
        document->m_savedLayout = layout.layout;
    } else {
        document->m_layoutUnreadable = true;
        opened.notices.append(DesignerNotices::unreadableLayout(name, layout.error));
    }
    document->m_custom = CustomItems::load(files.customItemsPath());
    document->m_savedCustom = document->customText();
    document->m_picturePath = files.backgroundPath();
    auto picture = FormPicture::read(document->m_picturePath);
    if (QImage* image = std::get_if<QImage>(&picture)) {
        document->m_picture = std::move(*image);
        document->m_paper =
            FormPicture::paperOf(document->m_picture).value_or(WaybillTemplate::kDefaultPaper);
    } else {
        opened.notices.append(std::get<Notice>(picture));
    }
    opened.document = std::move(document);
    return opened;
}

TemplateDocument::Opened TemplateDocument::fromPicture(const DataFolder& folder,
                                                       const QString& name,
                                                       const QString& picturePath,
                                                       const QSizeF& millimetres) {
    Opened opened;
    if (!TemplateFiles::isSafeName(name)) {
        opened.notices.append(DesignerNotices::badName(name));
        return opened;
    }
    const auto fits = [](double mm) { return mm >= kLeastPaperMm && mm <= kMostPaperMm; };
    if (!fits(millimetres.width()) || !fits(millimetres.height())) {
        opened.notices.append(DesignerNotices::badPaper());
        return opened;
    }
    auto picture = FormPicture::read(picturePath);
    if (const Notice* refused = std::get_if<Notice>(&picture)) {
        opened.notices.append(*refused);
        return opened;
    }
    std::unique_ptr<TemplateDocument> document(new TemplateDocument(folder, name));
    document->m_picture = FormPicture::fittedToPaper(std::get<QImage>(picture), millimetres);
    document->m_pictureUnsaved = true;
    document->m_paper = millimetres * kTwipsPerMillimetre;
    document->m_custom = CustomItems::load(QString());
    opened.document = std::move(document);
    return opened;
}

bool TemplateDocument::isModified() const {
    return !m_undo.isClean() || m_pictureUnsaved;
}

QList<ItemRef> TemplateDocument::items() const {
    QList<ItemRef> refs;
    for (int i = 0; i < layoutCount(); ++i)
        refs.append(ItemRef::layout(i));
    for (int i = 0; i < m_custom.size(); ++i)
        refs.append(ItemRef::custom(i));
    return refs;
}

ItemValue TemplateDocument::value(ItemRef ref) const {
    if (ref.kind == ItemRef::Kind::Layout)
        return m_records.at(ref.index).text;
    return m_custom.at(ref.index);
}

std::optional<QRectF> TemplateDocument::box(ItemRef ref) const {
    if (ref.kind == ItemRef::Kind::Custom) {
        const CustomItem& item = m_custom.at(ref.index);
        return QRectF(item.left, item.top, item.width, item.height);
    }
    const ItemRecord& record = m_records.at(ref.index);
    if (!record.left || !record.top || !record.width || !record.height)
        return std::nullopt;
    return QRectF(std::round(*record.left), std::round(*record.top), std::round(*record.width),
                  std::round(*record.height));
}

QString TemplateDocument::caption(ItemRef ref) const {
    if (ref.kind == ItemRef::Kind::Custom)
        return QStringLiteral("自定义项目%1").arg(ref.index + 1, 2, 10, QLatin1Char('0'));
    const ItemRecord& record = m_records.at(ref.index);
    if (!record.caption.isEmpty())
        return record.caption;
    return record.source.isEmpty() ? QStringLiteral("项目%1").arg(ref.index + 1) : record.source;
}

bool TemplateDocument::prints(ItemRef ref) const {
    if (ref.kind == ItemRef::Kind::Custom)
        return m_custom.at(ref.index).prints(ref.index + 1);
    return m_records.at(ref.index).printed;
}

QRectF TemplateDocument::keptOnPaper(const QRectF& box) const {
    QRectF kept = box;
    kept.moveLeft(std::clamp(box.left(), 0.0, std::max(0.0, m_paper.width() - box.width())));
    kept.moveTop(std::clamp(box.top(), 0.0, std::max(0.0, m_paper.height() - box.height())));
    return kept;
}

void TemplateDocument::setBoxes(const QList<std::pair<ItemRef, QRectF>>& boxes, const QString& what,
                                bool nudge) {
    QList<ItemChangeCommand::Change> changes;
    for (const auto& [ref, box] : boxes) {
        ItemValue after = value(ref);
        if (auto* record = std::get_if<QString>(&after)) {
            *record = RecordFields::withBox(*record, box);
        } else {
            CustomItem& item = std::get<CustomItem>(after);
            item.left = std::round(box.left());
            item.top = std::round(box.top());
            item.width = std::round(box.width());
            item.height = std::round(box.height());
        }
        if (!sameValue(after, value(ref)))
            changes.append({ref, value(ref), after});
    }
    if (!changes.isEmpty())
        m_undo.push(
            new ItemChangeCommand(*this, changes, what, nudge ? ItemChangeCommand::kNudge : -1));
}

void TemplateDocument::setValue(ItemRef ref, const ItemValue& after, const QString& what) {
    if (!sameValue(after, value(ref)))
        m_undo.push(new ItemChangeCommand(*this, {{ref, value(ref), after}}, what));
}

std::optional<Notice> TemplateDocument::addItem(const ItemSource& source, const QRectF& box) {
    if (layoutCount() >= kElementsPerView)
        return DesignerNotices::tooManyItems();
    m_undo.push(new ItemInsertCommand(
        *this, layoutCount(), RecordFields::make(source.caption, source.source, keptOnPaper(box)),
        false, QStringLiteral("添加 ") + source.caption));
    return std::nullopt;
}

void TemplateDocument::removeItem(int index) {
    m_undo.push(new ItemInsertCommand(*this, index, m_records.at(index).text, true,
                                      QStringLiteral("删除 ") + caption(ItemRef::layout(index))));
}

void TemplateDocument::apply(ItemRef ref, const ItemValue& value) {
    if (ref.kind == ItemRef::Kind::Layout)
        m_records[ref.index] = ItemRecord::parse(std::get<QString>(value));
    else
        m_custom[ref.index] = std::get<CustomItem>(value);
    emit itemChanged(ref);
}

void TemplateDocument::insertRecord(int index, const QString& record) {
    m_records.insert(index, ItemRecord::parse(record));
    emit itemsReset();
}

void TemplateDocument::takeRecord(int index) {
    m_records.removeAt(index);
    emit itemsReset();
}

QString TemplateDocument::layoutText() const {
    QStringList records;
    for (const ItemRecord& record : m_records)
        records.append(record.text);
    records += m_beyondView;
    return records.join(ItemRecord::kRecordSeparator);
}

QString TemplateDocument::customText() const {
    QStringList records;
    for (const CustomItem& item : m_custom)
        records.append(item.toRecord());
    return records.join(u'\n');
}

std::optional<Notice> TemplateDocument::save() {
    return writeFiles(m_name, false);
}

std::optional<Notice> TemplateDocument::saveAs(const QString& name) {
    if (!TemplateFiles::isSafeName(name))
        return DesignerNotices::badName(name);
    if (name == m_name)
        return save();
    return writeFiles(name, true);
}

bool TemplateDocument::writePicture(const QString& path, QString* error) const {
    if (m_pictureUnsaved)
        return FormPicture::write(m_picture, path, error);
    // The installed picture goes over byte for byte: its resolution tells the paper.
    const std::optional<QByteArray> bytes = TextFile::readBytes(m_picturePath, error);
    return bytes && TextFile::writeBytes(path, *bytes, error);
}

std::optional<Notice> TemplateDocument::writeFiles(const QString& name, bool everyFile) {
    const TemplateFiles files(m_folder, name);
    if (!files.hasSafeName())
        return DesignerNotices::badName(name);
    QString error;
    const QString layout = layoutText();
    const QString custom = customText();
    // The picture first, the layout last: a template whose layout is there has its picture too.
    if (everyFile || m_pictureUnsaved) {
        const QString folder = QFileInfo(files.backgroundPath()).absolutePath();
        if (!QDir().mkpath(folder))
            return failure(name, QStringLiteral("无法创建文件夹 %1").arg(folder));
        if (!writePicture(files.backgroundPath(), &error))
            return failure(name, error);
        m_picturePath = files.backgroundPath();
    }
    if ((everyFile || custom != m_savedCustom) &&
        !CustomItems::save(files.customItemsPath(), m_custom, &error))
        return failure(name, error);
    if (everyFile || layout != m_savedLayout || m_pictureUnsaved) {
        if (m_layoutUnreadable && !everyFile) {
            const QString kept = files.layoutPath() + QStringLiteral(".bak");
            QFile::remove(kept);
            QFile::copy(files.layoutPath(), kept);
        }
        if (!files.saveLayout(layout, &error))
            return failure(name, error);
    }
    m_name = name;
    m_pictureUnsaved = false;
    m_layoutUnreadable = false;
    m_savedLayout = layout;
    m_savedCustom = custom;
    m_undo.setClean();
    emit saved(m_name);
    return std::nullopt;
}

WaybillTemplate TemplateDocument::asTemplate() const {
    WaybillTemplate form;
    form.name = m_name;
    form.items = m_records;
    form.customItems = m_custom;
    form.backgroundPath = m_pictureUnsaved ? QString() : m_picturePath;
    form.paper = m_paper;
    return form;
}

} // namespace mldd
