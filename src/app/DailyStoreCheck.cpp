#include "DailyStoreCheck.h"

#include "core/MainState.h"

#include <QThread>

namespace mldd {

DailyStoreCheck::DailyStoreCheck(QObject* parent) : QObject(parent) {}

DailyStoreCheck::~DailyStoreCheck() {
    // The check holds its own connection: the window waits for it rather than cut it off.
    if (m_thread)
        m_thread->wait();
}

void DailyStoreCheck::startIfDue(const MainState& state) {
    if (StoreCheck::isDue(state.folder, QDateTime::currentDateTime()))
        start(state, false);
}

void DailyStoreCheck::startNow(const MainState& state) {
    start(state, true);
}

void DailyStoreCheck::start(const MainState& state, bool backupAnyway) {
    const QDateTime now = QDateTime::currentDateTime();
    if (m_thread || state.database->isServer())
        return;
    const DataFolder folder = state.folder;
    m_thread = QThread::create([this, folder, now, backupAnyway] {
        m_result = StoreCheck::run(folder, now, backupAnyway);
    });
    connect(m_thread, &QThread::finished, this, [this, folder] {
        m_thread->deleteLater();
        m_thread = nullptr;
        emit finished(m_result.notice(folder));
    });
    m_thread->start(QThread::LowPriority);
}

bool DailyStoreCheck::isRunning() const {
    return m_thread != nullptr;
}

} // namespace mldd
