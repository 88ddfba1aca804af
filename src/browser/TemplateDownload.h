#pragma once

#include "capture/ServiceClient.h"
#include "core/Notice.h"

#include <QList>

#include <functional>

namespace mldd {

struct MainState;

/** One template ticked on the service's template board: its Name, Id and alt attributes. */
struct BoardChoice {
    QString name;
    QString id;
    /** The six marketplace values, separated by "|". */
    QString alt;
};

/** Downloading courier templates from the template board into Data/Delivery and Delivery_list. */
namespace TemplateDownload {

inline const QString kIdleCaption = QStringLiteral("选择之后点此【下载单据】");
inline const QString kBusyCaption = QStringLiteral("正在下载... ...");

/** The board page, shown in the built-in browser. */
QString boardAddress(const QString& serviceBase);

/** Reads what the board page's script collected: a JSON array of {name, id, alt}. */
QList<BoardChoice> choicesFromJson(const QString& json);

/** What a download did: the messages to show, in order, and the templates now installed. */
struct Result {
    QList<Notice> notices;
    QStringList downloaded;
};

/**
 * Downloads the ticked templates after the service's version gate allowed it.
 * `progress` is told each template's progress line. A name that could leave
 * the template folder is refused; a failed template leaves Delivery_list as it was.
 */
Result downloadSelected(MainState& state, const QList<BoardChoice>& choices,
                        const ServiceClient& service,
                        const std::function<void(const QString&)>& progress = {});

/** Asks the board for one template by name and installs it: an order names a missing one. */
Result downloadById(MainState& state, const QString& name, const ServiceClient& service);

/**
 * The templates of `names` (couriers orders name) to ask the board for: not installed,
 * fit for a file name, and not asked for before while the program runs. From now on they
 * count as asked, so that the runs of a form the board cannot give ask once.
 */
QStringList claimMissing(MainState& state, const QStringList& names);

/** Asks the board for each template of `claimed` (from claimMissing), one request per name. */
Result fetchClaimed(MainState& state, const QStringList& claimed, const ServiceClient& service);

/** Claims the missing templates of `names` and asks the board for them. */
Result fetchMissing(MainState& state, const QStringList& names, const ServiceClient& service);

} // namespace TemplateDownload
} // namespace mldd
