#include "shell/HelpGuide.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace HelpGuide {

QString locate(const QString& executableDir)
{
    const QDir exeDir(executableDir);
    for (const char* relative : { "../share/vellumore/help/index.html", "../../share/vellumore/help/index.html" }) {
        const QString candidate = QDir::cleanPath(exeDir.filePath(QString::fromLatin1(relative)));
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

QString path()
{
    return locate(QCoreApplication::applicationDirPath());
}

} // namespace HelpGuide
