#include "ProgramOptions.h"

#include <QStringList>

namespace mldd {

ProgramOptions ProgramOptions::fromText(const QString& text) {
    ProgramOptions options;
    const QStringList fields = text.split(u'|');
    for (int i = 0; i < kCount && i < fields.size(); ++i)
        options.m_values[i] = fields.at(i).trimmed().toInt(); // a non-number reads as 0
    return options;
}

QString ProgramOptions::toText() const {
    QStringList fields;
    for (int value : m_values)
        fields.append(QString::number(value));
    return fields.join(u'|');
}

void ProgramOptions::setValue(int index, int value) {
    if (index >= 0 && index < kCount)
        m_values[index] = value;
}

MenuVisibility MenuVisibility::fromText(const QString& text) {
    MenuVisibility menu;
    if (!text.isEmpty())
        menu.m_text = text;
    return menu;
}

void MenuVisibility::setShown(int entry, bool shown) {
    if (entry < 0 || entry >= kEntries)
        return;
    if (m_text.size() < kEntries)
        m_text = m_text.leftJustified(kEntries, u'1');
    m_text[entry] = shown ? u'1' : u'0';
}

} // namespace mldd
