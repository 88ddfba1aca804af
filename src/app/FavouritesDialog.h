#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace mldd {

class Favourites;

/** The favourites editor: adds the page shown (title and link) and removes favourites. */
class FavouritesDialog : public QDialog {
    Q_OBJECT

public:
    FavouritesDialog(Favourites& favourites, const QString& title, const QString& link,
                     QWidget* parent = nullptr);

    QLineEdit* titleField() const { return m_title; }
    QLineEdit* linkField() const { return m_link; }
    QListWidget* list() const { return m_list; }
    /** Command_save: adds the favourite, or says why not. */
    void save();
    /** Removes the chosen favourite after asking. */
    void removeChosen();

private:
    void showList();

    Favourites& m_favourites;
    QLineEdit* m_title;
    QLineEdit* m_link;
    QListWidget* m_list;
};

} // namespace mldd
