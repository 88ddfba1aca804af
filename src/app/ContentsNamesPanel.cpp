#include "ContentsNamesPanel.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mldd {

namespace {
constexpr int kNamesPerRow = 5;
}

ContentsNamesPanel::ContentsNamesPanel(const DataFolder& folder, const QString& senderId,
                                       const QString& currentName, QWidget* parent)
    // Not a Qt::Popup: assistive tools are shown no popup windows.
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint), m_folder(folder), m_senderId(senderId),
      m_current(currentName.trimmed()), m_names(ContentsNames::load(folder, senderId)),
      m_makeDefault(new QPushButton(QStringLiteral("设为默认"), this)),
      m_add(new QPushButton(QStringLiteral("加入备选"), this)), m_hint(new QLabel(this)) {
    setFrameShape(QFrame::Box);
    setAccessibleName(QStringLiteral("内件品名"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ContentsNames::caption(senderId), this));
    auto* names = new QGridLayout;
    QStringList shown = m_names.firstOption ? m_names.candidates : QStringList();
    if (!m_names.defaultName.isEmpty() && !shown.contains(m_names.defaultName))
        shown.prepend(m_names.defaultName);
    for (int i = 0; i < shown.size(); ++i) {
        auto* button = new QPushButton(shown.at(i), this);
        connect(button, &QPushButton::clicked, this, [this, name = shown.at(i)] {
            close();
            emit picked(name);
        });
        names->addWidget(button, i / kNamesPerRow, i % kNamesPerRow);
        m_nameButtons.append(button);
    }
    layout->addLayout(names);
    auto* commands = new QHBoxLayout;
    commands->addWidget(m_makeDefault);
    commands->addWidget(m_add);
    commands->addStretch();
    layout->addLayout(commands);
    m_hint->setWordWrap(true);
    if (shown.isEmpty())
        m_hint->setText(QStringLiteral("还没有备选件名：在订单里填上件名后点[加入备选]，"
                                       "或在[设置]菜单的[发件人信息]里填写。"));
    layout->addWidget(m_hint);
    m_makeDefault->setToolTip(QStringLiteral("将当前内件设为此用户默认"));
    connect(m_makeDefault, &QPushButton::clicked, this, &ContentsNamesPanel::makeDefault);
    connect(m_add, &QPushButton::clicked, this, &ContentsNamesPanel::addCurrent);
}

void ContentsNamesPanel::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    activateWindow();
    // The keys start on the first name, as in a popup list.
    if (!m_nameButtons.isEmpty())
        m_nameButtons.first()->setFocus();
}

void ContentsNamesPanel::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    // A click elsewhere closes it, as it closes a popup.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        close();
}

void ContentsNamesPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QFrame::keyPressEvent(event);
}

void ContentsNamesPanel::makeDefault() {
    if (m_current.isEmpty()) {
        m_hint->setText(m_names.missingNameHint());
        return;
    }
    m_names.defaultName = m_current;
    saveNames();
}

void ContentsNamesPanel::addCurrent() {
    if (m_current.isEmpty()) {
        m_hint->setText(m_names.missingNameHint());
        return;
    }
    m_names.add(m_current);
    saveNames();
}

void ContentsNamesPanel::saveNames() {
    if (const auto failed = m_names.save(m_folder, m_senderId)) {
        m_hint->setText(failed->text);
        return;
    }
    m_hint->setText(QStringLiteral("已保存：默认件名[%1]，备选件名[%2]")
                        .arg(m_names.defaultName, m_names.candidates.join(u' ')));
    emit saved();
}

} // namespace mldd
