#pragma once

#include "PlaceTable.h"

#include "core/ErrorLog.h"

#include <QString>

namespace mldd {

/** The fields the address splitter fills in a record being built. */
struct PlaceFields {
    QString province;
    QString city;
    QString county;
    QString destination;
};

/**
 * Cuts the leading province, city and county named in `table` off `address`
 * (changed in place) into `fields`, and works out the destination name. The
 * province and city written again after them go too; an address that begins
 * at the city or county is completed when only one place has that name.
 * A faulty table entry is logged under "12368" and ends the call; what was
 * filled until then stays.
 */
void SplitAddress(const PlaceTable& table, PlaceFields& fields, QString& address,
                  const ErrorLog& log);

} // namespace mldd
