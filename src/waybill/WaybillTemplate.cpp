#include "WaybillTemplate.h"

#include "PageModel.h"
#include "TemplateFiles.h"

#include <QImageReader>

namespace mldd {

namespace {

const QString kLocation = QStringLiteral("LoadTemplate");

std::optional<QSizeF> paperOf(const QString& picturePath) {
    QImageReader reader(picturePath);
    const QImage picture = reader.read();
    if (picture.isNull() || picture.dotsPerMeterX() <= 0 || picture.dotsPerMeterY() <= 0)
        return std::nullopt;
    const double twipsPerMetre = kTwipsPerInch / 0.0254;
    const QSizeF paper(picture.width() * twipsPerMetre / picture.dotsPerMeterX(),
                       picture.height() * twipsPerMetre / picture.dotsPerMeterY());
    if (!isPosition(paper.width()) || !isPosition(paper.height()))
        return std::nullopt; // a resolution that makes no paper
    return paper;
}

} // namespace

std::optional<WaybillTemplate> WaybillTemplate::load(const DataFolder& folder, const QString& name,
                                                     const ErrorLog& log) {
    const TemplateFiles files(folder, name);
    if (!files.exists())
        return std::nullopt;
    WaybillTemplate result;
    result.name = name;
    const LayoutLoad layout = files.loadLayout();
    if (layout.ok())
        result.items = ItemRecord::parseLayout(layout.layout);
    else
        log.append(kLocation, ErrorLog::BadFormat, layout.error);
    result.customItems = CustomItems::load(files.customItemsPath());
    result.backgroundPath = files.backgroundPath();
    result.paper = paperOf(result.backgroundPath).value_or(kDefaultPaper);
    return result;
}

const WaybillTemplate* WaybillTemplates::find(const QString& name, const QString& senderId) {
    const QString chosen = name.isEmpty() ? m_lastBySender.value(senderId) : name;
    if (chosen.isEmpty())
        return nullptr;
    auto found = m_loaded.constFind(chosen);
    if (found == m_loaded.constEnd()) {
        std::optional<WaybillTemplate> loaded = WaybillTemplate::load(m_folder, chosen, m_log);
        if (!loaded)
            return nullptr;
        found =
            m_loaded.insert(chosen, std::make_shared<const WaybillTemplate>(std::move(*loaded)));
    }
    m_lastBySender.insert(senderId, chosen);
    return found->get();
}

} // namespace mldd
