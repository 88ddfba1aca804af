#pragma once

#include "core/StoreCheck.h"

#include <QObject>

class QThread;

namespace mldd {

struct MainState;

/**
 * Runs the store's daily check and backup on a worker thread once the window is
 * up, or when the seller asks for a backup, so that a year of orders never
 * delays the first page or a print run.
 */
class DailyStoreCheck : public QObject {
    Q_OBJECT

public:
    explicit DailyStoreCheck(QObject* parent = nullptr);
    ~DailyStoreCheck() override;

    /** Starts the check when the day still lacks one and the store is the folder's own file. */
    void startIfDue(const MainState& state);
    /** Starts the check and a backup now (the seller asked), unless one is running. */
    void startNow(const MainState& state);
    bool isRunning() const;

signals:
    /** The check ended; `notice` is what to tell the seller, if anything. */
    void finished(const std::optional<Notice>& notice);

private:
    void start(const MainState& state, bool backupAnyway);

    QThread* m_thread = nullptr;
    StoreCheck::Result m_result;
};

} // namespace mldd
