#pragma once

#include "core/DataFolder.h"
#include "workbench/ContentsNames.h"

#include <QFrame>

class QLabel;
class QPushButton;

namespace mldd {

/**
 * The contents-name panel of an order card: the sender's candidate names to
 * click, and the commands that make the card's name the default or a candidate.
 * It closes as a popup does (Esc, or a click elsewhere), but is a window of its
 * own, so that screen readers can reach its names.
 */
class ContentsNamesPanel : public QFrame {
    Q_OBJECT

public:
    ContentsNamesPanel(const DataFolder& folder, const QString& senderId,
                       const QString& currentName, QWidget* parent = nullptr);

    QList<QPushButton*> nameButtons() const { return m_nameButtons; }
    QPushButton* defaultButton() const { return m_makeDefault; }
    QPushButton* addButton() const { return m_add; }
    QLabel* hintLine() const { return m_hint; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

signals:
    /** The seller clicked a candidate: it becomes the order's contents name. */
    void picked(const QString& name);
    /** The sender's names were saved: a new default changes what its orders print. */
    void saved();

private:
    void makeDefault();
    void addCurrent();
    void saveNames();

    DataFolder m_folder;
    QString m_senderId;
    QString m_current;
    ContentsNames m_names;
    QList<QPushButton*> m_nameButtons;
    QPushButton* m_makeDefault;
    QPushButton* m_add;
    QLabel* m_hint;
};

} // namespace mldd
