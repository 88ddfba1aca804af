#pragma once

#include "core/DataFolder.h"
#include "core/Notice.h"

#include <QStringList>

#include <optional>

namespace mldd {

struct MainState;

/** The courier forms a seller picks from: the installed templates, and those orders name. */
namespace CourierList {

/** The installed templates, shipped and downloaded alike: the layouts in Data/Delivery. */
QStringList installed(const DataFolder& folder);

/**
 * The 快递单据 filter's items after 所有: every installed template, every
 * downloaded one, then every other courier the listed orders name, each once.
 */
QStringList forFilter(const MainState& state);

/**
 * Why `typed` may not become an order's courier: no installed template has
 * that name. The order's `stored` courier may stay, installed or not.
 */
std::optional<Notice> refusal(const QStringList& installed, const QString& typed,
                              const QString& stored);

} // namespace CourierList
} // namespace mldd
