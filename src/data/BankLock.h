#pragma once

#include <QString>

#include <memory>

class QLockFile;

/// Claims a question bank for this process, so that a second copy of the program does
/// not open the same bank behind the first one's back. The lock file lives in the
/// per-user runtime folder (or the temporary folder), never beside the bank, so a bank
/// in a read-only folder can still be claimed; a lock left by a process that died is
/// taken over.
class BankLock final
{
    Q_DISABLE_COPY_MOVE(BankLock)
public:
    enum class Result
    {
        Claimed,
        /// Another running process holds the bank.
        InUse,
        /// No lock could be made (runtime folder not writable, say): the bank is not
        /// protected, but nothing stops the program from using it.
        Unavailable
    };

    /// A lock for the bank at @p bankPath, keyed by its canonical path.
    explicit BankLock(const QString& bankPath);
    ~BankLock();

    /// Tries once, without waiting.
    Result claim();
    bool isClaimed() const;
    void release();

    QString bankPath() const { return m_bankPath; }
    /// Where the lock file for @p bankPath lives.
    static QString lockFilePath(const QString& bankPath);
    /// The process id recorded in the lock of @p bankPath, or 0 when it holds none.
    static qint64 holder(const QString& bankPath);

private:
    QString m_bankPath;
    std::unique_ptr<QLockFile> m_lock;
};
