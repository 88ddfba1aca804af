#pragma once

#include <QSqlDatabase>
#include <QStringList>

namespace mldd {

/** The statements that bring an older order database up to date, in the order they run. */
const QStringList& schemaUpgradeStatements();

/**
 * Runs every upgrade statement; one that fails (the column or table is
 * already there) is skipped silently. Returns how many took effect.
 */
int upgradeSchema(QSqlDatabase& db);

} // namespace mldd
