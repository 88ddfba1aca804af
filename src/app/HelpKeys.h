#pragma once

#include <QHash>
#include <QObject>
#include <QUrl>

#include <functional>

class QWidget;

namespace mldd {

/**
 * F1 anywhere in the program opens the help page of the window it was pressed
 * in: installed on the application, it maps each window's class to its page of
 * the help folder shipped with the program. A window without its own page
 * (a message box, a small question) shows the page of the window it belongs to.
 * A window's own help button asks for a page through `request`, and the same
 * HelpKeys opens it.
 */
class HelpKeys : public QObject {
    Q_OBJECT
public:
    using Opener = std::function<void(const QUrl&)>;

    /** `open` shows a page; by default the desktop's web browser does. */
    explicit HelpKeys(QString helpFolder, Opener open = {});

    /** The help folder of a program in `programPath`: beside it, or the installed one. */
    static QString folderFor(const QString& programPath);

    /** The page, with its section, that F1 opens in `window`. */
    QUrl pageOf(const QWidget* window) const;

    /**
     * Gives a window of a general kind (a file chooser) the page of what it is used for;
     * it goes before the page of its class and of the window it belongs to.
     */
    static void setPage(QWidget* window, const QString& page);

    /** Asks the HelpKeys installed on the application to open `page` ("offsets.html#read"). */
    static void request(QWidget* from, const QString& page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QUrl urlOf(const QString& page) const;

    QString m_folder;
    Opener m_open;
};

} // namespace mldd
