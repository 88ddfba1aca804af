#include "BrowserPanel.h"

#include "FavouritesDialog.h"
#include "NoticeBox.h"

#include "browser/CapturedPage.h"
#include "browser/StartPage.h"
#include "browser/TemplateDownload.h"
#include "capture/DecodeFiles.h"
#include "capture/DecodeMaintenance.h"
#include "core/MainState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTime>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace mldd {

/** One page tab; pages that open a new window open a new tab. */
class BrowserTab : public QWebEngineView {
public:
    explicit BrowserTab(BrowserPanel* panel) : QWebEngineView(panel), m_panel(panel) {}

protected:
    QWebEngineView* createWindow(QWebEnginePage::WebWindowType) override {
        return m_panel->addTab();
    }

private:
    BrowserPanel* m_panel;
};

namespace {

// The board's ticked check boxes with the attributes that describe each template.
const QString kTickedTemplates = QStringLiteral(
    "JSON.stringify(Array.from(document.querySelectorAll('input')).filter(e => e.checked)"
    ".map(e => ({name: e.getAttribute('Name') || '', id: e.getAttribute('Id') || '',"
    " alt: e.getAttribute('alt') || ''})))");
const QString kAddressAndText =
    QStringLiteral("JSON.stringify([document.URL, document.body ? document.body.innerText : ''])");

QPushButton* toolButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

BrowserPanel::BrowserPanel(MainState& state, QWidget* parent)
    : QWidget(parent), m_state(state), m_favourites(Favourites::load(state.folder, state.log)) {
    auto* back = toolButton(QStringLiteral("IE_GoBack"), QStringLiteral("后退"), this);
    auto* forward = toolButton(QStringLiteral("IE_GoForward"), QStringLiteral("前进"), this);
    auto* refresh = toolButton(QStringLiteral("IE_Refresh"), QStringLiteral("刷新"), this);
    auto* go = toolButton(QStringLiteral("IE_Go"), QStringLiteral("转到"), this);
    auto* favourite = toolButton(QStringLiteral("IE_Favorite"), QStringLiteral("收藏"), this);
    m_extract = toolButton(QStringLiteral("IE_Extract"), QStringLiteral("提取订单"), this);
    m_extract->setStyleSheet(QStringLiteral("font-weight: bold;"));
    m_backToOrders = toolButton(QStringLiteral("IE_Back"), QStringLiteral("返回订单"), this);
    m_download = toolButton(QStringLiteral("scts"), TemplateDownload::kIdleCaption, this);
    // The short commands as wide as their captions: on a 1024-pixel screen the room goes to
    // the address, which the seller reads to know the page.
    for (QPushButton* button : {back, forward, refresh, go, favourite})
        button->setMaximumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
    m_address = new QComboBox(this);
    m_address->setEditable(true);
    m_address->setObjectName(QStringLiteral("Combo_ie"));
    m_address->setAccessibleName(QStringLiteral("网页地址"));
    m_address->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_closeAfterCapture = new QCheckBox(QStringLiteral("提取订单后关闭"), this);
    m_closeAfterCapture->setObjectName(QStringLiteral("Check_ie"));
    m_closeAfterCapture->setChecked(m_favourites.closeAfterCapture());
    auto* addressLabel = new QLabel(QStringLiteral("地址"), this);
    addressLabel->setBuddy(m_address);

    auto* toolbar = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{back, forward, refresh, addressLabel})
        toolbar->addWidget(widget);
    toolbar->addWidget(m_address, 1);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{go, favourite, m_extract, m_closeAfterCapture, m_download,
                                         m_backToOrders})
        toolbar->addWidget(widget);

    auto* favourites = new QHBoxLayout;
    favourites->addWidget(new QLabel(QStringLiteral("收藏夹："), this));
    for (int i = 0; i < Favourites::kPlaces; ++i) {
        auto* link = new QLabel(this);
        link->setObjectName(QStringLiteral("Label_ie%1").arg(24 + i));
        connect(link, &QLabel::linkActivated, this, &BrowserPanel::open);
        favourites->addWidget(link);
        m_favouriteLinks.append(link);
    }
    favourites->addStretch();
    m_progress = new QLabel(this);
    favourites->addWidget(m_progress);

    m_tabs = new QTabWidget(this);
    m_tabs->setTabsClosable(true);
    m_tabs->setDocumentMode(true);
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int index) {
        if (m_tabs->count() > 1)
            m_tabs->widget(index)->deleteLater();
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, &BrowserPanel::showCurrent);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(toolbar);
    layout->addLayout(favourites);
    layout->addWidget(m_tabs, 1);

    connect(back, &QPushButton::clicked, this, [this] { currentView()->back(); });
    connect(forward, &QPushButton::clicked, this, [this] { currentView()->forward(); });
    connect(refresh, &QPushButton::clicked, this, [this] { currentView()->reload(); });
    connect(go, &QPushButton::clicked, this, [this] { open(m_address->currentText()); });
    connect(m_address->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { open(m_address->currentText()); });
    connect(favourite, &QPushButton::clicked, this, &BrowserPanel::editFavourites);
    connect(m_extract, &QPushButton::clicked, this, &BrowserPanel::extract);
    connect(m_backToOrders, &QPushButton::clicked, this, &BrowserPanel::closeRequested);
    connect(m_download, &QPushButton::clicked, this, &BrowserPanel::downloadTemplates);
    connect(m_closeAfterCapture, &QCheckBox::toggled, this,
            [this](bool close) { m_favourites.setCloseAfterCapture(close); });

    showFavourites();
    addTab();
    showStart();
    refreshDecodeFileList();
}

