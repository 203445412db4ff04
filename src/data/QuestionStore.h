#pragma once

#include "data/RowSet.h"

#include <QString>
#include <QVariant>

#include <functional>

struct sqlite3;

/// The program's one connection to the encrypted question bank. Statements are
/// plain SQL with every value bound as a parameter (`?`), never spliced in.
class QuestionStore final
{
    Q_DISABLE_COPY_MOVE(QuestionStore)
public:
    enum class Access { ReadOnly, Updatable };

    /// Why a bank could not be opened; the text for the user is in @ref lastError().
    enum class OpenError { None, NotFound, NotABank, Damaged, MissingTables, TooNew };

    QuestionStore() = default;
    ~QuestionStore();

    /// Opens an existing bank with the fixed password. The file is never created,
    /// modified or replaced when it cannot be opened.
    bool open(const QString& path);
    /// Creates a new, empty bank with the current schema; fails when @p path exists.
    bool create(const QString& path);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString path() const { return m_path; }

    OpenError openError() const { return m_openError; }
    QString lastError() const { return m_lastError; }

    /// Runs an action statement (delete, update, insert, create, drop).
    bool execute(const QString& sql, const QVariantList& params = {});

    /// Opens a row set over a statement. A read-only set may be any select; an
    /// updatable one must read "select * from <table> ..." of one table.
    RowSet query(const QString& sql, const QVariantList& params = {}, Access access = Access::ReadOnly);

    /// Runs one action statement once per parameter list, prepared once.
    bool executeBatch(const QString& sql, const QVector<QVariantList>& rows);

    /// The first column of the first row, or a null QVariant.
    QVariant scalar(const QString& sql, const QVariantList& params = {});

    /// Runs @p work inside one transaction; rolls back when it returns false.
    bool transaction(const std::function<bool()>& work);

    /// The raw connection, for the few places (bulk loads) that prepare their own statements.
    sqlite3* handle() const { return m_db; }

    /// Creates the table kstk with the definition and indexes of tk (empty).
    bool createWorkingSet();

    /// Keys a freshly opened raw connection with the bank's password and cipher settings.
    static void applyKey(sqlite3* db);

    /// The schema version this program writes and reads.
    static constexpr int SchemaVersion = 1;
    /// The cipher page size every bank is created and opened with.
    static constexpr int CipherPageSize = 4096;

private:
    bool connect(const QString& path, int flags);
    bool fail(const QString& message);
    bool applySchema();
    bool upgradeSchema(int fromVersion);

    sqlite3* m_db = nullptr;
    QString m_path;
    QString m_lastError;
    OpenError m_openError = OpenError::None;
};
