#pragma once

#include "spreadsheet/Workbook.h"

#include <sys/resource.h>

namespace mldd::bench {

/** The sheet a workbook opens on, read whole; the benchmarks' files are known to read. */
inline SheetTable readSheet(const QString& path) {
    auto opened = Workbook::open(path);
    const Workbook& book = *std::get<std::unique_ptr<Workbook>>(opened);
    return std::get<SheetTable>(book.read(book.sheetNames().value(book.activeSheet())));
}

/** The process's peak resident memory so far. */
inline double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

} // namespace mldd::bench
