#include "ExcelImportDialog.h"

#include "ColumnCombo.h"
#include "FileChooser.h"
#include "NoticeBox.h"

#include "core/MainState.h"
#include "spreadsheet/ExportLayouts.h"
#include "spreadsheet/ImportRun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace mldd {

namespace {

const QString kTitle = QStringLiteral("Excel提取编辑");
const QString kPrompt = QStringLiteral("请选择...");
const QString kByPlan = QStringLiteral("按快递方案选择");

QLabel* captionFor(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

ExcelImportDialog::ExcelImportDialog(MainState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_expressions(ImportLayout::kFieldCount) {
    setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(createSourceBar());
    m_recognition = new QLabel(this);
    m_recognition->setWordWrap(true);
    m_recognition->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_recognition->setAccessibleName(QStringLiteral("表格识别结果"));
    layout->addWidget(m_recognition);
    layout->addWidget(createFieldGrid());
    layout->addWidget(createOptions());

    m_confirm = new QPushButton(QStringLiteral("确认"), this);
    m_extract = new QPushButton(QStringLiteral("提取Excel"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    m_extract->setDefault(true);
    connect(m_confirm, &QPushButton::clicked, this, &ExcelImportDialog::confirm);
    connect(m_extract, &QPushButton::clicked, this, &ExcelImportDialog::extract);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_confirm);
    buttons->addWidget(m_extract);
    buttons->addWidget(close);
    layout->addLayout(buttons);
}

ExcelImportDialog::~ExcelImportDialog() = default;

QWidget* ExcelImportDialog::createSourceBar() {
    auto* bar = new QWidget(this);
    auto* grid = new QGridLayout(bar);
    grid->setContentsMargins(0, 0, 0, 0);
    m_file = new QLineEdit(bar);
    m_file->setReadOnly(true);
    auto* choose = new QPushButton(QStringLiteral("选择文件..."), bar);
    connect(choose, &QPushButton::clicked, this, &ExcelImportDialog::chooseWorkbook);
    m_sheetList = new QComboBox(bar);
    connect(m_sheetList, &QComboBox::textActivated, this, &ExcelImportDialog::showSheet);
    m_headerRow = new QLineEdit(QStringLiteral("1"), bar);
    m_headerRow->setValidator(new QIntValidator(1, CellName::kMaxRows, m_headerRow));
    m_headerRow->setMaximumWidth(60);
    connect(m_headerRow, &QLineEdit::editingFinished, this,
            [this] { showSheet(m_sheetList->currentText()); });
    m_layoutList = new QComboBox(bar);
    m_layoutList->setEditable(true);
    m_layoutList->addItems(ImportLayout::savedNames(m_state.folder));
    connect(m_layoutList, &QComboBox::textActivated, this, &ExcelImportDialog::chooseLayout);
    m_senderList = new QComboBox(bar);
    m_senderList->setEditable(true);
    for (const SenderProfile& profile : m_state.profiles)
        m_senderList->addItem(profile.myIdh);
    m_templateList = new QComboBox(bar);
    m_templateList->addItem(kByPlan, QString());
    for (const QString& name : m_state.templates)
        m_templateList->addItem(name, name);

    grid->addWidget(captionFor(QStringLiteral("Excel文件"), m_file, bar), 0, 0);
    grid->addWidget(m_file, 0, 1, 1, 3);
    grid->addWidget(choose, 0, 4);
    grid->addWidget(captionFor(QStringLiteral("工作表"), m_sheetList, bar), 1, 0);
    grid->addWidget(m_sheetList, 1, 1);
    grid->addWidget(captionFor(QStringLiteral("表头在第几行"), m_headerRow, bar), 1, 2);
    grid->addWidget(m_headerRow, 1, 3);
    grid->addWidget(captionFor(QStringLiteral("表格方案"), m_layoutList, bar), 2, 0);
    grid->addWidget(m_layoutList, 2, 1);
    grid->addWidget(captionFor(QStringLiteral("发货人公司\\店名\\ID"), m_senderList, bar), 2, 2);
    grid->addWidget(m_senderList, 2, 3, 1, 2);
    grid->addWidget(captionFor(QStringLiteral("快递单模版"), m_templateList, bar), 3, 0);
    grid->addWidget(m_templateList, 3, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return bar;
}

QWidget* ExcelImportDialog::createFieldGrid() {
    auto* box =
        new QGroupBox(QStringLiteral("每一项在表格的哪一列（可以选几列，依次连起来）"), this);
    auto* grid = new QGridLayout(box);
    constexpr int kRows = (ImportLayout::kFieldCount + 1) / 2;
    for (int i = 0; i < ImportLayout::kFieldCount; ++i) {
        const MappingField& field = ImportLayout::fields().at(i);
        auto* combo = new ColumnCombo(box);
        combo->addItem(kPrompt);
        // The list says only its prompt once a column is taken; the box beside it names the
        // columns, and gets the room.
        combo->setMinimumWidth(combo->fontMetrics().horizontalAdvance(kPrompt) + 40);
        // The chosen columns stand in a box of their own, read aloud with its name; the list
        // beside it adds one more.
        auto* expression = new QLineEdit(box);
        expression->setReadOnly(true);
        expression->setMinimumWidth(
            expression->fontMetrics().horizontalAdvance(QStringLiteral("E 收货人 + F 收货地址")) +
            16);
        expression->setAccessibleName(field.label() + QStringLiteral("的列"));
        auto* clear = new QPushButton(QStringLiteral("清空"), box);
        clear->setMaximumWidth(clear->fontMetrics().horizontalAdvance(clear->text()) + 24);
        clear->setAccessibleName(QStringLiteral("清空") + field.label());
        connect(combo, &ColumnCombo::columnChosen, this,
                [this, i](int index) { chooseColumn(i, index); });
        connect(clear, &QPushButton::clicked, this, [this, i] { clearField(i); });
        const int row = i % kRows;
        const int column = (i / kRows) * 4;
        grid->addWidget(captionFor(field.caption, combo, box), row, column, Qt::AlignRight);
        grid->addWidget(expression, row, column + 1);
        grid->addWidget(combo, row, column + 2);
        grid->addWidget(clear, row, column + 3);
        m_fieldCombos.append(combo);
        m_fieldExpressions.append(expression);
        m_clearButtons.append(clear);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);
    return box;
}

QWidget* ExcelImportDialog::createOptions() {
    const ImportOptions& options = m_state.importOptions;
    auto* box = new QGroupBox(QStringLiteral("导入选项"), this);
    auto* row = new QHBoxLayout(box);
    m_firstSeparator = new QRadioButton(QStringLiteral("商品之间的分隔符"), box);
    m_firstSeparatorText = new QLineEdit(options.firstSeparator, box);
    m_firstSeparatorText->setAccessibleName(QStringLiteral("第一种商品分隔符"));
    m_secondSeparator = new QRadioButton(QStringLiteral("或者"), box);
    m_secondSeparatorText = new QLineEdit(options.secondSeparator, box);
    m_secondSeparatorText->setAccessibleName(QStringLiteral("第二种商品分隔符"));
    for (QLineEdit* text : {m_firstSeparatorText, m_secondSeparatorText})
        text->setMaximumWidth(60);
    (options.firstSeparatorChosen ? m_firstSeparator : m_secondSeparator)->setChecked(true);
    m_merge = new QCheckBox(QStringLiteral("同一买家（姓名、地址相同）的订单合并为一单"), box);
    m_merge->setChecked(options.mergeSameBuyer);
    row->addWidget(m_firstSeparator);
    row->addWidget(m_firstSeparatorText);
    row->addWidget(m_secondSeparator);
    row->addWidget(m_secondSeparatorText);
    row->addSpacing(20);
    row->addWidget(m_merge);
    row->addStretch();
    return box;
}

void ExcelImportDialog::chooseWorkbook() {
    const QString path =
        FileChooser::openFile(this, QStringLiteral("选择Excel文件"),
                              QFileInfo(m_path).absolutePath(), Workbook::fileFilter());
    if (!path.isEmpty())
        openWorkbook(path);
}

bool ExcelImportDialog::openWorkbook(const QString& path) {
    std::variant<std::unique_ptr<Workbook>, Notice> opened = Workbook::open(path);
    if (auto* notice = std::get_if<Notice>(&opened)) {
        showNotice(this, *notice);
        return false;
    }
    m_workbook = std::move(std::get<std::unique_ptr<Workbook>>(opened));
    m_path = path;
    m_file->setText(QDir::toNativeSeparators(path));
    m_sheetList->clear();
    m_sheetList->addItems(m_workbook->sheetNames());
    m_sheetList->setCurrentIndex(m_workbook->activeSheet());
    m_sheet = SheetTable();
    showSheet(m_sheetList->currentText());
    recognize();
    return true;
}

void ExcelImportDialog::recognize() {
    const ExportLayouts::Recognition found =
        ExportLayouts::forSheet(m_state.folder, m_state.log, m_sheet, m_state.profiles);
    if (found.recognized) {
        m_layoutList->setCurrentText(found.layout.name);
        showLayout(found.layout);
        showRecognition(
            found.layout.market.isEmpty()
                ? QStringLiteral("已按表头对好各项的列（表格方案“%1”），请核对后按[提取Excel]。")
                      .arg(found.layout.name)
                : QStringLiteral(
                      "认出是[%1]的订单导出表格，各项的列已经对好，直接按[提取Excel]即可。")
                      .arg(found.layout.name));
        return;
    }
    // A layout the seller saved under the file's name, else what the headers could place.
    const QString name = ImportLayout::nameFor(m_state.folder, m_state.log, m_path, {});
    m_layoutList->setCurrentText(name);
    const std::optional<ImportLayout> saved = ImportLayout::load(m_state.folder, name, m_state.log);
    ImportLayout partial = saved.value_or(found.layout);
    partial.sender = saved ? saved->sender : found.layout.sender;
    showLayout(partial);
    showRecognition(saved ? QString()
                          : ExportLayouts::unknownLayoutText(found) +
                                QStringLiteral("\r\n请在下面选好各项对应的列。"));
}

void ExcelImportDialog::showRecognition(const QString& text) {
    m_recognition->setText(text);
    // A screen reader reads the line by its name; the description carries what it says.
    m_recognition->setAccessibleDescription(text);
}

void ExcelImportDialog::showSheet(const QString& name) {
    if (!m_workbook || name.isEmpty())
        return;
    if (name != m_sheet.name) {
        std::variant<SheetTable, Notice> read = m_workbook->read(name);
        if (auto* notice = std::get_if<Notice>(&read)) {
            showNotice(this, *notice);
            return;
        }
        m_sheet = std::get<SheetTable>(std::move(read));
    }
    const QStringList header = headerCells();
    QStringList columns;
    for (int c = 0; c < m_sheet.columnCount(); ++c)
        columns.append(CellName::columnLetters(c) + u'|' + header.value(c).simplified());
    for (QComboBox* combo : m_fieldCombos) {
        combo->clear();
        combo->addItem(kPrompt);
        combo->addItems(columns);
    }
    // The headers named beside the chosen columns are the new row's.
    for (int i = 0; i < ImportLayout::kFieldCount; ++i)
        showExpression(i);
}

QStringList ExcelImportDialog::headerCells() const {
    return m_sheet.rows.value(std::max(1, m_headerRow->text().toInt()) - 1);
}

void ExcelImportDialog::showExpression(int field) {
    QLineEdit* box = m_fieldExpressions.at(field);
    box->setText(m_expressions.at(field).textWithHeader(headerCells()));
    // A long chain of columns is read whole under the mouse.
    box->setToolTip(box->text());
    box->setCursorPosition(0);
}

void ExcelImportDialog::chooseLayout(const QString& name) {
    const std::optional<ImportLayout> saved = ImportLayout::load(m_state.folder, name, m_state.log);
    if (saved)
        showLayout(*saved);
}

void ExcelImportDialog::showLayout(const ImportLayout& layout) {
    if (m_headerRow->text().toInt() != layout.headerRow) {
        m_headerRow->setText(QString::number(layout.headerRow));
        showSheet(m_sheetList->currentText());
    }
    if (!layout.sender.isEmpty())
        m_senderList->setCurrentText(layout.sender);
    m_templateList->setCurrentIndex(std::max(0, m_templateList->findData(layout.templateName)));
    m_market = layout.market;
    m_expressions = layout.expressions;
    for (int i = 0; i < ImportLayout::kFieldCount; ++i)
        showExpression(i);
}

void ExcelImportDialog::chooseColumn(int field, int index) {
    if (index <= 0)
        return;
    m_expressions[field].columns.append(index - 1);
    showExpression(field);
}

void ExcelImportDialog::clearField(int field) {
    m_expressions[field] = ColumnExpression();
    m_fieldExpressions.at(field)->clear();
    m_fieldCombos.at(field)->setCurrentIndex(0);
}

ImportLayout ExcelImportDialog::layoutShown() const {
    ImportLayout layout;
    layout.headerRow = std::max(1, m_headerRow->text().toInt());
    layout.name = m_layoutList->currentText().trimmed();
    if (layout.name.isEmpty())
        layout.name = ImportLayout::nameFor(m_state.folder, m_state.log, m_path, {});
    layout.sender = m_senderList->currentText().trimmed();
    layout.templateName = m_templateList->currentData().toString();
    layout.expressions = m_expressions;
    layout.market = m_market;
    layout.noteHeaders(m_sheet.rows.value(layout.headerRow - 1));
    return layout;
}

bool ExcelImportDialog::saveLayout() {
    const ImportLayout layout = layoutShown();
    if (const std::optional<Notice> refused = layout.check(m_state.templates)) {
        showNotice(this, *refused);
        return false;
    }
    ImportOptions& options = m_state.importOptions;
    options.firstSeparator = m_firstSeparatorText->text();
    options.secondSeparator = m_secondSeparatorText->text();
    options.firstSeparatorChosen = m_firstSeparator->isChecked();
    options.mergeSameBuyer = m_merge->isChecked();
    options.save(m_state.folder, m_state.log);
    if (!layout.save(m_state.folder, m_state.log)) {
        showNotice(this, ImportLayout::checkFailure(
                             QStringLiteral("提取文件没有保存，请检查数据文件夹。")));
        return false;
    }
    if (m_layoutList->findText(layout.name) < 0)
        m_layoutList->addItem(layout.name);
    m_layoutList->setCurrentText(layout.name);
    return true;
}

void ExcelImportDialog::confirm() {
    if (saveLayout())
        showNotice(
            this, Notice{QStringLiteral("提取文件“Excel%1”已保存，下次导入同样的表格时会自动使用。")
                             .arg(m_layoutList->currentText()),
                         kTitle, Notice::Icon::Information, Notice::Buttons::Ok});
}

void ExcelImportDialog::extract() {
    if (!m_workbook) {
        showNotice(this, Notice{QStringLiteral("请选择Excel文件，而后编制提取文件！"), kTitle,
                                Notice::Icon::Information, Notice::Buttons::Ok});
        return;
    }
    if (!saveLayout())
        return;
    std::variant<std::unique_ptr<ImportRun>, Notice> started =
        ImportRun::start(m_state, m_sheet, layoutShown(), m_path);
    if (auto* notice = std::get_if<Notice>(&started)) {
        showNotice(this, *notice);
        return;
    }
    // The rows are imported once this window has closed, behind the list (ImportProgress).
    m_run = std::move(std::get<std::unique_ptr<ImportRun>>(started));
    accept();
}

std::unique_ptr<ImportRun> ExcelImportDialog::takeRun() {
    return std::move(m_run);
}

} // namespace mldd
