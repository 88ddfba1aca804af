#pragma once

#include "ContentFolder.h"
#include "HttpReply.h"

#include <QMap>

namespace mldd::service {

/** fangwei.asp?ver=V: "ERRVER" for programs older than the first line of gate.txt, else "OK". */
class VersionGate {
public:
    explicit VersionGate(const ContentFolder& content) : m_content(content) {}

    HttpReply answer(const QMap<QString, QString>& query) const;

private:
    const ContentFolder& m_content;
};

} // namespace mldd::service
