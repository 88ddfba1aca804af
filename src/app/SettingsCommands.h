#pragma once

#include "CommandContext.h"

#include <QObject>

namespace mldd {

class CaptureCommands;

/** The 设置 menu's entries that act on the data folder: express plan, decode files, bindings. */
class SettingsCommands : public QObject {
    Q_OBJECT

public:
    /** `capture`: its last page is the one the decode-file commands work on. */
    SettingsCommands(const CommandContext& context, const CaptureCommands& capture,
                     QObject* parent = nullptr);

    void editExpressPlan();
    void selfServiceDecodeFile();
    void refreshDecodeFile();
    void repairDecodeFiles();
    void checkDecodeFiles();
    void clearSellerBindings();
    /** 清空已提取记录: one shop's captured numbers (or all), after a question. */
    void clearCapturedNumbers();
    void installContextMenu();

private:
    CommandContext m_context;
    const CaptureCommands& m_capture;
};

} // namespace mldd
