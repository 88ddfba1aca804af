#pragma once

#include "core/Notice.h"
#include "core/SenderProfile.h"

#include <functional>
#include <optional>

namespace mldd {

struct MainState;

/** Saving and deleting sender profiles (rows of my_data), as the sender editor does. */
namespace ProfileEditing {

/** The editor's marketplace list, in its order; the first is the initial choice. */
inline const QStringList kMarketplaces = {QStringLiteral("淘宝"),   QStringLiteral("天猫"),
                                          QStringLiteral("拼多多"), QStringLiteral("抖店"),
                                          QStringLiteral("京东"),   QStringLiteral("快手"),
                                          QStringLiteral("小红书"), QStringLiteral("微信小店"),
                                          QStringLiteral("1688"),   QStringLiteral("其他")};

/** The shipping-list design a new profile gets; may be empty (the profile then reads as default).
 */
using DefaultDesign = std::function<QString()>;

/** The profile ID: marketplace + ":" + account, or the bare account when no marketplace is shown.
 */
QString senderId(const QString& marketplace, const QString& account);

/**
 * Saves the editor's profile: `profile.myIdh` is the text of the ID box and
 * `marketplace` the chosen marketplace, empty when the marketplace panel is
 * hidden. An existing profile with the same ID is updated (its design and
 * session stay); a new one gets `defaultDesign()`. Then the program options are
 * saved and the profiles reloaded. Returns why nothing was saved, if so.
 */
std::optional<Notice> save(MainState& state, const QString& marketplace, SenderProfile profile,
                           const DefaultDesign& defaultDesign);

/**
 * Deletes the profile with the ID built from `marketplace` and `account` and
 * reloads the profiles; orders naming it keep the ID. A message when there is none.
 */
std::optional<Notice> remove(MainState& state, const QString& marketplace, const QString& account,
                             const DefaultDesign& defaultDesign);

/** Asked before the profile `id` is deleted. */
Notice removeQuestion(const QString& id);

/**
 * Stores a shipping-list design in the FaHuoSet of the profile `id` and
 * reloads the profiles. A message when it could not.
 */
std::optional<Notice> saveDesign(MainState& state, const QString& id, const QString& design,
                                 const DefaultDesign& defaultDesign);

/** Reads all profiles again into `state.profiles`. */
void reload(MainState& state, const DefaultDesign& defaultDesign);

} // namespace ProfileEditing
} // namespace mldd
