#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;

namespace mldd {

/**
 * 数据库设置: shown when the shared order store cannot be used at start-up. It
 * says why and lets the seller correct the server's address, or clear it to
 * work on this station's own file.
 */
class DatabaseSettingsDialog : public QDialog {
    Q_OBJECT

public:
    DatabaseSettingsDialog(const QString& message, const QString& address, QWidget* parent = nullptr);

    /** The address the seller chose to try, or none when the program is to end. */
    static std::optional<QString> ask(const QString& message, const QString& address);

    QLineEdit* addressEdit() const { return m_address; }
    QString address() const;

private:
    void retry();

    QLabel* m_message;
    QLineEdit* m_address;
};

} // namespace mldd
