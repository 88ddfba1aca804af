#pragma once

#include <QtGlobal>

#include <memory>

class QProgressDialog;

namespace mldd {

/**
 * The dialog the start shows while the search index takes in the orders it
 * lacks (an older store, orders another program wrote). 稍后再建 stops it: the
 * rest goes in at the next start, and the search finds every order meanwhile.
 */
class SearchIndexProgress {
public:
    SearchIndexProgress();
    ~SearchIndexProgress();

    /** One step done of the catch-up; false once the seller chose 稍后再建. */
    bool operator()(qint64 done, qint64 total);

private:
    std::shared_ptr<QProgressDialog> m_dialog;
};

} // namespace mldd
