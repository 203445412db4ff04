#include "data/BankLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <unistd.h>

namespace {

/// The bank's path with every symbolic link resolved, also when the file (or its
/// folder) does not exist yet: the first start creates the bank after claiming it.
QString canonicalBankPath(const QString& bankPath)
{
    QFileInfo info(QDir::cleanPath(QFileInfo(bankPath).absoluteFilePath()));
    QStringList missing;
    while (!info.exists() && !info.isRoot() && info.fileName() != info.filePath()) {
        missing.prepend(info.fileName());
        info.setFile(info.absolutePath());
    }
    QString path = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    for (const QString& part : std::as_const(missing))
        path = QDir(path).filePath(part);
    return QDir::cleanPath(path);
}

QString lockFolder()
{
    // Not QStandardPaths::RuntimeLocation: without XDG_RUNTIME_DIR it warns and makes
    // a folder of its own.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
        return runtime;
    return QDir::tempPath();
}

} // namespace

BankLock::BankLock(const QString& bankPath)
    : m_bankPath(bankPath)
{ }

BankLock::~BankLock() = default;

QString BankLock::lockFilePath(const QString& bankPath)
{
    const QByteArray key
        = QCryptographicHash::hash(canonicalBankPath(bankPath).toUtf8(), QCryptographicHash::Sha1).toHex();
    // The user id keeps users sharing the temporary folder apart.
    return QDir(lockFolder())
        .filePath(QStringLiteral("vellumore-%1-%2.lock").arg(::getuid()).arg(QString::fromLatin1(key)));
}

BankLock::Result BankLock::claim()
{
    if (isClaimed())
        return Result::Claimed;
    auto lock = std::make_unique<QLockFile>(lockFilePath(m_bankPath));
    // A running program holds its bank for hours: only a dead holder makes a lock stale.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        return Result::Claimed;
    }
    return lock->error() == QLockFile::LockFailedError ? Result::InUse : Result::Unavailable;
}

bool BankLock::isClaimed() const
{
    return m_lock && m_lock->isLocked();
}

void BankLock::release()
{
    m_lock.reset();
}

qint64 BankLock::holder(const QString& bankPath)
{
    QLockFile lock(lockFilePath(bankPath));
    qint64 pid = 0;
    QString host;
    QString app;
    return lock.getLockInfo(&pid, &host, &app) ? pid : 0;
}
