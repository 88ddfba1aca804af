#include "Commands.h"
#include "FileArgument.h"
#include "ProgramStart.h"

#include "capture/PageCapture.h"
#include "capture/PageKey.h"
#include "capture/SellerBindings.h"
#include "core/MainState.h"
#include "core/TextCodec.h"

namespace mldd::cli {

namespace {

const QString kCaptureUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] capture --url URL --page FILE [--bind SELLER=PROFILE]");

// Binds a captured seller id to a sender profile before the capture, as the binding dialog does.
std::optional<QString> bindSeller(MainState& state, const QString& binding) {
    const qsizetype equals = binding.indexOf(u'=');
    const QString seller = binding.left(equals);
    const QString profile = binding.mid(equals + 1);
    if (equals <= 0 || profile.isEmpty())
        return kCaptureUsage;
    const bool known = std::any_of(state.profiles.begin(), state.profiles.end(),
                                   [&](const SenderProfile& p) { return p.myIdh == profile; });
    if (!known)
        return QStringLiteral("没有这个发件人：%1").arg(profile);
    SellerBindings bindings = SellerBindings::load(state.folder, state.log);
    if (!bindings.bind(seller, profile, state.folder, state.log))
        return QStringLiteral("我的ID绑定没有保存，请检查数据文件夹。");
    return std::nullopt;
}

} // namespace

int runCapture(const CliContext& context, QStringList args) {
    bool missingValue = false;
    const std::optional<QString> url = takeOption(args, QStringLiteral("url"), &missingValue);
    const std::optional<QString> pagePath = takeOption(args, QStringLiteral("page"), &missingValue);
    const std::optional<QString> binding = takeOption(args, QStringLiteral("bind"), &missingValue);
    if (missingValue || !url || !pagePath || !args.isEmpty())
        return fail(Usage, kCaptureUsage);
    if (!pageKeyOf(*url) && *url != QStringLiteral("FIRST"))
        return fail(Usage, QStringLiteral("网页地址太短，不是一个订单页面：“%1”").arg(*url));
    QString message;
    const std::optional<QByteArray> page = readFileArgument(*pagePath, &message);
    if (!page)
        return fail(Failed, message);

    MainState state(context.dataFolder, context.database);
    if (!startProgram(state))
        return Failed;
    if (binding) {
        if (const auto refused = bindSeller(state, *binding))
            return fail(refused == kCaptureUsage ? Usage : Failed, *refused);
    }

    const PageCaptureResult result =
        capturePage(state, *url, TextCodec::decodeFileBytes(*page), ServiceClient());
    // A script cannot be asked which sender a new shop ships with, and a guess would print
    // someone else's return address: it is told how to say so.
    if (result.outcome == PageCaptureResult::Outcome::NeedsBinding)
        return fail(Failed, QStringLiteral("没有提取：店铺 %1 还没有对应的发件人。\n"
                                           "请用 --bind %1=发件人ID 指定它用哪个发件人发货，"
                                           "发件人见 mldd-cli profile list。")
                                .arg(result.count.unboundSeller));
    for (const Notice& notice : result.notices)
        writeError(notice.text + u'\n');
    // The line the capture ended with; the search for its decode file is over by now.
    if (result.outcome != PageCaptureResult::Outcome::Stored) {
        if (const QString line = result.statusLine(); !line.isEmpty())
            writeError(line + u'\n');
        return Failed;
    }
    writeOut(result.count.statusLine().trimmed() + u'\n');
    return Success;
}

} // namespace mldd::cli
