#include "Commands.h"

#include "core/DataDefaults.h"
#include "core/ProcessHeap.h"
#include "core/ProgramVersion.h"

#include <QGuiApplication>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string_view>

using namespace mldd;
using namespace mldd::cli;

namespace {

const QString kUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] [--database postgresql://用户@服务器/数据库] COMMAND ...\n"
    "  orders [--state NAME] [--page N] [--json]   列出订单的一页\n"
    "  orders --search 字段=内容 [--page N] [--json]  像搜索框一样搜索订单（字段如 买家姓名）\n"
    "  split-address [--area FILE] ADDRESS...     把地址分成省、市、县和目的地\n"
    "  recognize [--edit-panel] TEXT              "
    "从粘贴的文字中识别姓名、电话、邮编、地址和省市县\n"
    "  add --paste FILE [--sender ID] [--goods TEXT]  一次保存粘贴的许多收件人（FILE 为 - "
    "时读标准输入）\n"
    "  codec encode|decode TEXT                    版面编码、解码\n"
    "  code128 TEXT                                条码的符号值\n"
    "  print waybill --ids 1,2,… (--pdf OUT [--dpi N] | --printer NAME)  打印快递单\n"
    "  print shiplist --ids 1,2,… (--pdf OUT [--dpi N] [--paper WxH] | --printer NAME)  打印发货单\n"
    "  print picking --ids 1,2,… [--by-courier] (--pdf OUT | --printer NAME)  打印拣货单\n"
    "  decode --rules FILE --page FILE [--goods]   用解码文件提取页面中的订单\n"
    "  goods --program FILE --text FILE            用商品规则整理商品文字\n"
    "  profile save --id ID --address TEXT [--market NAME] [--name T] ...  保存发件人\n"
    "  profile delete --id ID [--market NAME]     删除发件人\n"
    "  profile list [--json]                      列出发件人\n"
    "  capture --url URL --page FILE [--bind SELLER=PROFILE]  提取网页中的订单并保存\n"
    "  plan [--province-only] TEMPLATE [PROVINCE=TEMPLATE ...]  设置快递方案\n"
    "  decode-files refresh --url URL | repair | check  更新、修复解码文件\n"
    "  printer set --printer NAME --language tspl|zpl|epl|driver [--dpi N] [--paper WxH]\n"
    "         [--gap MM | --mark MM] [--darkness N] [--speed N]  设置打印机的打印语言和标签\n"
    "  printer show --printer NAME                 显示打印机的打印语言和标签\n"
    "  capital AMOUNT                              金额的人民币大写\n"
    "  import --file F --layout NAME [--sheet S] [--header-row N] [--sender MYID]\n"
    "         [--template NAME] [--map 字段=列]…   导入表格中的订单\n"
    "  writeback --file F --layout NAME [--sheet S]  把快递单号和快递公司写回表格\n"
    "  db backup | list | restore [FILE]           备份订单数据库、列出备份、用备份恢复\n"
    "  db check                                    检查整个订单数据库，修复索引，做当天的备份\n"
    "  captured list | clear (--shop ID | --all)  列出、清空已提取记录（订单号）\n"
    "  tracking import --file F                    按订单号导入快递公司表格里的运单号\n"
    "  tracking run --from NUMBER --ids 1,2,…      连号的快递单依次填写运单号\n"
    "  db migrate --from FILE --to postgresql://…  把订单数据库复制到共用的服务器上\n"
    "每个命令加 --help 显示它的用法；--version 显示版本。\n");

} // namespace

int main(int argc, char* argv[]) {
    ProcessHeap::keepFreedMemoryForReuse();
    if (printedVersion(argc, argv))
        return 0;
    // Printing needs fonts and with them a GUI application, which opens no window here.
    const bool printing =
        std::find(argv + 1, argv + argc, std::string_view("print")) != argv + argc;
    if (printing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application =
        printing ? std::make_unique<QGuiApplication>(argc, argv)
                 : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication& app = *application;
    QStringList args = app.arguments().mid(1);

    bool missingValue = false;
    const std::optional<QString> data = takeOption(args, QStringLiteral("data"), &missingValue);
    bool missingDatabase = false;
    const std::optional<QString> database =
        takeOption(args, QStringLiteral("database"), &missingDatabase);
    if (missingValue || missingDatabase || args.isEmpty())
        return fail(Usage, kUsage);
    if (isHelp(args.first())) {
        writeOut(kUsage);
        return Success;
    }
    const CliContext context{DataDefaults::open(data.value_or(QString()), app.applicationDirPath()),
                             database.value_or(QString())};

    const std::map<QString, std::function<int(const CliContext&, QStringList)>> commands{
        {QStringLiteral("orders"), runOrders},
        {QStringLiteral("split-address"), runSplitAddress},
        {QStringLiteral("recognize"), runRecognize},
        {QStringLiteral("add"), runAdd},
        {QStringLiteral("codec"), runCodec},
        {QStringLiteral("code128"), runCode128},
        {QStringLiteral("print"), runPrint},
        {QStringLiteral("printer"), runPrinter},
        {QStringLiteral("decode"), runDecode},
        {QStringLiteral("goods"), runGoods},
        {QStringLiteral("profile"), runProfile},
        {QStringLiteral("capture"), runCapture},
        {QStringLiteral("plan"), runPlan},
        {QStringLiteral("decode-files"), runDecodeFiles},
        {QStringLiteral("capital"), runCapital},
        {QStringLiteral("db"), runDb},
        {QStringLiteral("captured"), runCaptured},
        {QStringLiteral("tracking"), runTracking},
        {QStringLiteral("import"), runImport},
        {QStringLiteral("writeback"), runWriteBack},
    };
    const QString name = args.takeFirst();
    const auto command = commands.find(name);
    if (command == commands.end())
        return fail(Usage, QStringLiteral("没有这个命令：%1\n").arg(name) + kUsage);
    if (std::any_of(args.begin(), args.end(), isHelp)) {
        writeOut(commandUsage(kUsage, name));
        return Success;
    }
    return command->second(context, args);
}
