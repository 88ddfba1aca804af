#pragma once

#include <QString>

class QWidget;

namespace mldd {

/**
 * The file dialogs of the program: Qt's own dialog (the same on every desktop,
 * and reachable by a screen reader), with names, sizes, types and dates as a
 * Chinese desktop shows them. An empty text when the seller cancelled.
 */
namespace FileChooser {

/** `helpPage`: what F1 opens in it, when not its parent window's page. */
QString openFile(QWidget* parent, const QString& caption, const QString& folder,
                 const QString& filter, const QString& helpPage = {});
QString saveFile(QWidget* parent, const QString& caption, const QString& path,
                 const QString& filter);

} // namespace FileChooser

} // namespace mldd
