#pragma once

#include <QByteArray>
#include <QString>

namespace mldd::service {

/** The folder the service answers from; nothing outside it is ever read. */
class ContentFolder {
public:
    enum class Lookup { Found, Missing, Refused };

    explicit ContentFolder(const QString& path);

    /** False when the folder does not exist. */
    bool isValid() const { return !m_root.isEmpty(); }
    QString root() const { return m_root; }

    /**
     * Finds the file at `relative` ("help/index.html"). Refused when a segment is
     * empty, ".", ".." or holds a backslash; Missing when there is no such file
     * or it resolves (through a link) to a place outside the folder.
     */
    Lookup find(const QString& relative, QString* path) const;

    /** The bytes of the file at `relative`, found as `find` does; Missing also when unreadable. */
    Lookup readBytes(const QString& relative, QByteArray* bytes) const;

    /** The file's text (UTF-8, else GBK), line ends kept. */
    Lookup readText(const QString& relative, QString* text) const;

    /** One plain path segment: not empty, not "." or "..", no "/", "\" or NUL. */
    static bool isPlainName(const QString& name);

private:
    QString m_root; // canonical, without a trailing "/"
};

} // namespace mldd::service
