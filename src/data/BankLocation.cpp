#include "data/BankLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace BankLocation {

QString bankPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("velm.db"));
}

QString sampleBankPath()
{
    const QDir exeDir(QCoreApplication::applicationDirPath());
    // Installed: <prefix>/bin and <prefix>/share/vellumore; built: build/src/app and build/share/vellumore.
    for (const char* relative : { "../share/vellumore/velm.db", "../../share/vellumore/velm.db" }) {
        const QString candidate = QDir::cleanPath(exeDir.filePath(QString::fromLatin1(relative)));
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

bool ensureBank(QString* error)
{
    const QString path = bankPath();
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo::exists(path))
        return true;
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("无法创建题库所在的文件夹“%1”（该位置可能已有同名文件，或没有写入权限）。")
                     .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    const QString sample = sampleBankPath();
    if (sample.isEmpty()) {
        *error = QStringLiteral("找不到随程序提供的示例题库，无法建立题库文件“%1”。")
                     .arg(QDir::toNativeSeparators(path));
        return false;
    }
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(sample, part)) {
        *error = QStringLiteral("无法把示例题库复制到“%1”。").arg(QDir::toNativeSeparators(path));
        return false;
    }
    QFile::setPermissions(part, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        *error = QStringLiteral("无法建立题库文件“%1”。").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

} // namespace BankLocation
