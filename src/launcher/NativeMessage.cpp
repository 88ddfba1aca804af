#include "NativeMessage.h"
#include "WindowStart.h"

#include "browser/CapturedPage.h"
#include "browser/HandOver.h"
#include "browser/MessageFrame.h"
#include "browser/SingleWindow.h"
#include "core/CommandText.h"

#include <QFile>
#include <QJsonObject>

#include <cstring>

#include <unistd.h>

namespace mldd {

namespace {

// Reads exactly `size` bytes of standard input; fewer when it ends first.
QByteArray readExactly(qint64 size) {
    QByteArray bytes;
    char buffer[65536];
    while (bytes.size() < size) {
        const ssize_t got = ::read(STDIN_FILENO, buffer,
                                   size_t(std::min<qint64>(sizeof buffer, size - bytes.size())));
        if (got <= 0)
            break;
        bytes.append(buffer, got);
    }
    return bytes;
}

int answer(bool ok, const QString& message = {}) {
    QFile output;
    output.open(stdout, QIODevice::WriteOnly);
    output.write(MessageFrame::encode(MessageFrame::answer(ok, message)));
    output.flush();
    return ok ? 0 : 1;
}

HandOver::Reply deliver(const DataFolder& folder, const QString& mldd, const QStringList& arguments,
                        const QString& address, const QString& text) {
    const HandOver::Reply reply =
        HandOver::sendToWindow(folder, address, text, SingleWindow::kWaitMs);
    if (reply.delivered || reply.running || !startWindow(mldd, arguments))
        return reply;
    return HandOver::sendToWindow(folder, address, text, SingleWindow::kWaitMs, true);
}

} // namespace

int answerBrowser(const DataFolder& folder, const QString& mldd, const QStringList& mlddArguments) {
    const QByteArray head = readExactly(4);
    quint32 length = 0;
    if (head.size() == 4)
        std::memcpy(&length, head.constData(), 4);
    if (head.size() < 4)
        return answer(false, QStringLiteral("没有收到网页。"));
    if (length > MessageFrame::kMaxBytes)
        return answer(false, QStringLiteral("这个网页太大，不能提取。"));
    const MessageFrame::Read read = MessageFrame::decode(head + readExactly(length));
    const QString address = read.object.value(QStringLiteral("url")).toString();
    const QString text = read.object.value(QStringLiteral("text")).toString();
    if (read.status != MessageFrame::Read::Status::Complete || address.isEmpty())
        return answer(false, QStringLiteral("收到的消息格式不对，没有提取。"));
    if (const auto refusal = CapturedPage::refuseOversized(text))
        return answer(false, refusal->text);

    const HandOver::Reply reply =
        deliver(folder, mldd, mlddArguments, cutBefore(cutBefore(address, u'!'), u'?'), text);
    if (!reply.delivered)
        return answer(false, reply.running
                                 ? reply.undeliveredText(folder)
                                 : QStringLiteral("墨岚打单没有响应，请先运行墨岚打单再提取。"));
    return answer(reply.ok, reply.message);
}

} // namespace mldd
