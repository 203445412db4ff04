#include "controls/WrittenFiles.h"

#include "controls/MessageBox.h"
#include "desktop/DesktopActions.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace WrittenFiles {

void offerFolder(QWidget* parent, const QString& title, const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    QString names;
    for (const QString& path : paths)
        names += QStringLiteral("\n　　") + QFileInfo(path).fileName();
    const QString folder = QFileInfo(paths.first()).absolutePath();
    const QString text = QStringLiteral("已生成%1个文件：\n%2\n\n保存在文件夹：\n%3\n\n要打开这个文件夹吗？")
                             .arg(QString::number(paths.size()), names, QDir::toNativeSeparators(folder));
    if (MessageBox::question(parent, title, text) == QMessageBox::Yes)
        DesktopActions::openUrl(QUrl::fromLocalFile(folder));
}

} // namespace WrittenFiles
