#pragma once

#include "core/DataFolder.h"
#include "core/Notice.h"

#include <QStringList>

namespace mldd {

/**
 * The system browser's context-menu entry 墨岚打单: a browser extension whose
 * entry sends the page to mldd-do by native messaging. Installing writes, for
 * the current user, the native-messaging host manifests of Chromium, Chrome
 * and Firefox, the small script they start (mldd-do on this data folder), and
 * for a build-tree program the note that makes Chromium install the extension.
 */
namespace ContextMenuHost {

inline const QString kHostName = QStringLiteral("com.molan.mldd");
/** Fixed by the key the extension is signed with (packaging/extension-key.pem). */
inline const QString kChromiumExtensionId = QStringLiteral("pbelplpcjkjhhflgbpleghkhflgmdhnp");
inline const QString kChromiumExtension =
    QStringLiteral("chrome-extension://") + kChromiumExtensionId + u'/';
inline const QString kFirefoxExtension = QStringLiteral("mldd@molan.local");

/** Where the files go: the user's configuration and home folders. */
struct Places {
    QString configHome; // $XDG_CONFIG_HOME, else ~/.config
    QString home;

    static Places ofUser();
    QStringList manifestPaths() const;
    /** Chromium installs the extension a file here names at its next start; Chrome has no such
     * folder per user. */
    QString chromiumExternalExtension() const;
};

/** The extension as a program lays it down: the unpacked folder and the signed file beside it. */
struct Extension {
    QString folder;
    QString packed;          // folder + ".crx", what Chromium and Chrome install
    bool systemWide = false; // the package installed it for every user

    /** The extension of the programs in `programPath` (a build tree or an installed package). */
    static Extension ofProgram(const QString& programPath);
    /** The version in its manifest; empty when the manifest cannot be read. */
    QString version() const;
};

/** What installing did. */
struct Installed {
    bool ok = false;
    QStringList manifests;
    QString script;
    QString externalExtension; // the note for Chromium; empty when the package made it
    Notice notice;
};

/**
 * Writes the host script into the data folder and the manifests into `places`, for
 * the mldd-do and the extension of the programs in `programPath`.
 */
Installed install(const DataFolder& folder, const QString& programPath,
                  const Places& places = Places::ofUser());

/** True when mldd-do's arguments are the ones a browser starts a native-messaging host with. */
bool isBrowserStart(const QStringList& arguments);

} // namespace ContextMenuHost
} // namespace mldd
