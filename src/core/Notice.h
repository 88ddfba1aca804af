#pragma once

#include <QString>

namespace mldd {

/** A message for the user, returned by the libraries so that windows only show it. */
struct Notice {
    enum class Icon { Information, Exclamation, Critical };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Yes, No, Cancel };

    QString text;
    QString title = QStringLiteral("墨岚打单");
    Icon icon = Icon::Information;
    Buttons buttons = Buttons::Ok;
};

} // namespace mldd
