#include "Commands.h"

#include <QCoreApplication>

#include <functional>
#include <map>

using namespace mldd;
using namespace mldd::cli;

namespace {

const QString kUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] COMMAND ...\n"
    "  orders [--state NAME] [--page N] [--json]   列出订单的一页\n"
    "  decode --rules FILE --page FILE [--goods]   用解码文件提取页面中的订单\n"
    "  goods --program FILE --text FILE            用商品规则整理商品文字\n"
    "  split-address [--area FILE] ADDRESS...     把地址分成省、市、县和目的地\n"
    "  recognize [--edit-panel] TEXT              从粘贴的文字中识别姓名、电话、邮编和地址\n"
    "  capture --url URL --page FILE [--bind SELLER=PROFILE]  提取网页中的订单并保存\n");

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);

    bool missingValue = false;
    const std::optional<QString> data = takeOption(args, QStringLiteral("data"), &missingValue);
    if (missingValue || args.isEmpty())
        return fail(Usage, kUsage);
    const CliContext context{data ? DataFolder(*data)
                                  : DataFolder::besideProgram(app.applicationDirPath())};

    const std::map<QString, std::function<int(const CliContext&, QStringList)>> commands{
        {QStringLiteral("orders"), runOrders},
        {QStringLiteral("decode"), runDecode},
        {QStringLiteral("goods"), runGoods},
        {QStringLiteral("split-address"), runSplitAddress},
        {QStringLiteral("recognize"), runRecognize},
        {QStringLiteral("capture"), runCapture},
    };
    const QString name = args.takeFirst();
    const auto command = commands.find(name);
    if (command == commands.end())
        return fail(Usage, QStringLiteral("没有这个命令：%1\n").arg(name) + kUsage);
    return command->second(context, args);
}
