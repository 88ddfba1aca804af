#include "Commands.h"

#include "waybill/LayoutCodec.h"

namespace mldd::cli {

int runCodec(const CliContext&, QStringList args) {
    if (args.size() != 2 || (args[0] != u"encode" && args[0] != u"decode"))
        return fail(Usage, QStringLiteral("用法: mldd-cli codec encode|decode TEXT"));
    if (args[0] == u"encode") {
        writeOut(LayoutCodec::encode(args[1]) + u'\n');
        return Success;
    }
    const std::optional<QString> text = LayoutCodec::decode(args[1]);
    if (!text)
        return fail(Failed, QStringLiteral("这不是版面编码的文本，无法解码。"));
    writeOut(*text + u'\n');
    return Success;
}

} // namespace mldd::cli
