#include "Favourites.h"

#include "core/LocationCode.h"
#include "core/SettingsFile.h"

namespace mldd {

namespace {
const QString kEntry = QStringLiteral("[IE]");
const QString kSplit = QStringLiteral("{IEF}");

Notice refusal(const QString& text) {
    return Notice{text, QStringLiteral("墨岚打单"), Notice::Icon::Critical, Notice::Buttons::Ok};
}
} // namespace

Favourites Favourites::fromLine(const QString& line) {
    Favourites favourites;
    const QStringList pieces = line.split(kEntry);
    favourites.m_closeAfterCapture = pieces.value(0).trimmed() == QStringLiteral("1");
    for (qsizetype i = 1; i < pieces.size() && favourites.m_list.size() < kPlaces; ++i) {
        const qsizetype split = pieces.at(i).indexOf(kSplit);
        if (split < 0)
            continue;
        Favourite favourite{pieces.at(i).left(split), pieces.at(i).mid(split + kSplit.size())};
        if (!favourite.title.isEmpty() && !favourite.address.isEmpty())
            favourites.m_list.append(favourite);
    }
    return favourites;
}

QString Favourites::toLine() const {
    QString line = m_closeAfterCapture ? QStringLiteral("1") : QStringLiteral("0");
    for (const Favourite& favourite : m_list)
        line += kEntry + favourite.title + kSplit + favourite.address;
    return line;
}

Favourites Favourites::load(const DataFolder& folder, const ErrorLog& log) {
    const QString path = folder.file(QStringLiteral("code/IE.txt"));
    Favourites favourites =
        fromLine(readSettingsFile(path, log, LocationCode::Favourites).join(QString()));
    favourites.m_path = path;
    favourites.m_log = log;
    return favourites;
}

std::optional<Notice> Favourites::add(const Favourite& favourite) {
    if (favourite.title.trimmed().isEmpty())
        return refusal(QStringLiteral("标题不能空！"));
    if (favourite.address.trimmed().isEmpty())
        return refusal(QStringLiteral("链接不能空！"));
    if (m_list.size() >= kPlaces)
        return refusal(QStringLiteral("最多收藏10个！请删除没有的，再收藏！"));
    // The markers and line ends would break the one-line file apart.
    const auto clean = [](QString text) {
        return text.remove(kEntry).remove(kSplit).remove(u'\r').remove(u'\n').trimmed();
    };
    m_list.append({clean(favourite.title), clean(favourite.address)});
    if (save())
        return std::nullopt;
    m_list.removeLast();
    return refusal(QStringLiteral("收藏没有保存，请检查数据文件夹。"));
}

bool Favourites::remove(int index) {
    if (index < 0 || index >= m_list.size())
        return false;
    m_list.removeAt(index);
    return save();
}

Notice Favourites::removeQuestion() {
    return Notice{QStringLiteral("确定要删除吗?"), QStringLiteral("墨岚打单"),
                  Notice::Icon::Exclamation, Notice::Buttons::YesNo};
}

bool Favourites::setCloseAfterCapture(bool close) {
    m_closeAfterCapture = close;
    return save();
}

bool Favourites::save() const {
    return writeSettingsFile(m_path, {toLine()}, m_log, LocationCode::Favourites);
}

} // namespace mldd
