#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace mldd {

struct MainState;
struct SenderProfile;

/** The sender editor: the profiles with their fields, and each sender's contents names. */
class SenderProfilesDialog : public QDialog {
    Q_OBJECT

public:
    /** `presetId` fills the ID of a new profile (a seller id a capture could not place). */
    explicit SenderProfilesDialog(MainState& state, QWidget* parent = nullptr,
                         const QString& presetId = QString());

    QListWidget* profileList() const { return m_list; }
    QCheckBox* withMarketplace() const { return m_withMarket; }
    QComboBox* marketplace() const { return m_market; }
    QLineEdit* account() const { return m_account; }
    QLineEdit* address() const { return m_address; }
    QLineEdit* senderName() const { return m_name; }
    QLineEdit* phone1() const { return m_phone1; }
    /** 默认快递: the installed templates, after 不指定. */
    QComboBox* defaultCourier() const { return m_delivery; }
    QLineEdit* defaultContentsName() const { return m_defaultName; }
    QLineEdit* contentsCandidates() const { return m_candidates; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* designButton() const { return m_design; }

signals:
    /** A profile was saved or deleted: the main window's sender lists are stale. */
    void profilesChanged();

private:
    void fillList(const QString& select);
    void showProfile(int row);
    void showId(const QString& id);
    SenderProfile profileFromBoxes() const;
    QString chosenMarketplace() const;
    QString builtId() const;
    void save();
    void remove();
    void editDesign();

    MainState& m_state;
    QListWidget* m_list;
    QCheckBox* m_withMarket;
    QComboBox* m_market;
    QLineEdit* m_account;
    QLineEdit* m_address;
    QLineEdit* m_name;
    QLineEdit* m_company;
    QLineEdit* m_phone1;
    QLineEdit* m_phone2;
    QLineEdit* m_zipcode;
    QLineEdit* m_handler;
    QLineEdit* m_start;
    QComboBox* m_delivery;
    QLineEdit* m_defaultName;
    QLineEdit* m_candidates;
    QRadioButton* m_pickFromList;
    QRadioButton* m_defaultOnly;
    QPushButton* m_save;
    QPushButton* m_delete;
    QPushButton* m_design;
};

} // namespace mldd
