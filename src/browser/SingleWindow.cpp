#include "SingleWindow.h"

namespace mldd {

SingleWindow::SingleWindow(const DataFolder& folder) : m_folder(folder), m_lock(folder) {}

bool SingleWindow::claim(const QString& command) {
    // Twice: the window that held the folder may end between the lock and the sending.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DataFolderLock::Take taken = m_lock.take();
        if (taken != DataFolderLock::Take::HeldByOther) {
            // A folder that cannot hold the lock file is read-only: nothing is written into it.
            const QString socket = HandOver::socketPath(m_folder);
            if (m_server.listen(socket))
                m_lock.publish(socket);
            return true;
        }
        const HandOver::Reply reply = HandOver::sendToWindow(m_folder, command, {}, kWaitMs);
        if (reply.delivered) {
            m_exitCode = reply.ok ? 0 : 1;
            if (!reply.ok)
                m_notice = Notice{reply.message};
            return false;
        }
        if (reply.running)
            break;
    }
    m_exitCode = 1;
    m_notice =
        Notice{QStringLiteral("墨岚打单已经打开了数据文件夹 %1，但是没有响应。\r\n"
                              "请切换到已经打开的墨岚打单窗口；如果找不到它，请结束它后再打开。")
                   .arg(m_folder.dataPath()),
               QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    return false;
}

} // namespace mldd
