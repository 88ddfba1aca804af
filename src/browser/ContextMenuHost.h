#pragma once

#include "core/DataFolder.h"
#include "core/Notice.h"

#include <QStringList>

namespace mldd {

/**
 * The system browser's context-menu entry 墨岚打单: a browser extension whose
 * entry sends the page to mldd-do by native messaging. Installing writes, for
 * the current user, the native-messaging host manifests of Chromium, Chrome
 * and Firefox and the small script they start (mldd-do on this data folder).
 */
namespace ContextMenuHost {

inline const QString kHostName = QStringLiteral("com.molan.mldd");
/** Fixed by the public key in the extension's manifest. */
inline const QString kChromiumExtension =
    QStringLiteral("chrome-extension://goljiehjbpakmgjoapnkniocnkjnkfbk/");
inline const QString kFirefoxExtension = QStringLiteral("mldd@molan.local");

/** Where the files go: the user's configuration and home folders. */
struct Places {
    QString configHome; // $XDG_CONFIG_HOME, else ~/.config
    QString home;

    static Places ofUser();
    QStringList manifestPaths() const;
};

/** What installing did. */
struct Installed {
    bool ok = false;
    QStringList manifests;
    QString script;
    Notice notice;
};

/**
 * Writes the host script into the data folder and the manifests into `places`;
 * `mlddDo` is the launcher's path, `extensionFolder` where the seller loads the extension from.
 */
Installed install(const DataFolder& folder, const QString& mlddDo, const QString& extensionFolder,
                  const Places& places = Places::ofUser());

/** True when mldd-do's arguments are the ones a browser starts a native-messaging host with. */
bool isBrowserStart(const QStringList& arguments);

} // namespace ContextMenuHost
} // namespace mldd
