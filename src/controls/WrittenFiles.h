#pragma once

#include <QStringList>

class QWidget;

/// After files were saved for the user: one message that names them and their folder and
/// offers to open that folder with the desktop's file manager.
namespace WrittenFiles {

/// Says nothing when @p paths is empty; the folder is that of the first file.
void offerFolder(QWidget* parent, const QString& title, const QStringList& paths);

} // namespace WrittenFiles
