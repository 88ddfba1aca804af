#include "FileChooser.h"

#include "HelpKeys.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

namespace mldd {

namespace {

enum Column { NameColumn, SizeColumn, TypeColumn, DateColumn };

// Sizes as a Chinese desktop writes them: 字节, KB, MB, GB by 1024.
QString sizeText(const QLocale& locale, qint64 bytes) {
    if (bytes < 1024)
        return QStringLiteral("%1 字节").arg(bytes);
    double size = bytes / 1024.0;
    for (const char* unit : {"KB", "MB"}) {
        if (size < 1024)
            return locale.toString(size, 'f', 1) + u' ' + QLatin1String(unit);
        size /= 1024;
    }
    return locale.toString(size, 'f', 1) + QStringLiteral(" GB");
}

/** The file list's columns in the words and units of a Chinese desktop. */
class ChineseFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == NameColumn)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex file = mapToSource(index);
        const bool folder = files->isDir(file);
        const QLocale chinese(QLocale::Chinese, QLocale::China);
        switch (index.column()) {
        case SizeColumn:
            return folder ? QString() : sizeText(chinese, files->size(file));
        case TypeColumn:
            if (folder)
                return QStringLiteral("文件夹");
            if (const QString suffix = files->fileInfo(file).suffix(); !suffix.isEmpty())
                return suffix.toUpper() + QStringLiteral(" 文件");
            return QStringLiteral("文件");
        case DateColumn:
            return chinese.toString(files->lastModified(file), QStringLiteral("yyyy/M/d H:mm"));
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const QStringList captions{QStringLiteral("名称"), QStringLiteral("大小"),
                                          QStringLiteral("类型"), QStringLiteral("修改日期")};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < captions.size())
            return captions.at(section);
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
};

QString chosenFile(QFileDialog& dialog, QFileDialog::AcceptMode mode) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setProxyModel(new ChineseFileColumns(&dialog));
    // Qt sizes the type column for "mp3Folder", which cuts "XLSX 文件".
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView")))
        list->header()->setSectionResizeMode(TypeColumn, QHeaderView::ResizeToContents);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("查找范围："));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名："));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型："));
    dialog.setLabelText(QFileDialog::Accept, mode == QFileDialog::AcceptOpen
                                                 ? QStringLiteral("打开")
                                                 : QStringLiteral("保存"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QString FileChooser::openFile(QWidget* parent, const QString& caption, const QString& folder,
                              const QString& filter, const QString& helpPage) {
    QFileDialog dialog(parent, caption, folder, filter);
    if (!helpPage.isEmpty())
        HelpKeys::setPage(&dialog, helpPage);
    return chosenFile(dialog, QFileDialog::AcceptOpen);
}

QString FileChooser::saveFile(QWidget* parent, const QString& caption, const QString& path,
                              const QString& filter) {
    QFileDialog dialog(parent, caption, path, filter);
    return chosenFile(dialog, QFileDialog::AcceptSave);
}

} // namespace mldd
