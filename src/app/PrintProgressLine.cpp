#include "PrintProgressLine.h"

#include "printing/PrintRun.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace mldd {

PrintProgressLine::PrintProgressLine(QWidget* parent)
    : QWidget(parent), m_text(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("取消打印"), this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    layout->addWidget(m_bar, 1);
    layout->addWidget(m_cancel);
    m_bar->setAccessibleName(QStringLiteral("打印进度"));
    m_text->setBuddy(m_bar);
    hide();
}

void PrintProgressLine::follow(PrintRun& run) {
    m_bar->setRange(0, std::max(1, run.total()));
    m_bar->setValue(0);
    m_text->setText(QStringLiteral("正在打印 0/%1").arg(run.total()));
    connect(&run, &PrintRun::progressed, this,
            [this](int done, int total, const QString& orderSign) {
                m_bar->setValue(done);
                m_text->setText(
                    QStringLiteral("正在打印 %1/%2 %3").arg(done).arg(total).arg(orderSign));
            });
    connect(&run, &PrintRun::finished, this, &QWidget::hide);
    disconnect(m_cancel, nullptr, nullptr, nullptr);
    connect(m_cancel, &QPushButton::clicked, &run, &PrintRun::cancel);
    show();
}

} // namespace mldd
