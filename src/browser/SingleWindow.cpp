#include "SingleWindow.h"

namespace mldd {

SingleWindow::SingleWindow(const DataFolder& folder) : m_folder(folder), m_lock(folder) {}

bool SingleWindow::claim(const QString& command) {
    // Twice: the window that held the folder may end between the lock and the sending.
    HandOver::Reply undelivered;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DataFolderLock::Take taken = m_lock.take();
        if (taken != DataFolderLock::Take::HeldByOther) {
            // A folder that cannot hold the lock file is read-only: nothing is written into it.
            const QString socket = HandOver::socketPath(m_folder);
            QString error;
            if (m_server.listen(socket, &error)) {
                m_lock.publish(socket);
            } else {
                // Later starts learn at once that they cannot reach this window.
                m_lock.publish(HandOver::kNoSocket);
                m_socketRefusal = error;
            }
            return true;
        }
        const HandOver::Reply reply = HandOver::sendToWindow(m_folder, command, {}, kWaitMs);
        if (reply.delivered) {
            m_exitCode = reply.ok ? 0 : 1;
            if (!reply.ok)
                m_notice = Notice{reply.message};
            return false;
        }
        undelivered = reply;
        if (reply.running)
            break;
    }
    m_exitCode = 1;
    m_notice = Notice{undelivered.undeliveredText(m_folder), QStringLiteral("墨岚打单"),
                      Notice::Icon::Exclamation};
    return false;
}

} // namespace mldd
