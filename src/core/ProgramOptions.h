#pragma once

#include <QList>
#include <QString>

namespace mldd {

/** The seven program options kept in the settings row's SoftSet ("0|0|0|0|0|0|0"). */
class ProgramOptions {
public:
    static constexpr int kCount = 7;
    /** How often the "capture inside the program" hint was shown. */
    static constexpr int kCaptureHintShown = 1;

    /** Reads SoftSet; an empty or short text fills the missing options with 0. */
    static ProgramOptions fromText(const QString& text);
    QString toText() const;

    int value(int index) const { return m_values.value(index); }
    void setValue(int index, int value);

private:
    QList<int> m_values = QList<int>(kCount, 0);
};

/** Which of the twelve toolbar menu entries are shown ("1") or hidden ("0"): Menu_set. */
class MenuVisibility {
public:
    static constexpr int kEntries = 12;
    static inline const QString kDefault = QStringLiteral("111111111111");

    static MenuVisibility fromText(const QString& text);
    QString toText() const { return m_text; }

    /** An entry is hidden only when its character is "0". */
    bool isShown(int entry) const { return entry >= m_text.size() || m_text.at(entry) != u'0'; }
    void setShown(int entry, bool shown);

private:
    QString m_text = kDefault;
};

} // namespace mldd
