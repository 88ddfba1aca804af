#pragma once

#include <QApplication>
#include <QCursor>

namespace mldd {

/** The wait cursor while the window works on something the seller asked for and waits on. */
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace mldd
