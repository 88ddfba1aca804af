#include "WaybillTemplate.h"

#include "FormPicture.h"
#include "TemplateFiles.h"

namespace mldd {

namespace {

const QString kLocation = QStringLiteral("LoadTemplate");

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
        log.append(kLocation, ErrorLog::BadFormat, result.layoutError = layout.error);
    result.customItems = CustomItems::load(files.customItemsPath());
    result.backgroundPath = files.backgroundPath();
    const auto picture = FormPicture::read(result.backgroundPath);
    if (const QImage* image = std::get_if<QImage>(&picture))
        result.paper = FormPicture::paperOf(*image).value_or(kDefaultPaper);
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
