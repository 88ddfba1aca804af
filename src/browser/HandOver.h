#pragma once

#include "HandOverQueue.h"

#include "core/DataFolder.h"

#include <QHash>
#include <QLocalServer>
#include <QObject>

namespace mldd {

/**
 * One running window per user and data folder: the window listens on a local
 * socket that only its user may open; mldd and mldd-do hand their command
 * text (and the page text, when they have it) to it.
 */
namespace HandOver {

/**
 * The socket of a data folder, named after user and folder: in the user's
 * runtime folder, or in the temporary folder when the runtime folder lies too
 * deep for a socket's path.
 */
QString socketPath(const DataFolder& folder);

/** What the window writes into the folder's lock in place of a socket when it could not listen. */
inline const QString kNoSocket = QStringLiteral("-");

/** What handing a command to the running window gave. */
struct Reply {
    bool delivered = false; // a window answered
    bool ok = false;
    QString message;       // why the window refused, when it did
    bool running = false;  // a window holds the data folder
    bool noSocket = false; // it runs without a socket: nothing can reach it

    /** What a start that could not hand its command over tells the seller, by why. */
    QString undeliveredText(const DataFolder& folder) const;
};

/** Sends a command text and, when known, the page text; no window answering is not delivered. */
Reply send(const QString& socketPath, const QString& commandText, const QString& pageText = {},
           int timeoutMs = 5000);

/** Whether a window answers on the socket. */
bool answers(const QString& socketPath);

/**
 * Sends to the window that holds the data folder, found through the folder's
 * lock file. While a window holds the folder but does not answer yet (it is
 * starting), tries again until `waitMs` passed; with `waitForStart`, also
 * while no window holds the folder yet. A window that runs without a socket
 * is told at once.
 */
Reply sendToWindow(const DataFolder& folder, const QString& commandText,
                   const QString& pageText = {}, int waitMs = 0, bool waitForStart = false);

} // namespace HandOver

/**
 * The running window's end of the socket: answers each command at once and
 * passes it on when the window can take it (see HandOverQueue).
 */
class HandOverServer : public QObject {
    Q_OBJECT

public:
    /** A connection that has not sent a whole message by then is dropped. */
    static constexpr int kReadTimeoutMs = 10000;

    explicit HandOverServer(QObject* parent = nullptr);

    /**
     * Listens on the socket; a socket left by a window that ended is replaced.
     * False when another window answers there, or the socket cannot be made.
     */
    bool listen(const QString& socketPath, QString* error = nullptr);

    /** Whether the window can take a command now; until it is set, it always can. */
    void setReady(std::function<bool()> ready) { m_queue.setReady(std::move(ready)); }
    /** How many commands wait for the window. */
    qsizetype waiting() const { return m_queue.waiting(); }

signals:
    /** A command text from mldd or mldd-do, with the page text when the sender had it. */
    void commandReceived(const QString& commandText, const QString& pageText);

private:
    void accept();
    void readFrom(class QLocalSocket* socket);

    QLocalServer m_server;
    HandOverQueue m_queue;
    QHash<QLocalSocket*, QByteArray> m_buffers;
};

} // namespace mldd
