#pragma once

#include "NewTemplateDialog.h"

#include "core/Notice.h"
#include "core/Order.h"
#include "core/SenderProfile.h"
#include "waybill/ItemSources.h"
#include "waybill/PageModel.h"
#include "waybill/TemplateDocument.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QListWidget;
class QStackedWidget;
class QUndoGroup;

namespace mldd {

class Spooler;

struct MainState;
class CustomItemEditor;
class DesignerScene;
class DesignerView;
class ItemEditor;
class WaybillRenderer;

/**
 * The template designer: a courier template laid out on its form picture,
 * each box showing what an order prints, with undo, snapping, zoom, mm
 * rulers, new templates from a picture and a test print.
 */
class TemplateDesigner : public QMainWindow {
    Q_OBJECT

public:
    /** Opens `templateName` (the first installed one when empty), filled from `order` if given. */
    TemplateDesigner(MainState& state, const QString& templateName,
                  const std::optional<Order>& order = std::nullopt, QWidget* parent = nullptr);
    ~TemplateDesigner() override;

    /** Opens an installed template; false when it could not be opened (the seller was told). */
    bool openTemplate(const QString& name);
    /** Starts a new template from a picture or an installed template; false when refused. */
    bool startTemplate(const NewTemplateChoice& choice);
    /** Saves the template; false when it was not saved (the seller was told). */
    bool save();
    /** Prints the template as it stands with the sample order into a PDF. */
    std::optional<Notice> testPrintTo(const QString& pdf);
    /** The print run's spooler: with it 测试打印 can go to the waybill printer and its offsets. */
    void setSpooler(Spooler* spooler) { m_spooler = spooler; }

    TemplateDocument* document() const { return m_document.get(); }
    DesignerScene* scene() const { return m_scene; }
    DesignerView* view() const { return m_view; }
    ItemEditor* itemEditor() const { return m_itemEditor; }
    CustomItemEditor* customItemEditor() const { return m_customEditor; }
    QListWidget* itemList() const { return m_itemList; }
    QAction* undoAction() const { return m_undo; }
    QAction* redoAction() const { return m_redo; }

signals:
    /** A template was written: the main window draws its waybills again. */
    void templateSaved(const QString& name);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    /** The template as it stands with the sample order, as the printer gets it. */
    PageModel testPage();
    QWidget* createSidePanel();
    void createToolBar();
    QMenu* createAddMenu();
    void install(std::unique_ptr<TemplateDocument> document);
    bool confirmLeaving();
    bool tell(const QList<Notice>& notices);
    void fillItemList();
    void refreshListRow(ItemRef ref);
    void showSelection();
    void chooseFromList();
    void addItem(const ItemSource& source);
    void removeSelected();
    void newTemplate();
    void saveAs();
    void testPrint();
    void fitPaper();

    MainState& m_state;
    Spooler* m_spooler = nullptr;
    Order m_order;
    std::optional<SenderProfile> m_sender;
    std::unique_ptr<WaybillRenderer> m_renderer;
    std::unique_ptr<TemplateDocument> m_document;
    DesignerScene* m_scene = nullptr;
    DesignerView* m_view;
    QUndoGroup* m_undoGroup;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_showHidden = nullptr;
    QComboBox* m_templateList = nullptr;
    QComboBox* m_zoomList = nullptr;
    QListWidget* m_itemList = nullptr;
    QStackedWidget* m_editors = nullptr;
    ItemEditor* m_itemEditor = nullptr;
    CustomItemEditor* m_customEditor = nullptr;
    QLabel* m_position = nullptr;
};

} // namespace mldd
