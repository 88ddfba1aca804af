#include "LabelPrinterPanel.h"

#include "NoticeBox.h"

#include "core/MainState.h"
#include "printing/LabelDetection.h"
#include "printing/PaperRecords.h"
#include "printing/PrintChecks.h"
#include "printing/PrintJob.h"
#include "printing/PrinterSetup.h"
#include "printing/Spooler.h"
#include "printing/TestLabel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace mldd {

namespace {

const QString kOwnSize = QStringLiteral("自定义");
const QString kPagesOwnSize = QStringLiteral("按单据尺寸");
const QList<int> kLabelResolutions = {203, 300};

// A spin box's own text field is what a screen reader lands on: it carries the box's name.
void nameSpinBox(QAbstractSpinBox* box, const QString& name) {
    box->setAccessibleName(name);
    if (auto* field = box->findChild<QLineEdit*>())
        field->setAccessibleName(name);
}

QDoubleSpinBox* millimetreBox(double lowest, double highest, const QString& name, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(lowest, highest);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" 毫米"));
    nameSpinBox(box, name);
    return box;
}

} // namespace

LabelPrinterPanel::LabelPrinterPanel(MainState& state, Spooler& spooler,
                                     const QStringList& printers, QWidget* parent)
    : QGroupBox(QStringLiteral("打印机的纸张和打印语言"), parent), m_state(state),
      m_spooler(spooler), m_setup(std::make_unique<PrinterSetup>(state.folder, state.log)) {
    m_printer = new QComboBox(this);
    m_printer->addItems(printers);
    m_printer->setCurrentIndex(std::max(0, m_printer->findText(m_setup->load().waybillPrinter)));
    m_language = new QComboBox(this);
    for (LabelLanguage language : LabelLanguages::all())
        m_language->addItem(LabelLanguages::name(language), int(language));
    m_resolution = new QComboBox(this);
    for (int dotsPerInch : kLabelResolutions)
        m_resolution->addItem(QStringLiteral("%1 dpi").arg(dotsPerInch), dotsPerInch);
    // The papers of the shipping-list set-up, thermal labels among them, by name and size.
    m_size = new QComboBox(this);
    m_size->setAccessibleName(QStringLiteral("纸张"));
    m_size->addItem(kPagesOwnSize);
    for (const PaperRow& paper : PaperRecords::standardPapers(PaperRecords::Orientation::Portrait))
        m_size->addItem(
            QStringLiteral("%1（%2 毫米）")
                .arg(paper.name, LabelLanguages::sizeText(QSizeF(paper.widthMm, paper.heightMm))),
            QSizeF(paper.widthMm, paper.heightMm));
    m_size->addItem(kOwnSize);
    m_width = millimetreBox(10, 1000, QStringLiteral("纸张宽度"), this);
    m_height = millimetreBox(10, 1000, QStringLiteral("纸张高度"), this);
    auto* ownSize = new QWidget(this);
    auto* ownSizes = new QHBoxLayout(ownSize);
    ownSizes->setContentsMargins(0, 0, 0, 0);
    ownSizes->addWidget(m_width);
    ownSizes->addWidget(new QLabel(QStringLiteral("×"), ownSize));
    ownSizes->addWidget(m_height);
    m_sensing = new QComboBox(this);
    m_sensing->addItem(QStringLiteral("间隙"), int(LabelSensing::Gap));
    m_sensing->addItem(QStringLiteral("黑标"), int(LabelSensing::BlackMark));
    m_sensing->setAccessibleName(QStringLiteral("走纸检测"));
    m_gap = millimetreBox(0, 30, QStringLiteral("间隙或黑标高度"), this);
    auto* sensing = new QWidget(this);
    auto* sensings = new QHBoxLayout(sensing);
    sensings->setContentsMargins(0, 0, 0, 0);
    sensings->addWidget(m_sensing);
    sensings->addWidget(m_gap);
    m_darkness = new QSpinBox(this);
    m_darkness->setRange(0, LabelSettings::kMaxDarkness);
    nameSpinBox(m_darkness, QStringLiteral("打印浓度"));
    m_speed = new QSpinBox(this);
    m_speed->setRange(LabelSettings::kMinSpeed, LabelSettings::kMaxSpeed);
    m_speed->setSuffix(QStringLiteral(" 英寸/秒"));
    nameSpinBox(m_speed, QStringLiteral("打印速度"));
    m_note = new QLabel(this);
    m_note->setWordWrap(true);
    // A form row does not grow for wrapped lines: room for the longest note, three lines.
    m_note->setMinimumHeight(3 * m_note->fontMetrics().lineSpacing());
    m_save = new QPushButton(QStringLiteral("保存这台打印机的设置"), this);
    m_test = new QPushButton(QStringLiteral("打印测试标签"), this);

    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("打印机："), m_printer);
    layout->addRow(QStringLiteral("纸张："), m_size);
    layout->addRow(QStringLiteral("自定义尺寸："), ownSize);
    layout->addRow(QStringLiteral("打印语言："), m_language);
    layout->addRow(QStringLiteral("分辨率："), m_resolution);
    layout->addRow(QStringLiteral("走纸检测："), sensing);
    layout->addRow(QStringLiteral("打印浓度："), m_darkness);
    layout->addRow(QStringLiteral("打印速度："), m_speed);
    layout->addRow(m_note);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addWidget(m_test);
    layout->addRow(buttons);

    connect(m_printer, &QComboBox::currentIndexChanged, this, &LabelPrinterPanel::showPrinter);
    connect(m_language, &QComboBox::currentIndexChanged, this,
            &LabelPrinterPanel::enableLabelFields);
    connect(m_size, &QComboBox::currentIndexChanged, this, &LabelPrinterPanel::enableLabelFields);
    connect(m_save, &QPushButton::clicked, this, [this] {
        if (save())
            showNotice(this, Notice{QStringLiteral("【打印机】设置成功!\n打印机名称：%1\n"
                                                   "纸张：%2\n打印语言：%3")
                                        .arg(m_printer->currentText(), paperText(),
                                             m_language->currentText()),
                                    QStringLiteral("打印机设置")});
    });
    connect(m_test, &QPushButton::clicked, this, &LabelPrinterPanel::printTestLabel);
    showPrinter();
}

