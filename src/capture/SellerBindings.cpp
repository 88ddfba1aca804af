#include "SellerBindings.h"

#include "core/LocationCode.h"
#include "core/SettingsFile.h"

#include <QFile>

namespace mldd {

namespace {
QString entryHead(const QString& captured) {
    return QStringLiteral("[1]") + captured + QStringLiteral("[2]");
}
} // namespace

SellerBindings SellerBindings::load(const DataFolder& folder, const ErrorLog& log) {
    SellerBindings bindings;
    bindings.m_text = readSettingsFile(path(folder), log, LocationCode::Capture).join(QString());
    return bindings;
}

QString SellerBindings::resolve(const QString& captured) const {
    const QString head = entryHead(captured);
    const qsizetype at = m_text.indexOf(head);
    if (at < 0)
        return captured;
    const qsizetype from = at + head.size();
    const qsizetype end = m_text.indexOf(QStringLiteral("[3]"), from);
    return end < 0 ? captured : m_text.mid(from, end - from);
}

bool SellerBindings::bind(const QString& captured, const QString& bound, const DataFolder& folder,
                          const ErrorLog& log) {
    const QString head = entryHead(captured);
    const qsizetype at = m_text.indexOf(head);
    if (at >= 0) {
        const qsizetype end = m_text.indexOf(QStringLiteral("[3]"), at);
        m_text.remove(at, end < 0 ? m_text.size() - at : end + 3 - at);
    }
    m_text += head + bound + QStringLiteral("[3]");
    return writeSettingsFile(path(folder), {m_text}, log, LocationCode::Capture);
}

QString SellerBindings::clear(const DataFolder& folder) {
    QFile::remove(path(folder));
    return QStringLiteral("我的ID绑定已经清空！");
}

QString SellerBindings::path(const DataFolder& folder) {
    return folder.file(QStringLiteral("idlist.dat"));
}

} // namespace mldd
