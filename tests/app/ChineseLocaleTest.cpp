#include "FileChooser.h"
#include "ModalAnswers.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace mldd;

// The test program starts as mldd does, whatever LANG the machine has (ctest gives C.UTF-8).
TEST(ChineseLocaleTest, TheProgramAndItsFileDialogsSpeakChineseOnAnyMachine) {
    EXPECT_EQ(QLocale().language(), QLocale::Chinese);
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 6), QLocale::ShortFormat),
              QStringLiteral("2026/12/6"));

    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("订单表"));
    QFile sheet(dir.filePath(QStringLiteral("orders.xlsx")));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write(QByteArray(3 * 1024, 'x'));
    sheet.close();
    // A long type name, as another spreadsheet program's file has.
    QFile other(dir.filePath(QStringLiteral("报表.numbers")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();

    QStringList header;
    QStringList folderRow;
    QStringList fileRow;
    QList<bool> cut;
    test::ModalAnswers answers({}, [&](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        auto* view = files->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(view, nullptr);
        QAbstractItemModel* model = view->model();
        const auto row = [&](const QString& name) {
            QStringList cells;
            const QModelIndex root = view->rootIndex();
            for (int r = 0; r < model->rowCount(root); ++r) {
                if (model->index(r, 0, root).data().toString() != name)
                    continue;
                for (int c = 0; c < 4; ++c)
                    cells.append(model->index(r, c, root).data().toString());
            }
            return cells;
        };
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return row(QStringLiteral("orders.xlsx")).size() == 4 &&
                       row(QStringLiteral("报表.numbers")).size() == 4;
            },
            5000));
        for (int c = 0; c < 4; ++c)
            header.append(model->headerData(c, Qt::Horizontal).toString());
        folderRow = row(QStringLiteral("订单表"));
        fileRow = row(QStringLiteral("orders.xlsx"));
        // Size, type and date stand whole in their columns.
        const QAbstractItemView* cells = view;
        for (int c = 1; c < 4; ++c)
            cut.append(view->header()->sectionSize(c) < cells->sizeHintForColumn(c));
        dialog->reject();
    });
    EXPECT_EQ(FileChooser::openFile(nullptr, QStringLiteral("选择Excel文件"), dir.path(),
                                    QStringLiteral("所有文件 (*)")),
              QString());
    EXPECT_EQ(header, (QStringList{QStringLiteral("名称"), QStringLiteral("大小"),
                                   QStringLiteral("类型"), QStringLiteral("修改日期")}));
    ASSERT_EQ(fileRow.size(), 4);
    EXPECT_EQ(fileRow.at(1), QStringLiteral("3.0 KB"));
    EXPECT_EQ(fileRow.at(2), QStringLiteral("XLSX 文件"));
    EXPECT_TRUE(fileRow.at(3).startsWith(QDate::currentDate().toString(QStringLiteral("yyyy/M/d"))))
        << fileRow.at(3).toStdString();
    ASSERT_EQ(folderRow.size(), 4);
    EXPECT_EQ(folderRow.at(2), QStringLiteral("文件夹"));
    EXPECT_EQ(cut, QList<bool>(3, false));
}