LabelPrinterPanel::~LabelPrinterPanel() = default;

LabelSettings LabelPrinterPanel::shown() const {
    LabelSettings settings;
    settings.language = LabelLanguage(m_language->currentData().toInt());
    if (m_size->currentText() == kOwnSize)
        settings.paperMm = QSizeF(m_width->value(), m_height->value());
    else if (m_size->currentData().isValid())
        settings.paperMm = m_size->currentData().toSizeF();
    settings.sensing = LabelSensing(m_sensing->currentData().toInt());
    settings.gapMm = m_gap->value();
    settings.darkness = m_darkness->value();
    settings.speed = m_speed->value();
    return settings;
}

void LabelPrinterPanel::showPrinter() {
    const QString printer = m_printer->currentText();
    const LabelSettingsRead read = LabelSetup(*m_setup).load(printer);
    LabelSettings settings = read.settings;
    QString note;
    if (read.note) {
        note = read.note->text;
    } else if (!printer.isEmpty() && !QFileInfo::exists(m_setup->labelFile(printer))) {
        // Never set up: what CUPS tells of the printer chooses, the seller may choose again.
        const PrinterQuery query = m_spooler.query(printer);
        settings.language = detectLabelLanguage(query.port, query.driver);
        note = settings.commands()
                   ? QStringLiteral("这台打印机没有驱动（原始队列），已预选 %1 指令。")
                         .arg(LabelLanguages::name(settings.language))
                   : QStringLiteral("这台打印机有驱动程序，按驱动程序打印。");
    }
    m_note->setText(note);
    m_language->setCurrentIndex(m_language->findData(int(settings.language)));
    const int dotsPerInch = printer.isEmpty()
                                ? kDefaultDotsPerInch
                                : PrintChecks::dotsPerInch(*m_setup, m_spooler, printer);
    m_resolution->setCurrentIndex(std::max(0, m_resolution->findData(dotsPerInch)));
    showSize(settings.commands() ? settings.labelMm() : settings.paperMm);
    m_sensing->setCurrentIndex(m_sensing->findData(int(settings.sensing)));
    m_gap->setValue(settings.gapMm);
    m_darkness->setValue(settings.darkness);
    m_speed->setValue(settings.speed);
    enableLabelFields();
}

