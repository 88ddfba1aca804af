#include "CommandText.h"

#include "MainState.h"

namespace mldd {

namespace {
constexpr int kHintTimes = 1;

bool hasExtension(const QString& text, QStringView extension) {
    return text.size() >= 3 && text.right(4).toLower() == extension;
}
} // namespace

QString cutBefore(const QString& text, QChar mark) {
    const qsizetype at = text.indexOf(mark);
    return at < 0 ? text : text.left(at);
}

CommandAction handleCommandText(MainState& state, const QString& text, CommandSource source) {
    CommandAction action;
    action.text = cutBefore(text, u'!');
    if (source == CommandSource::Request) {
        action.text = cutBefore(action.text, u'?');
        state.filter.caption.clear();
    }
    if (action.text.isEmpty())
        return action;

    if (hasExtension(action.text, u".mlk")) {
        action.kind = CommandAction::Kind::OpenWaybillFile;
        return action;
    }
    if (hasExtension(action.text, u".mlf")) {
        action.kind = CommandAction::Kind::OpenShipListFile;
        return action;
    }

    action.kind = CommandAction::Kind::Capture;
    const int shown = state.options.value(ProgramOptions::kCaptureHintShown);
    if (shown < kHintTimes) {
        action.hint =
            Notice{QStringLiteral("软件内部提取比右键提取更好，更稳定。看看视频帮助。"),
                   QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
        action.helpPage = QStringLiteral("capture.html#browser");
        state.options.setValue(ProgramOptions::kCaptureHintShown, shown + 1);
        state.saveOptions();
    }
    state.pendingCapture = action.text;
    state.displayMode = MainState::DisplayMode::Waybill;
    return action;
}

} // namespace mldd
