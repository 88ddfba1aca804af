#include "FavouritesDialog.h"

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

FavouritesDialog::FavouritesDialog(Favourites& favourites, const QString& title,
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
    connect(save, &QPushButton::clicked, this, &FavouritesDialog::save);
    connect(remove, &QPushButton::clicked, this, &FavouritesDialog::removeChosen);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(520, 360);
    showList();
}

void FavouritesDialog::save() {
    if (const auto refusal = m_favourites.add({m_title->text(), m_link->text()})) {
        showNotice(this, *refusal);
        return;
    }
    showList();
}

void FavouritesDialog::removeChosen() {
    const int row = m_list->currentRow();
    if (row < 0 || !showNotice(this, Favourites::removeQuestion()))
        return;
    m_favourites.remove(row);
    showList();
}

void FavouritesDialog::showList() {
    m_list->clear();
    for (const Favourite& favourite : m_favourites.list())
        m_list->addItem(favourite.title + QStringLiteral("  —  ") + favourite.address);
}

} // namespace mldd
