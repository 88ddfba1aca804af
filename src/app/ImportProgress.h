#pragma once

#include <QObject>

#include <memory>

class QProgressDialog;
class QTimer;
class QWidget;

namespace mldd {

class ImportRun;

/**
 * Runs an import that the mapping window prepared, after that window has
 * closed: the rows go in slices behind a progress dialog with 取消, so the
 * list stays drawn and the seller can stop it.
 */
class ImportProgress : public QObject {
    Q_OBJECT

public:
    ImportProgress(std::unique_ptr<ImportRun> run, QWidget* window);
    ~ImportProgress() override;

    /** Starts once the event loop runs again. */
    void start();
    QProgressDialog* dialog() const { return m_dialog; }

signals:
    /** The import ended (done, cancelled or failed); its messages were shown. */
    void finished(const QString& countsLine);

private:
    void runSlice();
    void end(bool cancelled);

    std::unique_ptr<ImportRun> m_run;
    QWidget* m_window;
    QProgressDialog* m_dialog = nullptr;
    QTimer* m_timer;
};

} // namespace mldd
