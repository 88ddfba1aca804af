#include "SetupNotices.h"

namespace mldd::SetupNotices {

namespace {

const QString kTitle = QStringLiteral("墨岚打单");

Notice listRefusal(const QString& text) {
    return Notice{text, QStringLiteral("发货单打印机设置"), Notice::Icon::Critical};
}

// Copies left empty or not above 0 print once.
int copiesOf(const QString& text) {
    bool ok = false;
    const int copies = text.trimmed().toInt(&ok);
    return ok && copies > 0 ? copies : 1;
}

} // namespace

QString offsetFrameTitle(const QString& printer) {
    return QStringLiteral("打印机 ") + printer + QStringLiteral(" 打印内容偏移设置");
}

Notice notDefaultQuestion() {
    return Notice{QStringLiteral("您选择的打印机不是您的默认打印机。真的要选择这打印机吗？"),
                  kTitle, Notice::Icon::Exclamation, Notice::Buttons::YesNo};
}

Notice noPrinterInstalled() {
    return Notice{QStringLiteral("您没有安装打印机!安装之后再来设置！"), kTitle,
                  Notice::Icon::Exclamation};
}

Notice notSaved() {
    return Notice{QStringLiteral("打印机设置没有保存：数据文件夹里的设置文件不能写入。"), kTitle,
                  Notice::Icon::Exclamation};
}

Notice waybillPrinterSaved(const QString& printer) {
    return Notice{QStringLiteral("【快递单】打印机设置成功!\n打印机名称：") + printer, kTitle};
}

std::variant<QString, Notice> paperRecord(const ListPaperChoice& choice) {
    if (choice.printer.isEmpty())
        return listRefusal(QStringLiteral("打印机和纸张类型都不能空！"));
    if (choice.paper.isEmpty())
        return listRefusal(QStringLiteral("纸张类型都不能空！"));
    const int copies = copiesOf(choice.copies);
    if (choice.paper == kContinuousPaper) {
        const std::optional<PaperRow> paper =
            PaperRecords::continuousPaper(choice.widthMm, choice.heightMm);
        if (!paper)
            return Notice{QStringLiteral("纸张的宽高只能填数字！"), kTitle,
                          Notice::Icon::Exclamation};
        return paper->record(copies);
    }
    for (const PaperRow& paper : PaperRecords::standardPapers(choice.orientation))
        if (paper.name == choice.paper)
            return paper.record(copies);
    return listRefusal(QStringLiteral("纸张类型都不能空！"));
}

Notice listPrinterSaved(const ListPaperChoice& choice) {
    const QString paper = choice.paper == kContinuousPaper
                              ? QStringLiteral("有孔纸，宽度：") + choice.widthMm.trimmed() +
                                    QStringLiteral("毫米 高度：") + choice.heightMm.trimmed() +
                                    QStringLiteral("毫米")
                              : choice.paper;
    return Notice{QStringLiteral("【发货单】发货单打印机设置成功!\n打印机名称：") + choice.printer +
                      QStringLiteral("\n打印机纸张： ") + paper + QStringLiteral("\n打印份数： ") +
                      QString::number(copiesOf(choice.copies)),
                  kTitle};
}

} // namespace mldd::SetupNotices
