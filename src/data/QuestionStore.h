#pragma once

#include "data/RowSet.h"
#include "data/StreamedRow.h"
#include "data/WriteResult.h"

#include <QString>
#include <QVariant>

#include <QHash>

#include <functional>

struct sqlite3;
struct sqlite3_stmt;

/// The program's one connection to the encrypted question bank. Statements are
/// plain SQL with every value bound as a parameter (`?`), never spliced in.
class QuestionStore final
{
    Q_DISABLE_COPY_MOVE(QuestionStore)
public:
    /// How a bank is opened: read-only opens never write, not even a schema upgrade.
    enum class Mode
    {
        ReadWrite,
        ReadOnly
    };

    /// Why a bank could not be opened, in broad classes; failure() tells what exactly.
    enum class OpenError
    {
        None,
        NotFound,
        NotABank,
        Damaged,
        MissingTables,
        TooNew,
        /// The bank or its folder cannot be written; a read-only open may still work.
        NotWritable,
        /// A rollback journal beside the bank that is not the bank's own: left untouched.
        ForeignJournal
    };

    QuestionStore() = default;
    ~QuestionStore();

    /// Opens an existing bank with the fixed password. The file is never created,
    /// modified or replaced when it cannot be opened, and a journal beside it that the
    /// engine would play back is first checked to be the bank's own. A read-write open
    /// of a bank that cannot be written (file or folder) fails with NotWritable; a
    /// read-only open reads a bank of an older schema version as it is.
    bool open(const QString& path, Mode mode = Mode::ReadWrite);
    /// Creates a new, empty bank with the current schema; fails when @p path exists.
    bool create(const QString& path);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    bool isReadOnly() const { return m_readOnly; }
    /// The schema version of the open bank (older than SchemaVersion only when read-only).
    int schemaVersion() const { return m_schemaVersion; }
    QString path() const { return m_path; }

    OpenError openError() const { return m_openError; }
    /// What failed last: the open or the creation, or a schema statement. Writes report
    /// theirs in their WriteResult.
    const StoreFailure& failure() const { return m_failure; }

    /// Opens a read-only row set over a select statement.
    RowSet query(const QString& sql, const QVariantList& params = {});

    /// Reads a select statement one row at a time, handing each to @p row and keeping
    /// none: for passes over a whole table. False, with the engine's words in @p error,
    /// when it cannot be read to its end.
    bool stream(const QString& sql, const QVariantList& params,
        const std::function<void(const StreamedRow&)>& row, QString* error = nullptr);

    /// Runs one of the program's fixed write statements with bound values. The
    /// statement is prepared once and kept for the life of the connection. Done
    /// carries the number of rows changed; a failure carries what failed.
    WriteResult write(const QString& sql, const QVariantList& params = {});

    /// The same statement once per list of values, each as write() runs it; stops at the
    /// first that does not succeed. Done carries the rows changed by all of them.
    WriteResult writeEach(const QString& sql, const QVector<QVariantList>& rows);

    /// What a transaction may write: the bank, which takes the write lock at once, or only
    /// temporary tables, which a read-only store can write too (it takes no lock then).
    enum class Writes
    {
        Bank,
        TemporaryTables
    };

    /// Runs @p work inside one transaction; anything but Done rolls it back, and a
    /// failed commit turns Done into Failed.
    WriteResult writeTransaction(const std::function<WriteResult()>& work, Writes writes = Writes::Bank);

    /// Counts this connection's writes that may have changed which questions tk holds or
    /// their texts; writes of answers and favourites leave it as it is. With
    /// `PRAGMA data_version` (other connections' commits) it tells a cache of tk's texts
    /// whether it is still current.
    quint64 textRevision() const { return m_textRevision; }

    /// How long a write waits for a lock held by another connection before it fails.
    void setBusyTimeout(int milliseconds);
    int busyTimeout() const { return m_busyTimeout; }
    static constexpr int DefaultBusyTimeout = 5000;

    /// The first column of the first row, or a null QVariant.
    QVariant scalar(const QString& sql, const QVariantList& params = {});

    /// Keys a freshly opened raw connection with the bank's password and cipher settings.
    static void applyKey(sqlite3* db);

    /// The schema version this program writes and reads.
    static constexpr int SchemaVersion = 5;
    /// Versions below this one only add tables and indexes, so a program opens a bank of
    /// a newer such version as it is; a change an older program could not read takes a
    /// number from here on.
    static constexpr int FirstIncompatibleVersion = 100;
    /// The journal every read-write connection uses, and how hard a commit syncs. A
    /// rollback journal synced in full: an answer whose write returned done is on disk,
    /// a crash leaves a journal the next open rolls back, and a bank in a read-only
    /// folder can still be read (a write-ahead log needs files beside the bank, which
    /// this engine cannot do without there). About 1.8 ms for one answer against 0.5 ms
    /// with a fully synced write-ahead log (bench_durability): well within a click.
    static constexpr const char* JournalMode = "delete";
    static constexpr const char* SynchronousLevel = "full";
    /// The cipher page size every bank is created and opened with.
    static constexpr int CipherPageSize = 4096;
    /// The page cache of a connection, in KiB. Every page read from the file is decrypted
    /// and checked first, so a cache of a few hundred pages (the engine's default) decrypts
    /// the same pages again on every listing; the memory is taken only as pages are read.
    static constexpr int PageCacheKiB = 64 * 1024;

private:
    /// Runs a statement of the schema or the connection's settings (a pragma may return a row).
    bool execute(const QString& sql, const QVariantList& params = {});
    /// Runs @p work inside one transaction of schema statements; rolls back when it returns false.
    bool transaction(const std::function<bool()>& work);
    bool connect(const QString& path, int flags);
    bool fail(const StoreFailure& failure);
    /// A failed step: the kind of fault, by the engine's result code, and the engine's words.
    StoreFailure statementFailure(int rc) const;
    WriteResult writeFailure(int rc) const;
    void finalizeStatements();
    bool applySchema();
    bool applyDurability();
    bool upgradeSchema(int fromVersion);

    sqlite3* m_db = nullptr;
    QString m_path;
    StoreFailure m_failure;
    OpenError m_openError = OpenError::None;
    bool m_readOnly = false;
    int m_schemaVersion = 0;
    int m_busyTimeout = DefaultBusyTimeout;
    quint64 m_textRevision = 0;
    struct WriteStatement
    {
        sqlite3_stmt* statement = nullptr;
        bool mayChangeTexts = false;
    };
    QHash<QString, WriteStatement> m_writeStatements;
};
