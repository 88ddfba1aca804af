#pragma once

#include "browser/Favourites.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QWebEnginePage;
class QWebEngineView;

namespace mldd {

struct MainState;

/**
 * The built-in browser: page tabs, the toolbar with 提取订单, the favourites,
 * and the template board's 【下载单据】 button while the board is shown.
 */
class BrowserPanel : public QWidget {
    Q_OBJECT

public:
    explicit BrowserPanel(MainState& state, QWidget* parent = nullptr);

    /** Opens an address in the current tab. */
    void open(const QString& address);
    /** Captures the current page: IE_Extract. */
    void extract();
    /** Downloads the templates ticked on the board page: the 【下载单据】 button. */
    void downloadTemplates();

    QWebEngineView* currentView() const;
    QTabWidget* tabs() const { return m_tabs; }
    QComboBox* addressBox() const { return m_address; }
    QCheckBox* closeAfterCaptureBox() const { return m_closeAfterCapture; }
    QPushButton* extractButton() const { return m_extract; }
    QPushButton* downloadButton() const { return m_download; }
    QPushButton* backButton() const { return m_backToOrders; }
    const QList<QLabel*>& favouriteLinks() const { return m_favouriteLinks; }

signals:
    /** The seller captured a page: the capture flow takes it from here. */
    void pageCaptured(const QString& address, const QString& text);
    /** Back to the order list: 返回订单, or a capture with "提取订单后关闭" ticked. */
    void closeRequested();
    /** Templates were downloaded: the courier lists need filling again. */
    void templatesChanged();

private:
    friend class BrowserTab;
    QWebEngineView* addTab();
    void pageLoaded(QWebEngineView* view, bool ok);
    /** The first favourite, else the start page with the steps of a capture. */
    void showStart();
    /** Fetches the service's list of current decode files out of sight, and applies it. */
    void refreshDecodeFileList();
    /** Applies a loaded id-list page; `outOfSight` pages are deleted once done. */
    void applyIdList(QWebEnginePage* page, bool loaded, bool outOfSight);
    void showCurrent();
    void editFavourites();
    void showFavourites();

    MainState& m_state;
    Favourites m_favourites;
    QTabWidget* m_tabs = nullptr;
    QComboBox* m_address = nullptr;
    QCheckBox* m_closeAfterCapture = nullptr;
    QPushButton* m_extract = nullptr;
    QPushButton* m_download = nullptr;
    QPushButton* m_backToOrders = nullptr;
    QLabel* m_progress = nullptr;
    QList<QLabel*> m_favouriteLinks;
};

} // namespace mldd
