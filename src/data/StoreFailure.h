#pragma once

#include <QString>
#include <QStringList>

/// Why the bank could not be opened, created, read or written: what failed, with the
/// engine's own words and what the failure concerns. The windows word it for the user
/// (data/ui/BankMessages.h).
struct StoreFailure
{
    enum class Kind
    {
        None,

        // A statement, by the engine's result.
        NotOpen, ///< no bank is open
        ReadOnly, ///< the file, or the connection, cannot be written
        Busy, ///< another connection held the lock longer than busyTimeoutMs
        DiskFull,
        IoError,
        Corrupt,
        CannotOpen, ///< the engine could not open a file it needed
        Other,

        // Opening a bank.
        NotAFile, ///< the path is a folder or the like
        FileMissing,
        ZeroBytes,
        PlainDatabase, ///< an unencrypted database file
        ForeignJournal, ///< path: a journal beside the bank that is not the bank's own
        FileNotWritable,
        FolderNotWritable, ///< path: the bank's folder
        CannotOpenFile, ///< the engine could not open the file
        CannotDecrypt, ///< not a bank, another password, or a damaged header
        NeedsRecovery, ///< path: the journal an interrupted write left, which a read-only open cannot play
                       ///< back
        Damaged,
        NoPages,
        Truncated, ///< shorter than its pages
        MissingTables, ///< tables: those it lacks
        TooNew, ///< version: the bank's
        DurabilityNotSet, ///< cause: why the journal settings were refused
        UpgradeFailed, ///< cause: why the schema upgrade failed

        // Creating a bank.
        AlreadyExists,
        CannotCreate, ///< the engine could not create the file
    };

    StoreFailure() = default;
    StoreFailure(
        Kind kind, QString engineText = {}, QString path = {}, QStringList tables = {}, int version = 0)
        : kind(kind)
        , engineText(std::move(engineText))
        , path(std::move(path))
        , tables(std::move(tables))
        , version(version)
    { }

    Kind kind = Kind::None;
    /// What SQLite said, as it said it; empty when it said nothing.
    QString engineText;
    QString path;
    QStringList tables;
    int version = 0;
    /// How long a locked write waited (Busy, and a cause that is Busy).
    int busyTimeoutMs = 0;
    /// The statement's failure behind DurabilityNotSet and UpgradeFailed.
    Kind cause = Kind::None;

    bool isFailure() const { return kind != Kind::None; }
};