void BrowserPanel::showStart() {
    const QList<Favourite>& list = m_favourites.list();
    if (list.isEmpty())
        currentView()->setHtml(StartPage::html(list));
    else
        open(list.first().address);
}

void BrowserPanel::refreshDecodeFileList() {
    auto* idList = new QWebEnginePage(this);
    connect(idList, &QWebEnginePage::loadFinished, this, [this, idList](bool ok) {
        applyIdList(idList, ok, true);
    });
    idList->load(QUrl(DecodeMaintenance::idListAddress(
        m_state.serviceBase, QTime::currentTime().msecsSinceStartOfDay() / 1000)));
}

void BrowserPanel::applyIdList(QWebEnginePage* page, bool loaded, bool outOfSight) {
    const QPointer<QWebEnginePage> kept(page);
    if (!loaded) {
        if (outOfSight)
            page->deleteLater();
        return;
    }
    page->toPlainText([this, kept, outOfSight](const QString& idList) {
        DecodeFiles(m_state.folder, m_state.log).applyIdList(idList);
        if (kept && outOfSight)
            kept->deleteLater();
    });
}

QWebEngineView* BrowserPanel::currentView() const {
    return qobject_cast<QWebEngineView*>(m_tabs->currentWidget());
}

QWebEngineView* BrowserPanel::addTab() {
    auto* view = new BrowserTab(this);
    const int index = m_tabs->addTab(view, QStringLiteral("新网页"));
    connect(view, &QWebEngineView::titleChanged, this, [this, view](const QString& title) {
        const int at = m_tabs->indexOf(view);
        if (at >= 0)
            m_tabs->setTabText(at, title.left(16));
    });
    connect(view, &QWebEngineView::urlChanged, this, &BrowserPanel::showCurrent);
    connect(view, &QWebEngineView::loadFinished, this,
            [this, view](bool ok) { pageLoaded(view, ok); });
    m_tabs->setCurrentIndex(index);
    return view;
}

void BrowserPanel::open(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (url.isValid())
        currentView()->load(url);
}

void BrowserPanel::showCurrent() {
    QWebEngineView* view = currentView();
    if (!view)
        return;
    m_address->setEditText(view->url().toString());
    m_download->setVisible(
        view->url().toString().startsWith(TemplateDownload::boardAddress(m_state.serviceBase)));
}

void BrowserPanel::pageLoaded(QWebEngineView* view, bool ok) {
    showCurrent();
    if (view->url().toString().contains(QStringLiteral("refreshcode")))
        applyIdList(view->page(), ok, false);
}

void BrowserPanel::extract() {
    currentView()->page()->runJavaScript(kAddressAndText, [this](const QVariant& result) {
        const QJsonArray page = QJsonDocument::fromJson(result.toString().toUtf8()).array();
        const CapturedPage captured =
            CapturedPage::fromBrowser(page.at(0).toString(), page.at(1).toString());
        if (m_closeAfterCapture->isChecked())
            emit closeRequested();
        emit pageCaptured(captured.address, captured.text);
    });
}

void BrowserPanel::downloadTemplates() {
    if (!m_download->text().contains(QStringLiteral("【下载单据】")))
        return; // a download is running
    m_download->setText(TemplateDownload::kBusyCaption);
    currentView()->page()->runJavaScript(kTickedTemplates, [this](const QVariant& ticked) {
        const TemplateDownload::Result result = TemplateDownload::downloadSelected(
            m_state, TemplateDownload::choicesFromJson(ticked.toString()), ServiceClient(),
            [this](const QString& line) { m_progress->setText(line); });
        m_progress->clear();
        m_download->setText(TemplateDownload::kIdleCaption);
        if (!result.downloaded.isEmpty())
            emit templatesChanged();
        for (const Notice& notice : result.notices)
            showNotice(this, notice);
    });
}

void BrowserPanel::editFavourites() {
    FavouritesDialog editor(m_favourites, currentView()->title(), currentView()->url().toString(),
                            this);
    editor.exec();
    showFavourites();
}

void BrowserPanel::showFavourites() {
    const QList<Favourite>& list = m_favourites.list();
    for (int i = 0; i < m_favouriteLinks.size(); ++i) {
        QLabel* link = m_favouriteLinks.at(i);
        link->setVisible(i < list.size());
        if (i < list.size())
            link->setText(
                QStringLiteral("<a href=\"%1\">%2</a>")
                    .arg(list.at(i).address.toHtmlEscaped(), list.at(i).title.toHtmlEscaped()));
    }
}

} // namespace mldd
