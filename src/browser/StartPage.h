#pragma once

#include "Favourites.h"

#include <QString>

namespace mldd {

/** The built-in browser's first page when the seller has no favourite yet: how 提取订单 goes. */
namespace StartPage {

/** The page's HTML: the steps of a capture and a link for each favourite. */
QString html(const QList<Favourite>& favourites);

} // namespace StartPage

} // namespace mldd
