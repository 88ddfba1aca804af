#include "Form_IE_Favorite.h"

#include "NoticeBox.h"

#include "browser/Favourites.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace mldd {

Form_IE_Favorite::Form_IE_Favorite(Favourites& favourites, const QString& title,
                                   const QString& link, QWidget* parent)
    : QDialog(parent), m_favourites(favourites), m_title(new QLineEdit(title, this)),
      m_link(new QLineEdit(link, this)), m_list(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("墨岚打单-收藏夹"));
    m_title->setObjectName(QStringLiteral("Text_title"));
    m_link->setObjectName(QStringLiteral("Text_link"));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("标题(&T)"), m_title);
    fields->addRow(QStringLiteral("链接(&L)"), m_link);
    auto* save = new QPushButton(QStringLiteral("收藏"), this);
    save->setObjectName(QStringLiteral("Command_save"));
    save->setDefault(true);
    auto* remove = new QPushButton(QStringLiteral("删除"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* listLabel = new QLabel(QStringLiteral("已收藏的网页(&F)（最多10个）"), this);
    listLabel->setBuddy(m_list);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(listLabel);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &Form_IE_Favorite::save);
    connect(remove, &QPushButton::clicked, this, &Form_IE_Favorite::removeChosen);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(520, 360);
    showList();
}

void Form_IE_Favorite::save() {
    if (const auto refusal = m_favourites.add({m_title->text(), m_link->text()})) {
        showNotice(this, *refusal);
        return;
    }
    showList();
}

void Form_IE_Favorite::removeChosen() {
    const int row = m_list->currentRow();
    if (row < 0 || !showNotice(this, Favourites::removeQuestion()))
        return;
    m_favourites.remove(row);
    showList();
}

void Form_IE_Favorite::showList() {
    m_list->clear();
    for (const Favourite& favourite : m_favourites.list())
        m_list->addItem(favourite.title + QStringLiteral("  —  ") + favourite.address);
}

} // namespace mldd
