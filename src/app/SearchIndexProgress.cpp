#include "SearchIndexProgress.h"

#include <QApplication>
#include <QProgressDialog>

namespace mldd {

SearchIndexProgress::SearchIndexProgress() = default;

SearchIndexProgress::~SearchIndexProgress() = default;

bool SearchIndexProgress::operator()(qint64 done, qint64 total) {
    if (!m_dialog) {
        m_dialog =
            std::make_shared<QProgressDialog>(QStringLiteral("正在为搜索整理订单，只需要这一次……"),
                                              QStringLiteral("稍后再建"), 0, 100);
        m_dialog->setWindowTitle(QStringLiteral("墨岚打单"));
        m_dialog->setAccessibleName(QStringLiteral("搜索索引进度"));
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoReset(false);
    }
    m_dialog->setValue(total > 0 ? int(done * 100 / total) : 100);
    m_dialog->setLabelText(
        QStringLiteral("正在为搜索整理订单，只需要这一次……\n%1 / %2").arg(done).arg(total));
    QApplication::processEvents();
    if (done >= total)
        m_dialog->close();
    return !m_dialog->wasCanceled();
}

} // namespace mldd
