#include "OffsetAdjustDialog.h"

#include "HelpKeys.h"
#include "NoticeBox.h"
#include "PrintPreviewDialog.h"
#include "WaybillPreview.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace mldd {

namespace {

// Room for the form on a 1024x768 screen beside the buttons.
constexpr QSize kGuideRoom{700, 520};

} // namespace

OffsetAdjustDialog::OffsetAdjustDialog(const PrinterSetup& setup, const QString& printer,
                                       const PageModel& page, QWidget* parent)
    : QDialog(parent), m_setup(setup), m_printer(printer), m_view(new WaybillPreview(this)),
      m_rightward(new QLabel(this)), m_downward(new QLabel(this)), m_spacing(new QLabel(this)) {
    setWindowTitle(QStringLiteral("快递单打印偏移调整 ") + printer);
    m_view->setFixedSize(PrintPreviewDialog::fitted(page, kGuideRoom));
    m_view->showPage(page);

    auto* moves = new QGridLayout;
    const auto addButton = [this](const QString& caption) {
        auto* button = new QPushButton(caption, this);
        m_buttons.append(button);
        return button;
    };
    const QList<std::tuple<QString, void (OffsetAdjustment::*)(), int, int>> steps{
        {QStringLiteral("上"), &OffsetAdjustment::up, 0, 1},
        {QStringLiteral("左"), &OffsetAdjustment::left, 1, 0},
        {QStringLiteral("右"), &OffsetAdjustment::right, 1, 2},
        {QStringLiteral("下"), &OffsetAdjustment::down, 2, 1},
        {QStringLiteral("增大行距"), &OffsetAdjustment::widen, 3, 0},
        {QStringLiteral("减小行距"), &OffsetAdjustment::narrow, 3, 2}};
    for (const auto& [caption, change, row, column] : steps) {
        QPushButton* button = addButton(caption);
        connect(button, &QPushButton::clicked, this, [this, change] { adjust(change); });
        moves->addWidget(button, row, column);
    }

    auto* counters = new QGridLayout;
    const QList<std::pair<QString, QLabel*>> labelled{{QStringLiteral("向右（缇）："), m_rightward},
                                                      {QStringLiteral("向下（缇）："), m_downward},
                                                      {QStringLiteral("行距（%）："), m_spacing}};
    for (int i = 0; i < labelled.size(); ++i) {
        auto* caption = new QLabel(labelled[i].first, this);
        caption->setBuddy(labelled[i].second);
        labelled[i].second->setAccessibleName(labelled[i].first);
        counters->addWidget(caption, i, 0);
        counters->addWidget(labelled[i].second, i, 1);
    }

    // The guide's page on offsets: the steps with pictures, and how to read the printed form.
    const QList<std::pair<QString, QString>> helps{
        {QStringLiteral("看看视频帮助"), QStringLiteral("offsets.html#steps")},
        {QStringLiteral("调成什么样？"), QStringLiteral("offsets.html#read")}};
    auto* help = new QHBoxLayout;
    for (const auto& [caption, page] : helps) {
        QPushButton* button = addButton(caption);
        connect(button, &QPushButton::clicked, this,
                [this, page] { HelpKeys::request(this, page); });
        help->addWidget(button);
    }

    QPushButton* save = addButton(QStringLiteral("保存"));
    QPushButton* discard = addButton(QStringLiteral("放弃"));
    connect(save, &QPushButton::clicked, this, &OffsetAdjustDialog::save);
    connect(discard, &QPushButton::clicked, this, &OffsetAdjustDialog::discard);

    auto* side = new QVBoxLayout;
    // The view is moved to match the paper; saving then takes the print back by as much.
    auto* instruction = new QLabel(
        QStringLiteral("照着打出来的那张，把这里的字挪到纸上字所在的位置，再点“保存”："), this);
    instruction->setWordWrap(true);
    side->addWidget(instruction);
    side->addLayout(moves);
    side->addLayout(counters);
    side->addStretch();
    side->addLayout(help);
    side->addWidget(save);
    side->addWidget(discard);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(side);
    showAdjustment();
}

QPushButton* OffsetAdjustDialog::button(const QString& caption) const {
    for (QPushButton* button : m_buttons)
        if (button->text() == caption)
            return button;
    return nullptr;
}

void OffsetAdjustDialog::adjust(void (OffsetAdjustment::*change)()) {
    (m_adjustment.*change)();
    showAdjustment();
}

void OffsetAdjustDialog::showAdjustment() {
    m_rightward->setText(QString::number(m_adjustment.rightward()));
    m_downward->setText(QString::number(m_adjustment.downward()));
    m_spacing->setText(QString::number(m_adjustment.percent()));
    m_view->setPlacement(m_adjustment.viewPlacement());
}

void OffsetAdjustDialog::save() {
    const Notice told = m_adjustment.save(m_setup, m_printer);
    showNotice(this, told);
    if (told.icon == Notice::Icon::Information)
        accept();
}

void OffsetAdjustDialog::discard() {
    const Notice notice = m_adjustment.discard();
    showAdjustment();
    showNotice(this, notice);
    reject();
}

} // namespace mldd
