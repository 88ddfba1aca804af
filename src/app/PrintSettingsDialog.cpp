#include "PrintSettingsDialog.h"

#include "DigitField.h"
#include "NoticeBox.h"

#include "core/MainState.h"
#include "waybill/FontFaces.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

namespace mldd {

namespace {

// The size steps in the order the list offers them; the stored number is the settings row's.
const QStringList kSizeSteps{QStringLiteral("正常大小"), QStringLiteral("大一号"),
                             QStringLiteral("大二号"), QStringLiteral("小一号"),
                             QStringLiteral("小二号")};

int storedSizeStep(const QString& name) {
    for (int step = 0; step < kSizeSteps.size(); ++step)
        if (PrintSettings::sizeStepName(step) == name)
            return step;
    return 0;
}

} // namespace

PrintSettingsDialog::PrintSettingsDialog(MainState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_dayOffset(new DigitField(this)),
      m_font(new QComboBox(this)), m_sizeStep(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("打印设置"));
    auto* items = new QGroupBox(QStringLiteral("快递单上打印的项目"), this);
    auto* grid = new QGridLayout(items);
    const PrintSwitches switches = PrintSwitches::fromSettings(state.settings);
    for (int n = 0; n < PrintSwitches::Count; ++n) {
        const auto number = PrintSwitches::Number(n);
        auto* box = new QCheckBox(PrintSwitches::caption(number), items);
        box->setChecked(switches[number]);
        grid->addWidget(box, n / 3, n % 3);
        m_switches.append(box);
    }

    m_dayOffset->setText(QString::number(std::max(0, state.settings.sysDay)));
    m_dayOffset->setMaxLength(3);
    m_font->addItems(FontFaces::kaitiChoices());
    m_font->setCurrentIndex(std::clamp(state.settings.fontType, 0, int(m_font->count()) - 1));
    m_sizeStep->addItems(kSizeSteps);
    m_sizeStep->setCurrentText(PrintSettings::sizeStepName(state.settings.fontSizeStep));

    auto* appearance = new QGroupBox(QStringLiteral("日期和字体"), this);
    auto* form = new QFormLayout(appearance);
    form->addRow(QStringLiteral("发件日期加几天："), m_dayOffset);
    form->addRow(QStringLiteral("楷体_GB2312 用字体："), m_font);
    form->addRow(QStringLiteral("字体大小："), m_sizeStep);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Save)->setText(QStringLiteral("保存"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PrintSettingsDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(items);
    layout->addWidget(appearance);
    layout->addWidget(buttons);
}

void PrintSettingsDialog::save() {
    PrintSwitches switches;
    for (int n = 0; n < PrintSwitches::Count; ++n)
        switches.on[n] = m_switches.at(n)->isChecked();
    PrintSettings edited = m_state.settings;
    switches.storeInto(edited);
    edited.sysDay = m_dayOffset->text().toInt(); // an empty box counts as no days
    edited.fontType = m_font->currentIndex();
    edited.fontSizeStep = storedSizeStep(m_sizeStep->currentText());
    if (const auto failed = m_state.saveSettings(edited)) {
        showNotice(this, *failed);
        return;
    }
    emit saved();
    accept();
}

} // namespace mldd
