#include "DatabaseSettingsDialog.h"
#include "ModalAnswers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace mldd;

TEST(DatabaseSettingsDialog, RefusesAnAddressItCannotUseAndTakesAnEmptyOneForTheStationsOwnFile) {
    DatabaseSettingsDialog dialog(QStringLiteral("连不上订单数据库服务器"),
                      QStringLiteral("postgresql://mldd@db.shop/orders"));
    EXPECT_EQ(dialog.address(), QStringLiteral("postgresql://mldd@db.shop/orders"));
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [&](QLabel* label) { return label->buddy() == dialog.addressEdit(); }));
    QPushButton* retry = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("重试"))
            retry = button;
    ASSERT_TRUE(retry);
    dialog.show();

    dialog.addressEdit()->setText(QStringLiteral("mysql://db.shop/orders"));
    {
        test::ModalAnswers answers;
        retry->click();
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts.first().startsWith(QStringLiteral("数据库地址要写成")));
    }
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.isVisible());

    dialog.addressEdit()->clear();
    retry->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.address(), QString());
}
