#include "WindowStart.h"

#include <QProcess>

namespace mldd {

bool startWindow(const QString& mldd, const QStringList& arguments) {
    QProcess window;
    window.setProgram(mldd);
    window.setArguments(arguments);
    window.setStandardInputFile(QProcess::nullDevice());
    window.setStandardOutputFile(QProcess::nullDevice());
    window.setStandardErrorFile(QProcess::nullDevice());
    return window.startDetached(); // detached processes get a session of their own
}

} // namespace mldd
