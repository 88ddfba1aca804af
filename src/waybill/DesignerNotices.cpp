#include "DesignerNotices.h"

namespace mldd::DesignerNotices {

namespace {

const QString kDesignerTitle = QStringLiteral("墨岚快递单打印软件");

Notice question(const QString& text, const QString& title = kDesignerTitle) {
    return Notice{text, title, Notice::Icon::Exclamation, Notice::Buttons::YesNo};
}

Notice refusal(const QString& text) {
    return Notice{text, kDesignerTitle, Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

} // namespace

Notice confirmNotPrinted() {
    return question(QStringLiteral("真的不打印吗？\n轻易不要选择【不打印】，"
                                   "生效之后您就在也找不到这个项目了！"));
}

Notice confirmHidden() {
    return question(
        QStringLiteral("真的隐藏吗？\n轻易不要选择【隐藏】，生效之后您就在也找不到这个项目了！"));
}

Notice badWrapCount() {
    return Notice{QStringLiteral("请输入换行字数，只能是大于1的数字！"), kDesignerTitle,
                  Notice::Icon::Information, Notice::Buttons::Ok};
}

Notice badSize(const QString& typed) {
    return refusal(
        QStringLiteral("字体大小“%1”不是数字，请输入 1 到 1000 之间的数字。").arg(typed));
}

Notice badName(const QString& name) {
    return refusal(
        QStringLiteral("模版名称“%1”不能用：名称不能为空，也不能含有 / \\ : 等字符。").arg(name));
}

Notice replaceExisting(const QString& name) {
    return question(QStringLiteral("快递单据模版-%1 已经存在，要替换它吗？").arg(name));
}

Notice unsavedChanges(const QString& name) {
    return question(QStringLiteral("快递单据模版-%1 已修改，要保存吗？").arg(name));
}

Notice tooManyItems() {
    return refusal(QStringLiteral("一个快递单据模版最多有 41 个项目，请先删除不用的项目。"));
}

Notice unreadableLayout(const QString& name, const QString& why) {
    return refusal(QStringLiteral("%1\n设计器从空白版面开始；保存时原版面文件另存为 %2.mlg.bak。")
                       .arg(why, name));
}

Notice badPaper() {
    return refusal(QStringLiteral("请填写纸张的宽度和高度（毫米），在 20 到 1000 之间。"));
}

} // namespace mldd::DesignerNotices
