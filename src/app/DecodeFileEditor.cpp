#include "DecodeFileEditor.h"

#include "DecodeFileCommands.h"
#include "NoticeBox.h"

#include "capture/DecodeMaintenance.h"
#include "capture/PageKey.h"
#include "core/MainState.h"
#include "core/TextFile.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace mldd {

namespace {

// Pages and values keep CR LF line ends, as captured pages do; text boxes give LF.
QString withCrLf(const QString& text) {
    return TextFile::splitLines(text).join(QStringLiteral("\r\n"));
}

} // namespace

DecodeFileEditor::DecodeFileEditor(MainState& state, const QString& address, const QString& pageText,
                           QWidget* parent)
    : QDialog(parent), m_state(state), m_address(new QLineEdit(address, this)),
      m_page(new QPlainTextEdit(this)), m_code(new QPlainTextEdit(this)),
      m_result(new QLabel(this)),
      m_pastePage(new QPushButton(QStringLiteral("粘贴网页文字"), this)),
      m_build(new QPushButton(QStringLiteral("生成并试提取"), this)),
      m_save(new QPushButton(QStringLiteral("保存解码文件"), this)),
      m_refresh(new QPushButton(QStringLiteral("刷新解码文件"), this)),
      m_repair(new QPushButton(QStringLiteral("修复解码文件"), this)),
      m_check(new QPushButton(QStringLiteral("检查解码文件"), this)) {
    setWindowTitle(QStringLiteral("墨岚打单-自助编制解码文件"));
    m_page->setReadOnly(true);
    m_page->setPlainText(withCrLf(pageText));
    m_page->setPlaceholderText(
        QStringLiteral("订单页面的文字。没有时，在浏览器里全选、复制页面，再点[粘贴网页文字]。"));
    m_code->setReadOnly(true);
    m_code->setFixedHeight(70);
    m_result->setWordWrap(true);
    m_pastePage->setToolTip(QStringLiteral("用剪贴板里的网页文字"));

    auto* addressLabel = new QLabel(QStringLiteral("网页地址"), this);
    addressLabel->setBuddy(m_address);
    auto* top = new QHBoxLayout;
    top->addWidget(addressLabel);
    top->addWidget(m_address, 1);
    top->addWidget(m_pastePage);

    auto* pageLabel = new QLabel(QStringLiteral("网页文字（从这里复制每一项，粘贴到右边）"), this);
    pageLabel->setBuddy(m_page);
    auto* left = new QVBoxLayout;
    left->addWidget(pageLabel);
    left->addWidget(m_page, 1);

    auto* codeLabel = new QLabel(QStringLiteral("生成的解码文件"), this);
    codeLabel->setBuddy(m_code);
    auto* right = new QVBoxLayout;
    right->addWidget(createValueGrid());
    right->addWidget(codeLabel);
    right->addWidget(m_code);
    right->addWidget(m_result);
    right->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addLayout(right, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_refresh);
    buttons->addWidget(m_repair);
    buttons->addWidget(m_check);
    buttons->addStretch();
    buttons->addWidget(m_build);
    buttons->addWidget(m_save);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    connect(m_pastePage, &QPushButton::clicked, this,
            [this] { m_page->setPlainText(withCrLf(QGuiApplication::clipboard()->text())); });
    connect(m_build, &QPushButton::clicked, this, &DecodeFileEditor::build);
    connect(m_save, &QPushButton::clicked, this, &DecodeFileEditor::save);
    connect(m_refresh, &QPushButton::clicked, this, &DecodeFileEditor::refresh);
    connect(m_repair, &QPushButton::clicked, this, &DecodeFileEditor::repair);
    connect(m_check, &QPushButton::clicked, this, &DecodeFileEditor::check);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(1000, 700);
}

QWidget* DecodeFileEditor::createValueGrid() {
    auto* box = new QGroupBox(QStringLiteral("每一项粘贴页面上的原样文字（收货地址必填）"), this);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("粘贴的文字"), box), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("试提取的结果"), box), 0, 2);
    const QStringList& labels = DecodeMaintenance::fieldLabels();
    for (int field = 0; field < labels.size(); ++field) {
        auto* label = new QLabel(labels.at(field), box);
        auto* value = new QLineEdit(box);
        auto* result = new QLineEdit(box);
        label->setBuddy(value);
        result->setReadOnly(true);
        result->setAccessibleName(labels.at(field) + QStringLiteral("的提取结果"));
        connect(value, &QLineEdit::editingFinished, this, [this, field] { checkValue(field); });
        grid->addWidget(label, field + 1, 0);
        grid->addWidget(value, field + 1, 1);
        grid->addWidget(result, field + 1, 2);
        m_values.append(value);
        m_results.append(result);
    }
    return box;
}

void DecodeFileEditor::checkValue(int field) {
    QLineEdit* box = m_values.at(field);
    const std::optional<Notice> refused =
        DecodeMaintenance::checkPastedValue(withCrLf(m_page->toPlainText()), withCrLf(box->text()),
                                            DecodeMaintenance::fieldLabels().at(field));
    if (!refused)
        return;
    box->clear(); // before the message, whose focus change would check the box again
    showNotice(this, *refused);
}

bool DecodeFileEditor::build() {
    const QString page = withCrLf(m_page->toPlainText());
    DecodeMaintenance::PastedValues values;
    for (int field = 0; field < int(values.size()); ++field) {
        values[field] = withCrLf(m_values.at(field)->text());
        if (DecodeMaintenance::checkPastedValue(page, values[field], QString())) {
            checkValue(field);
            return false;
        }
    }
    const DecodeMaintenance::BuiltFile built = DecodeMaintenance::buildDecodeFile(page, values);
    if (built.refusal) {
        showNotice(this, *built.refusal);
        return false;
    }
    m_code->setPlainText(built.decodeText);
    const QList<QStringList> records = DecodeMaintenance::extractedRecords(page, built.decodeText);
    const QStringList first = records.value(0);
    for (int field = 0; field < m_results.size(); ++field)
        m_results.at(field)->setText(first.value(field));
    m_result->setText(QStringLiteral("试提取：这个页面提取到%1个订单。").arg(records.size()));
    return true;
}

void DecodeFileEditor::save() {
    const std::optional<QString> pageKey = pageKeyOf(m_address->text().trimmed());
    if (!pageKey) {
        showNotice(this, DecodeMaintenance::noPageNotice());
        return;
    }
    if (build())
        showNotice(
            this, DecodeMaintenance::saveBuiltDecodeFile(m_state, *pageKey, m_code->toPlainText()));
}

void DecodeFileEditor::refresh() {
    DecodeFileCommands::refresh(this, m_state, m_address->text());
}

void DecodeFileEditor::repair() {
    DecodeFileCommands::repair(this, m_state);
}

void DecodeFileEditor::check() {
    DecodeFileCommands::check(this, m_state);
}

} // namespace mldd
