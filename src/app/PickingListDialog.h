#pragma once

#include "core/Order.h"
#include "waybill/PageModel.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace mldd {

struct MainState;
class PagedPreview;
class Spooler;

/** 打印拣货单: the chosen orders' picking list, previewed, then printed or saved as PDF. */
class PickingListDialog : public QDialog {
    Q_OBJECT

public:
    PickingListDialog(MainState& state, Spooler& spooler, QList<Order> orders,
                      QWidget* parent = nullptr);

    PagedPreview* preview() const { return m_preview; }
    QCheckBox* byCourier() const { return m_byCourier; }
    QComboBox* printer() const { return m_printer; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* pdfButton() const { return m_pdf; }

private:
    void compose();
    void print();
    void saveAsPdf();

    MainState& m_state;
    Spooler& m_spooler;
    QList<Order> m_orders;
    QList<PageModel> m_pages;
    PagedPreview* m_preview;
    QCheckBox* m_byCourier;
    QComboBox* m_printer;
    QPushButton* m_print;
    QPushButton* m_pdf;
};

} // namespace mldd
