#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace mldd::test {

/**
 * Answers the windows that open modally while it lives, as a seller would:
 * each message box with the next of `answers` (Yes or OK once they run out),
 * keeping its text; any other dialog is handed to `onDialog`.
 */
class ModalAnswers {
public:
    explicit ModalAnswers(QList<QMessageBox::StandardButton> answers = {},
                          std::function<void(QDialog*)> onDialog = {})
        : m_answers(std::move(answers)), m_onDialog(std::move(onDialog)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(10);
    }

    QStringList texts;

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_handled)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            texts.append(box->text());
            QMessageBox::StandardButton wanted =
                m_answers.isEmpty() ? QMessageBox::NoButton : m_answers.takeFirst();
            QAbstractButton* button = box->button(wanted);
            if (!button)
                button = box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes)
                                                       : box->button(QMessageBox::Ok);
            button->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && m_onDialog) {
            // Once, and outside this timer's call, so that the boxes it opens get answered too.
            m_handled = dialog;
            QTimer::singleShot(0, dialog, [this, dialog] { m_onDialog(dialog); });
        }
    }

    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_answers;
    std::function<void(QDialog*)> m_onDialog;
    // Guarded: a later box may be made at the address of a handled dialog that is gone.
    QPointer<QWidget> m_handled;
};

} // namespace mldd::test
