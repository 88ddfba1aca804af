#pragma once

#include <QString>
#include <QUrl>

namespace mldd {

/** The service's answer to a decode-file request, read from the first four characters. */
struct DecodeDownload {
    enum class Kind {
        Found, // "[YE]" (a refresh: "[YN]"): version and decode text
        None,  // "[NO]": no decode file for this kind of page yet (a refresh: "[NN]", no newer one)
        Blocked, // "[BL]": this kind of page holds no buyer addresses
        Failed,  // anything else, or no reply: treated as a missing decode file
    };

    Kind kind = Kind::Failed;
    QString version;
    QString decodeText;

    static DecodeDownload fromReply(const QString& reply);

    /** The download request for a page key. */
    static QUrl requestUrl(const QString& serviceBase, const QString& programVersion,
                           const QString& pageKey);

    /** The request for a version newer than `currentVersion`. */
    static QUrl refreshUrl(const QString& serviceBase, const QString& programVersion,
                           const QString& pageKey, const QString& currentVersion);
};

} // namespace mldd
