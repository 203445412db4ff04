#include "PrivateMounts.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

namespace PrivateMounts {
namespace {

bool failed(QString* why, const QString& what)
{
    *why = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

} // namespace

bool enter(QString* why)
{
    static QString reason;
    static const bool entered = [] {
        if (unshare(CLONE_NEWNS) != 0)
            return failed(&reason, QStringLiteral("no private mount namespace (unshare)"));
        // Nothing mounted here may travel back to the rest of the system.
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return failed(&reason, QStringLiteral("cannot make the mounts private"));
        return true;
    }();
    *why = reason;
    return entered;
}

bool makeReadOnly(const QString& path, QString* why)
{
    const QByteArray p = native(path);
    if (mount(p.constData(), p.constData(), nullptr, MS_BIND, nullptr) != 0)
        return failed(why, QStringLiteral("bind mount of %1").arg(path));
    if (mount(nullptr, p.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        umount2(p.constData(), MNT_DETACH);
        return failed(why, QStringLiteral("read-only remount of %1").arg(path));
    }
    return true;
}

bool bindFile(const QString& source, const QString& target, QString* why)
{
    if (mount(native(source).constData(), native(target).constData(), nullptr, MS_BIND, nullptr) != 0)
        return failed(why, QStringLiteral("bind mount of %1 on %2").arg(source, target));
    return true;
}

bool mountSmallDisk(const QString& folder, qint64 bytes, QString* why)
{
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (mount("tmpfs", native(folder).constData(), "tmpfs", 0, options.constData()) != 0)
        return failed(why, QStringLiteral("tmpfs on %1").arg(folder));
    return true;
}

bool fill(const QString& folder, qint64 leaveBytes, QString* why)
{
    QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append))
        return failed(why, QStringLiteral("cannot create the filler file"));
    const QByteArray block(4096, '\0');
    for (;;) {
        struct statvfs fs
        {
        };
        if (statvfs(native(folder).constData(), &fs) != 0)
            return failed(why, QStringLiteral("statvfs"));
        const qint64 free = qint64(fs.f_bavail) * qint64(fs.f_frsize);
        if (free <= leaveBytes)
            return true;
        const qint64 n = qMin<qint64>(block.size(), free - leaveBytes);
        if (filler.write(block.constData(), n) != n || !filler.flush())
            return true; // the disk is full already
    }
}

void unmount(const QString& path)
{
    umount2(native(path).constData(), MNT_DETACH);
}

} // namespace PrivateMounts
