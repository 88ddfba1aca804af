#include "HelpKeys.h"

#include "core/DataFolder.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QWidget>

namespace mldd {

namespace {

// Each window's page, by the window's class name.
const QHash<QString, QString>& pages() {
    static const QHash<QString, QString> table{
        {QStringLiteral("mldd::MainWindow"), QStringLiteral("index.html")},
        {QStringLiteral("mldd::ManualEntryDialog"), QStringLiteral("capture.html#manual")},
        {QStringLiteral("mldd::BatchPasteDialog"), QStringLiteral("capture.html#batch")},
        {QStringLiteral("mldd::DecodeFileEditor"), QStringLiteral("capture.html#decode")},
        {QStringLiteral("mldd::FavouritesDialog"), QStringLiteral("capture.html#browser")},
        {QStringLiteral("mldd::ExcelImportDialog"), QStringLiteral("import.html#import")},
        {QStringLiteral("mldd::SenderProfilesDialog"), QStringLiteral("setup.html#sender")},
        {QStringLiteral("mldd::MenuSettingsDialog"), QStringLiteral("setup.html#menu")},
        {QStringLiteral("mldd::ExpressPlanDialog"), QStringLiteral("setup.html#plan")},
        {QStringLiteral("mldd::PrinterSetupDialog"), QStringLiteral("setup.html#printers")},
        {QStringLiteral("mldd::ShippingListDesigner"), QStringLiteral("shiplist.html")},
        {QStringLiteral("mldd::PrintSettingsDialog"), QStringLiteral("print.html")},
        {QStringLiteral("mldd::PrintPreviewDialog"), QStringLiteral("print.html")},
        {QStringLiteral("mldd::PickingListDialog"), QStringLiteral("print.html#picking")},
        {QStringLiteral("mldd::TemplateDesigner"), QStringLiteral("print.html#designer")},
        {QStringLiteral("mldd::OffsetAdjustDialog"), QStringLiteral("offsets.html")},
        {QStringLiteral("mldd::DatabaseSettingsDialog"), QStringLiteral("stations.html")},
        {QStringLiteral("mldd::TrackingNumberDialog"), QStringLiteral("import.html#tracking")},
    };
    return table;
}

const char kPageProperty[] = "mlddHelpPage";

// A help button's wish for a page, sent to its window for the application's HelpKeys to answer.
class HelpRequest : public QEvent {
public:
    explicit HelpRequest(QString page) : QEvent(type()), m_page(std::move(page)) {}
    static QEvent::Type type() {
        static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
        return registered;
    }
    const QString& page() const { return m_page; }

private:
    QString m_page;
};

} // namespace

HelpKeys::HelpKeys(QString helpFolder, Opener open)
    : m_folder(std::move(helpFolder)), m_open(std::move(open)) {
    if (!m_open)
        m_open = [](const QUrl& page) { QDesktopServices::openUrl(page); };
}

QString HelpKeys::folderFor(const QString& programPath) {
    const QString installed = DataFolder::installedFiles(programPath);
    return (installed.isEmpty() ? programPath : installed) + QStringLiteral("/help");
}

QUrl HelpKeys::pageOf(const QWidget* window) const {
    QString page = QStringLiteral("index.html");
    for (const QWidget* w = window; w;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        if (const QString given = w->property(kPageProperty).toString(); !given.isEmpty()) {
            page = given;
            break;
        }
        const auto found = pages().constFind(QString::fromLatin1(w->metaObject()->className()));
        if (found != pages().constEnd()) {
            page = *found;
            break;
        }
    }
    return urlOf(page);
}

QUrl HelpKeys::urlOf(const QString& page) const {
    const qsizetype hash = page.indexOf(u'#');
    QUrl url = QUrl::fromLocalFile(m_folder + u'/' + page.left(hash));
    if (hash >= 0)
        url.setFragment(page.mid(hash + 1));
    return url;
}

void HelpKeys::setPage(QWidget* window, const QString& page) {
    window->setProperty(kPageProperty, page);
}

void HelpKeys::request(QWidget* from, const QString& page) {
    HelpRequest asked(page);
    QCoreApplication::sendEvent(from, &asked);
}

bool HelpKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == HelpRequest::type()) {
        m_open(urlOf(static_cast<HelpRequest*>(event)->page()));
        return true;
    }
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1 ||
        !watched->isWidgetType())
        return false;
    m_open(pageOf(static_cast<QWidget*>(watched)->window()));
    return true;
}

} // namespace mldd
