#pragma once

#include "ContentFolder.h"
#include "HttpReply.h"

#include <QMap>

#include <optional>

namespace mldd::service {

/**
 * The decode files the service hands out: code/<page key>.dat with its version in
 * code/<page key>.ver, and code/blocked.txt naming page kinds without buyer addresses.
 */
class DecodeFiles {
public:
    explicit DecodeFiles(const ContentFolder& content) : m_content(content) {}

    /** code_down.asp?f=KEY: "[YE]" version "|" text, "[BL]" or "[NO]". */
    HttpReply download(const QMap<QString, QString>& query) const;

    /** Code_refresh.asp?f=KEY&v=VERSION: "[YN]" version "|" text when newer, else "[NN]". */
    HttpReply refresh(const QMap<QString, QString>& query) const;

    /** refreshcode.html: one line "KEY|VERSION" per decode file, sorted by key. */
    HttpReply idList() const;

private:
    /** The page key parameter, or a 400 reply when it is missing or no plain file name. */
    static std::optional<HttpReply> checkKey(const QString& key);
    QString version(const QString& key) const;
    bool isBlocked(const QString& key) const;

    const ContentFolder& m_content;
};

} // namespace mldd::service
