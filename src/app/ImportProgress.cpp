#include "ImportProgress.h"

#include "NoticeBox.h"

#include "spreadsheet/ImportRun.h"

#include <QProgressDialog>
#include <QTimer>

namespace mldd {

namespace {
constexpr int kRowsPerSlice = 250;
}

ImportProgress::ImportProgress(std::unique_ptr<ImportRun> run, QWidget* window)
    : m_run(std::move(run)), m_window(window), m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &ImportProgress::runSlice);
}

ImportProgress::~ImportProgress() {
    delete m_dialog;
}

void ImportProgress::start() {
    m_dialog = new QProgressDialog(QStringLiteral("正在导入订单……"), QStringLiteral("取消"), 0,
                                   m_run->rowCount(), m_window);
    m_dialog->setWindowTitle(QStringLiteral("Excel提取编辑"));
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
    m_timer->start();
}

void ImportProgress::runSlice() {
    if (m_dialog->wasCanceled()) {
        end(true);
        return;
    }
    const bool more = m_run->step(kRowsPerSlice);
    m_dialog->setValue(m_run->rowsDone());
    if (more)
        m_timer->start();
    else
        end(false);
}

void ImportProgress::end(bool cancelled) {
    m_dialog->hide();
    QString countsLine;
    QList<Notice> notices;
    if (cancelled) {
        m_run->cancel();
        countsLine = QStringLiteral("导入已取消，订单没有改动。");
    } else {
        std::variant<ImportCount, Notice> finished = m_run->finish();
        if (auto* count = std::get_if<ImportCount>(&finished)) {
            countsLine = count->countsLine();
            notices = count->notices();
        } else {
            notices.append(std::get<Notice>(finished));
        }
    }
    m_run.reset();
    for (const Notice& notice : notices)
        showNotice(m_window, notice);
    emit finished(countsLine);
}

} // namespace mldd
