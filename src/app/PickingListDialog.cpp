#include "PickingListDialog.h"

#include "FileChooser.h"
#include "NoticeBox.h"
#include "PagedPreview.h"
#include "PrintPreviewDialog.h"
#include "WaybillPreview.h"

#include "core/MainState.h"
#include "core/PrintDefaults.h"
#include "printing/LabelSettings.h"
#include "printing/PrintJob.h"
#include "printing/PrinterSetup.h"
#include "printing/Spooler.h"
#include "shiplist/PickingListPages.h"
#include "waybill/PagedOutput.h"
#include "waybill/TextMetrics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mldd {

namespace {

// An A4 page beside the choices, on a 1024x768 screen.
constexpr QSize kRoom{520, 560};

QSize previewSize() {
    PageModel a4;
    a4.size = kPickingListPaper;
    return PrintPreviewDialog::fitted(a4, kRoom);
}

QString jobTitle() {
    return QStringLiteral("拣货单-") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
}

} // namespace

PickingListDialog::PickingListDialog(MainState& state, Spooler& spooler, QList<Order> orders,
                                     QWidget* parent)
    : QDialog(parent), m_state(state), m_spooler(spooler), m_orders(std::move(orders)),
      m_preview(new PagedPreview(previewSize(), this)),
      m_byCourier(new QCheckBox(QStringLiteral("按快递分组"), this)),
      m_printer(new QComboBox(this)), m_print(new QPushButton(QStringLiteral("打印"), this)),
      m_pdf(new QPushButton(QStringLiteral("存为PDF…"), this)) {
    setWindowTitle(QStringLiteral("打印拣货单（%1个订单）").arg(m_orders.size()));
    m_preview->page()->setBackgroundShown(false);
    m_preview->setPagingShown(true);

    // The shipping-list printer is the office printer a picking list goes to; else CUPS's default.
    m_printer->addItems(spooler.destinations());
    const QString listPrinter = PrintDefaults::load(state.folder, state.log).listPrinter;
    const int saved = m_printer->findText(listPrinter);
    m_printer->setCurrentIndex(
        saved >= 0 ? saved : std::max(0, m_printer->findText(spooler.defaultDestination())));
    auto* choices = new QFormLayout;
    auto* printerLabel = new QLabel(QStringLiteral("打印机(&P)："), this);
    printerLabel->setBuddy(m_printer);
    choices->addRow(printerLabel, m_printer);
    choices->addRow(m_byCourier);
    m_print->setEnabled(m_printer->count() > 0);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_print, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_pdf, QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(m_print, &QPushButton::clicked, this, &PickingListDialog::print);
    connect(m_pdf, &QPushButton::clicked, this, &PickingListDialog::saveAsPdf);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_byCourier, &QCheckBox::toggled, this, &PickingListDialog::compose);
    // Each printer has its paper: the preview shows the list as that printer prints it.
    connect(m_printer, &QComboBox::currentIndexChanged, this, &PickingListDialog::compose);

    auto* side = new QVBoxLayout;
    side->addLayout(choices);
    side->addStretch();
    side->addWidget(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_preview);
    layout->addLayout(side);
    compose();
}

void PickingListDialog::compose() {
    TextMetrics metrics;
    const PrinterSetup setup(m_state.folder, m_state.log);
    m_pages = pickingListOf(
        m_orders, m_state.profiles, QDate::currentDate(), m_byCourier->isChecked(), metrics,
        LabelSetup(setup).layoutPaper(m_printer->currentText(), kPickingListPaper));
    m_preview->showPages(m_pages);
}

void PickingListDialog::print() {
    const PrinterSetup setup(m_state.folder, m_state.log);
    CheckedPrinter printer;
    printer.name = m_printer->currentText();
    if (const std::optional<Notice> failed = printOutsideRun(
            m_spooler, setup, printer, m_pages, jobTitle(), QString(), QStringLiteral("拣货单"))) {
        showNotice(this, *failed);
        return;
    }
    showNotice(this,
               Notice{QStringLiteral("拣货单已交给打印机 %1。").arg(m_printer->currentText())});
    accept();
}

void PickingListDialog::saveAsPdf() {
    const QString path =
        FileChooser::saveFile(this, QStringLiteral("拣货单存为PDF"),
                              QDir::home().filePath(jobTitle() + QStringLiteral(".pdf")),
                              QStringLiteral("PDF文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writePdf(path, m_pages, &error)) {
        showNotice(this, Notice{QStringLiteral("拣货单没有保存：") + error,
                                QStringLiteral("墨岚打单"), Notice::Icon::Exclamation});
        return;
    }
    showNotice(this, Notice{QStringLiteral("拣货单已保存：") + path});
}

} // namespace mldd
