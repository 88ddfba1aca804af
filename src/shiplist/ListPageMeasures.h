#pragma once

namespace mldd::ListPageMeasures {

// Twips on the printed page, the same on shipping lists and picking lists so that both
// look like one program's pages.
inline constexpr double kMargin = 567; // one centimetre around the list
inline constexpr double kPadding = 60; // inside a table cell, and between items
inline constexpr double kRuleWidth = 10;

} // namespace mldd::ListPageMeasures
