#pragma once

#include "core/Notice.h"

#include <QString>

namespace mldd {

/** The template designer's questions and refusals, as the windows show them. */
namespace DesignerNotices {

/** Asked before an item is set to "不打印"; Yes writes it. */
Notice confirmNotPrinted();
/** Asked before an item is set to "隐藏"; Yes writes it. */
Notice confirmHidden();
/** Characters per line that are empty or not more than 1. */
Notice badWrapCount();
/** A font size that is no number of points. */
Notice badSize(const QString& typed);
/** A template name that would leave the template folder, or none at all. */
Notice badName(const QString& name);
/** Asked before a template of that name is replaced; Yes replaces it. */
Notice replaceExisting(const QString& name);
/** Asked when the designer closes or opens another template with changes unsaved. */
Notice unsavedChanges(const QString& name);
/** A layout already holding as many items as a waybill view has. */
Notice tooManyItems();
/** The layout file cannot be read; the designer starts from an empty layout. */
Notice unreadableLayout(const QString& name, const QString& why);
/** A paper size that is no paper. */
Notice badPaper();

} // namespace DesignerNotices
} // namespace mldd
