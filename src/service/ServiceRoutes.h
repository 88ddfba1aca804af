#pragma once

#include "ContentFolder.h"
#include "DecodeFiles.h"
#include "HttpReply.h"
#include "HttpRequest.h"
#include "TemplateBoard.h"
#include "VersionGate.h"

namespace mldd::service {

/** Maps each request path of the service to the part that answers it. */
class ServiceRoutes {
public:
    explicit ServiceRoutes(const QString& contentPath);

    const ContentFolder& content() const { return m_content; }

    HttpReply answer(const HttpRequest& request) const;

private:
    /** A file below `folder` ("help", "board"); a folder's own path gives its index.html. */
    HttpReply staticFile(const QString& folder, QString relative) const;
    /** samples/NAME.html: a sample order page's text shown as a web page. */
    HttpReply samplePage(const QString& name) const;

    ContentFolder m_content;
    DecodeFiles m_decodeFiles;
    TemplateBoard m_board;
    VersionGate m_gate;
};

} // namespace mldd::service