void LabelPrinterPanel::showSize(std::optional<QSizeF> paperMm) {
    if (!paperMm) {
        m_size->setCurrentIndex(0);
        return;
    }
    const int standard = m_size->findData(*paperMm);
    m_size->setCurrentIndex(standard >= 0 ? standard : m_size->findText(kOwnSize));
    m_width->setValue(paperMm->width());
    m_height->setValue(paperMm->height());
}

QString LabelPrinterPanel::paperText() const {
    const std::optional<QSizeF> paper = shown().paperMm;
    return paper ? LabelLanguages::sizeText(*paper) + QStringLiteral(" 毫米") : kPagesOwnSize;
}

void LabelPrinterPanel::enableLabelFields() {
    const bool label = m_language->currentData().toInt() != int(LabelLanguage::Driver);
    for (QWidget* field :
         std::initializer_list<QWidget*>{m_resolution, m_sensing, m_gap, m_darkness, m_speed})
        field->setEnabled(label);
    const bool own = m_size->currentText() == kOwnSize;
    m_width->setEnabled(own);
    m_height->setEnabled(own);
    m_test->setEnabled(!m_printer->currentText().isEmpty());
}

bool LabelPrinterPanel::save() {
    const QString printer = m_printer->currentText();
    if (printer.isEmpty()) {
        showNotice(this, Notice{QStringLiteral("您没有安装打印机!安装之后再来设置！"),
                                QStringLiteral("墨岚打单"), Notice::Icon::Exclamation});
        return false;
    }
    const LabelSettings settings = shown();
    // A label printer draws each label itself: it needs their size, and its head spans so much.
    if (settings.commands() &&
        (!settings.paperMm || !LabelLanguages::labelWidthFits(*settings.paperMm))) {
        showNotice(this,
                   Notice{settings.paperMm
                              ? QStringLiteral("标签打印机的标签最宽120毫米，请选择标签的尺寸。")
                              : QStringLiteral("标签打印机要选择标签的尺寸。"),
                          QStringLiteral("墨岚打单"), Notice::Icon::Exclamation});
        return false;
    }
    if (!LabelSetup(*m_setup).save(printer, settings) ||
        (settings.commands() &&
         !m_setup->saveResolution(printer, m_resolution->currentData().toInt()))) {
        showNotice(this,
                   Notice{QStringLiteral("无法保存打印机设置：%1").arg(m_setup->labelFile(printer)),
                          QStringLiteral("墨岚打单"), Notice::Icon::Exclamation});
        return false;
    }
    m_note->clear();
    emit saved();
    return true;
}

void LabelPrinterPanel::printTestLabel() {
    // The label shows what was chosen: the choice is saved first, as the run would read it.
    if (!save())
        return;
    const QString printer = m_printer->currentText();
    const LabelSettings settings = shown();
    const int dotsPerInch = PrintChecks::dotsPerInch(*m_setup, m_spooler, printer);
    // No offsets: the frame shows where the printer's own edges fall.
    const CheckedPrinter target{printer, false, {}};
    if (const std::optional<Notice> failed = printOutsideRun(
            m_spooler, *m_setup, target, {testLabel(settings, dotsPerInch)},
            QStringLiteral("测试标签-") + printer, m_state.folder.file(QStringLiteral("Print")),
            QStringLiteral("测试标签"))) {
        showNotice(this, *failed);
        return;
    }
    m_note->setText(QStringLiteral("测试标签已交给打印机 %1。").arg(printer));
}

} // namespace mldd
