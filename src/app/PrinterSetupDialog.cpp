#include "PrinterSetupDialog.h"

#include "DigitField.h"
#include "LabelPrinterPanel.h"
#include "NoticeBox.h"

#include "core/MainState.h"
#include "printing/OffsetUnits.h"
#include "printing/PaperRecords.h"
#include "printing/PrintChecks.h"
#include "printing/PrinterSetup.h"
#include "printing/SetupNotices.h"
#include "printing/Spooler.h"

#include <QComboBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace mldd {

namespace {

using PaperRecords::Orientation;

QLabel* explanation(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #555;"));
    return label;
}

} // namespace

PrinterSetupDialog::PrinterSetupDialog(MainState& state, Spooler& spooler, QWidget* parent)
    : QDialog(parent), m_state(state), m_spooler(spooler),
      m_setup(std::make_unique<PrinterSetup>(state.folder, state.log)),
      m_printers(spooler.destinations()), m_systemDefault(spooler.defaultDestination()) {
    setWindowTitle(QStringLiteral("打印机设置"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(createWaybillPart(), 1);
    // The label printers under the shipping lists: the waybill part keeps its width.
    auto* right = new QVBoxLayout;
    right->addWidget(createListPart());
    m_labelPanel = new LabelPrinterPanel(state, spooler, m_printers, this);
    right->addWidget(m_labelPanel);
    layout->addLayout(right, 1);
    // The panel saves the resolution the waybill part shows too, and the paper lists are drawn on.
    connect(m_labelPanel, &LabelPrinterPanel::saved, this, &PrinterSetupDialog::showOffsets);
    connect(m_labelPanel, &LabelPrinterPanel::saved, this, &PrinterSetupDialog::saved);
}

PrinterSetupDialog::~PrinterSetupDialog() = default;

QWidget* PrinterSetupDialog::createWaybillPart() {
    auto* part = new QGroupBox(QStringLiteral("快递单"), this);
    m_waybillPrinter = new QComboBox(part);
    m_waybillPrinter->addItems(m_printers);
    m_waybillPrinter->addItem(PrinterSetup::kPrintToFile);
    m_chosen = m_setup->load().waybillPrinter;
    showChosenWaybillPrinter();
    connect(m_waybillPrinter, &QComboBox::activated, this,
            [this](int index) { chooseWaybillPrinter(m_waybillPrinter->itemText(index)); });

    m_offsetFrame = new QGroupBox(part);
    auto* offsets = new QFormLayout(m_offsetFrame);
    m_horizontalMm = new QLineEdit(m_offsetFrame);
    m_horizontalTwips = new QLineEdit(m_offsetFrame);
    m_verticalMm = new QLineEdit(m_offsetFrame);
    m_verticalTwips = new QLineEdit(m_offsetFrame);
    pairUp(m_horizontalMm, m_horizontalTwips);
    pairUp(m_verticalMm, m_verticalTwips);
    offsets->addRow(QStringLiteral("左右偏移（毫米）："), m_horizontalMm);
    offsets->addRow(QStringLiteral("左右偏移（缇）："), m_horizontalTwips);
    offsets->addRow(explanation(
        QStringLiteral("打印内容向左移动的距离，正数向左移动，负数向右移动，单位毫米。"),
        m_offsetFrame));
    offsets->addRow(QStringLiteral("上下偏移（毫米）："), m_verticalMm);
    offsets->addRow(QStringLiteral("上下偏移（缇）："), m_verticalTwips);
    offsets->addRow(explanation(
        QStringLiteral("打印内容向上移动的距离，正数向上移动，负数向下移动，单位毫米。"),
        m_offsetFrame));
    m_resolution = new QComboBox(part);
    m_resolution->setAccessibleName(QStringLiteral("打印机分辨率"));
    m_resolutionNote = explanation(QString(), part);
    showOffsets();

    m_saveWaybill = new QPushButton(QStringLiteral("保存快递单打印机设置"), part);
    connect(m_saveWaybill, &QPushButton::clicked, this, &PrinterSetupDialog::saveWaybillPrinter);
    auto* layout = new QFormLayout(part);
    layout->addRow(QStringLiteral("快递单打印机："), m_waybillPrinter);
    layout->addRow(m_offsetFrame);
    layout->addRow(QStringLiteral("打印机分辨率："), m_resolution);
    layout->addRow(m_resolutionNote);
    layout->addRow(m_saveWaybill);
    return part;
}

QWidget* PrinterSetupDialog::createListPart() {
    auto* part = new QGroupBox(QStringLiteral("发货单"), this);
    const PrintDefaults defaults = m_setup->load();
    const QStringList record = defaults.paperRecord.split(u'|');
    m_listPrinter = new QComboBox(part);
    m_listPrinter->addItems(m_printers);
    m_listPrinter->setCurrentIndex(m_listPrinter->findText(
        defaults.listPrinter.isEmpty() ? m_systemDefault : defaults.listPrinter));

    m_paper = new QComboBox(part);
    m_paper->addItem(QString());
    for (const PaperRow& paper : PaperRecords::standardPapers(Orientation::Portrait))
        m_paper->addItem(paper.name);
    m_paper->addItem(SetupNotices::kContinuousPaper);
    m_portrait = new QRadioButton(QStringLiteral("纵向"), part);
    m_landscape = new QRadioButton(QStringLiteral("横向"), part);
    m_width = new DigitField(part);
    m_height = new DigitField(part);
    m_copies = new DigitField(part);
    for (DigitField* box : {m_width, m_height, m_copies})
        box->setMaxLength(4);

    // The stored record shows as it was chosen: its paper, orientation, sizes and copies.
    const bool continuous = record.value(0) == PaperRecords::kContinuousName;
    if (defaults.paperChosen)
        m_paper->setCurrentText(continuous ? SetupNotices::kContinuousPaper : record.value(0));
    const bool across = record.value(1).toInt() > record.value(2).toInt();
    (across ? m_landscape : m_portrait)->setChecked(true);
    if (continuous) {
        m_width->setText(record.value(1));
        m_height->setText(record.value(2));
    }
    m_copies->setText(QString::number(PaperRecords::copiesOf(defaults.paperRecord)));
    connect(m_paper, &QComboBox::currentIndexChanged, this,
            &PrinterSetupDialog::showContinuousSizes);
    showContinuousSizes();

    auto* orientation = new QWidget(part);
    auto* orientations = new QHBoxLayout(orientation);
    orientations->setContentsMargins(0, 0, 0, 0);
    orientations->addWidget(m_portrait);
    orientations->addWidget(m_landscape);
    orientations->addStretch();
    m_portrait->setAccessibleName(QStringLiteral("纸张方向：纵向"));
    m_landscape->setAccessibleName(QStringLiteral("纸张方向：横向"));

    m_saveList = new QPushButton(QStringLiteral("保存发货单打印机设置"), part);
    connect(m_saveList, &QPushButton::clicked, this, &PrinterSetupDialog::saveListPrinter);
    auto* layout = new QFormLayout(part);
    layout->addRow(QStringLiteral("发货单打印机："), m_listPrinter);
    layout->addRow(QStringLiteral("纸张类型："), m_paper);
    layout->addRow(QStringLiteral("纸张方向："), orientation);
    layout->addRow(QStringLiteral("有孔纸宽度（毫米）："), m_width);
    layout->addRow(QStringLiteral("有孔纸高度（毫米）："), m_height);
    layout->addRow(QStringLiteral("打印份数："), m_copies);
    layout->addRow(m_saveList);
    return part;
}

void PrinterSetupDialog::chooseWaybillPrinter(const QString& printer) {
    const auto keepOld = [this] { showChosenWaybillPrinter(); };
    if (const auto refused = PrinterSetup::refusal(printer)) {
        keepOld();
        showNotice(this, *refused);
        return;
    }
    // A printer the seller already said yes to is not asked about again in this window,
    // however often the list reports it chosen (keys, wheel, a pick and then 保存).
    if (printer != PrinterSetup::kPrintToFile && printer != m_systemDefault &&
        !m_confirmed.contains(printer)) {
        if (!showNotice(this, SetupNotices::notDefaultQuestion())) {
            keepOld();
            return;
        }
        m_confirmed.insert(printer);
    }
    if (const auto failed = m_setup->chooseWaybillPrinter(printer)) {
        keepOld();
        showNotice(this, *failed);
        return;
    }
    m_chosen = printer;
    m_waybillPrinter->setCurrentIndex(m_waybillPrinter->findText(printer));
    showOffsets();
    m_state.printDefaults = m_setup->load();
    emit saved();
}

void PrinterSetupDialog::showChosenWaybillPrinter() {
    // Nothing chosen yet: the system's default printer is shown, and 保存 takes it unasked.
    m_waybillPrinter->setCurrentIndex(
        m_waybillPrinter->findText(m_chosen.isEmpty() ? m_systemDefault : m_chosen));
}

void PrinterSetupDialog::showOffsets() {
    m_offsetFrame->setTitle(m_chosen.isEmpty() ? QStringLiteral("打印内容偏移设置")
                                               : SetupNotices::offsetFrameTitle(m_chosen));
    const PrinterOffsets offsets = m_setup->offsets(m_chosen).value_or(PrinterOffsets{});
    m_horizontalTwips->setText(QString::number(offsets.horizontal));
    m_horizontalMm->setText(OffsetUnits::millimetresFromTwips(offsets.horizontal));
    m_verticalTwips->setText(QString::number(offsets.vertical));
    m_verticalMm->setText(OffsetUnits::millimetresFromTwips(offsets.vertical));
    showResolution();
}

void PrinterSetupDialog::showResolution() {
    const int told = m_chosen.isEmpty() ? 0 : PrintChecks::toldResolution(m_spooler, m_chosen);
    m_resolution->clear();
    QList<int> offered = PrinterSetup::kResolutions;
    if (told > 0 && !offered.contains(told))
        offered.append(told);
    for (int dotsPerInch : offered)
        m_resolution->addItem(QStringLiteral("%1 dpi").arg(dotsPerInch), dotsPerInch);
    const int shown = told > 0 ? told : m_setup->resolution(m_chosen).value_or(kDefaultDotsPerInch);
    m_resolution->setCurrentIndex(m_resolution->findData(shown));
    // What the printer tells is what it prints at: nothing to choose then.
    m_resolution->setEnabled(told == 0);
    m_resolutionNote->setText(
        told > 0 ? QStringLiteral("打印机报告了它的分辨率，条码按它排版。")
                 : QStringLiteral("打印机没有报告分辨率：请选择它的分辨率，条码按它排版，"
                                  "不然扫不出来（热敏快递单打印机多为203 dpi）。"));
}

void PrinterSetupDialog::pairUp(QLineEdit* millimetres, QLineEdit* twips) {
    millimetres->setValidator(new QDoubleValidator(-10000, 10000, 2, millimetres));
    twips->setValidator(new QIntValidator(-566000, 566000, twips));
    connect(millimetres, &QLineEdit::textEdited, this, [millimetres, twips](const QString& text) {
        const QString shown = OffsetUnits::withLeadingZero(text);
        if (shown != text)
            millimetres->setText(shown);
        if (const std::optional<int> value = OffsetUnits::twipsFromMillimetres(shown))
            twips->setText(QString::number(*value));
    });
    connect(twips, &QLineEdit::textEdited, this, [millimetres](const QString& text) {
        millimetres->setText(OffsetUnits::millimetresFromTwips(text.toInt()));
    });
}

void PrinterSetupDialog::saveWaybillPrinter() {
    if (m_printers.isEmpty()) {
        showNotice(this, SetupNotices::noPrinterInstalled());
        return;
    }
    // Nothing chosen yet: the printer the list shows is chosen first, with its checks.
    if (m_chosen.isEmpty())
        chooseWaybillPrinter(m_waybillPrinter->currentText());
    if (m_chosen.isEmpty())
        return;
    // Empty boxes count as 0; the millimetres are what the seller reads and types.
    const PrinterOffsets offsets{
        OffsetUnits::twipsFromMillimetres(m_horizontalMm->text()).value_or(0),
        OffsetUnits::twipsFromMillimetres(m_verticalMm->text()).value_or(0)};
    if (const auto failed = m_setup->chooseWaybillPrinter(m_chosen)) {
        showNotice(this, *failed);
        return;
    }
    if (!m_setup->saveOffsets(m_chosen, offsets) ||
        (m_resolution->isEnabled() &&
         !m_setup->saveResolution(m_chosen, m_resolution->currentData().toInt()))) {
        showNotice(this, SetupNotices::notSaved());
        return;
    }
    showOffsets();
    m_state.printDefaults = m_setup->load();
    emit saved();
    showNotice(this, SetupNotices::waybillPrinterSaved(m_chosen));
}

void PrinterSetupDialog::saveListPrinter() {
    SetupNotices::ListPaperChoice choice;
    choice.printer = m_listPrinter->currentText();
    choice.paper = m_paper->currentText();
    choice.orientation = m_landscape->isChecked() ? Orientation::Landscape : Orientation::Portrait;
    choice.widthMm = m_width->text();
    choice.heightMm = m_height->text();
    choice.copies = m_copies->text();
    std::variant<QString, Notice> record = SetupNotices::paperRecord(choice);
    if (auto* refused = std::get_if<Notice>(&record)) {
        showNotice(this, *refused);
        return;
    }
    if (!m_setup->saveListPrinter(choice.printer, std::get<QString>(record))) {
        showNotice(this, SetupNotices::notSaved());
        return;
    }
    m_state.printDefaults = m_setup->load();
    emit saved();
    showNotice(this, SetupNotices::listPrinterSaved(choice));
}

void PrinterSetupDialog::showContinuousSizes() {
    const bool continuous = m_paper->currentText() == SetupNotices::kContinuousPaper;
    m_width->setEnabled(continuous);
    m_height->setEnabled(continuous);
}

} // namespace mldd
