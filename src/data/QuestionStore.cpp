#include "data/QuestionStore.h"

#include "data/AttemptRepository.h"
#include "data/BankSchema.h"
#include "data/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>

#include <memory>

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, sqlite::StatementDeleter>;

// The bank's fixed password; the only place it is written down.
constexpr char BankPassword[] = "40718263915";

Statement prepare(sqlite3* db, const QString& sql, const QVariantList& params, int* rc)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    *rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &raw, nullptr);
    Statement stmt(raw);
    if (*rc == SQLITE_OK && raw)
        *rc = sqlite::bindAll(raw, params);
    return stmt;
}

bool isPlainSqliteFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

// A rollback journal the engine would play back into the bank on its first read: it does so
// for any journal whose first byte is not zero and deletes it afterwards. The journal holds
// the original image of page 1 first or later; an encrypted page 1 begins with the cipher
// salt of its own bank, so a journal of another bank shows another salt there.
enum class Journal
{
    None, ///< no journal, or one the engine ignores
    Own,
    Foreign,
};

Journal checkJournal(const QString& bankPath, const QString& journalPath)
{
    constexpr int SaltBytes = 16;
    constexpr int HeaderBytes = 28;
    static const QByteArray magic("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8);
    QFile journal(journalPath);
    if (!journal.exists())
        return Journal::None;
    if (!journal.open(QIODevice::ReadOnly))
        return Journal::Foreign; // what cannot be checked is not played back
    const QByteArray header = journal.read(HeaderBytes);
    if (header.isEmpty() || header.at(0) == 0)
        return Journal::None;
    if (header.size() < HeaderBytes || !header.startsWith(magic))
        return Journal::Foreign;
    const auto word = [&header](int at) { return qFromBigEndian<quint32>(header.constData() + at); };
    const quint32 sectorSize = word(20);
    const quint32 pageSize = word(24);
    const auto powerOfTwo
        = [](quint32 v, quint32 lo, quint32 hi) { return v >= lo && v <= hi && (v & (v - 1)) == 0; };
    if (!powerOfTwo(sectorSize, 32, 65536) || !powerOfTwo(pageSize, 512, 65536))
        return Journal::Foreign;

    QFile bank(bankPath);
    if (!bank.open(QIODevice::ReadOnly))
        return Journal::Foreign;
    const QByteArray salt = bank.read(SaltBytes);
    const qint64 record = qint64(pageSize) + 8;
    for (qint64 at = sectorSize; at + record <= journal.size(); at += record) {
        if (!journal.seek(at))
            break;
        const QByteArray head = journal.read(4 + SaltBytes);
        if (head.size() < 4 + SaltBytes)
            break;
        if (qFromBigEndian<quint32>(head.constData()) == 1)
            return head.mid(4) == salt ? Journal::Own : Journal::Foreign;
    }
    // Without page 1 nothing tells whose it is; a crash early in a write of its own leaves such.
    return Journal::Own;
}

} // namespace

QuestionStore::~QuestionStore()
{
    close();
}

bool QuestionStore::fail(const StoreFailure& failure)
{
    m_failure = failure;
    return false;
}

bool QuestionStore::connect(const QString& path, int flags)
{
    close();
    m_path = path;
    m_openError = OpenError::None;
    const QByteArray file = QFile::encodeName(path);
    if (sqlite3_open_v2(file.constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        m_failure = { StoreFailure::Kind::CannotCreate, sqlite::errorText(m_db) };
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    applyKey(m_db);
    sqlite3_busy_timeout(m_db, m_busyTimeout);
    const QByteArray cache = QByteArray("PRAGMA cache_size = -") + QByteArray::number(PageCacheKiB);
    sqlite3_exec(m_db, cache.constData(), nullptr, nullptr, nullptr);
    return true;
}

bool QuestionStore::applyDurability()
{
    return execute(QStringLiteral("PRAGMA journal_mode = %1").arg(QLatin1String(JournalMode)))
        && execute(QStringLiteral("PRAGMA synchronous = %1").arg(QLatin1String(SynchronousLevel)));
}

void QuestionStore::setBusyTimeout(int milliseconds)
{
    m_busyTimeout = milliseconds;
    if (m_db)
        sqlite3_busy_timeout(m_db, milliseconds);
}

void QuestionStore::applyKey(sqlite3* db)
{
    sqlite3_key(db, BankPassword, int(sizeof(BankPassword) - 1));
    // The page size is not stored in an encrypted file: it must be given on every open.
    const QByteArray pragma = QByteArray("PRAGMA cipher_page_size = ") + QByteArray::number(CipherPageSize);
    sqlite3_exec(db, pragma.constData(), nullptr, nullptr, nullptr);
}

bool QuestionStore::open(const QString& path, Mode mode)
{
    close();
    m_readOnly = false;
    m_schemaVersion = 0;
    const QFileInfo info(path);
    using Kind = StoreFailure::Kind;
    auto refuse = [this](OpenError why, const StoreFailure& failure) {
        m_openError = why;
        return fail(failure);
    };
    if (!info.exists() || !info.isFile())
        return refuse(OpenError::NotFound, { info.exists() ? Kind::NotAFile : Kind::FileMissing });
    // Checked before the engine looks: it deletes any journal beside an empty file.
    if (info.size() == 0)
        return refuse(OpenError::MissingTables, { Kind::ZeroBytes });
    if (isPlainSqliteFile(path))
        return refuse(OpenError::NotABank, { Kind::PlainDatabase });
    const QString journal = path + QStringLiteral("-journal");
    if (checkJournal(path, journal) == Journal::Foreign)
        return refuse(OpenError::ForeignJournal, { Kind::ForeignJournal, {}, journal });
    if (mode == Mode::ReadWrite) {
        // Every write needs the file and a journal beside it in the same folder.
        if (!info.isWritable())
            return refuse(OpenError::NotWritable, { Kind::FileNotWritable });
        const QString folder = info.absolutePath();
        if (!QFileInfo(folder).isWritable())
            return refuse(OpenError::NotWritable, { Kind::FolderNotWritable, {}, folder });
    }
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (!connect(path, flags | SQLITE_OPEN_FULLMUTEX))
        return refuse(OpenError::NotFound, { Kind::CannotOpenFile, m_failure.engineText });

    auto reject = [this, &refuse](OpenError why, const StoreFailure& failure) {
        close();
        return refuse(why, failure);
    };
    // The engine quietly opens a file it cannot write read-only.
    if (mode == Mode::ReadWrite && sqlite3_db_readonly(m_db, "main") == 1)
        return reject(OpenError::NotWritable, { Kind::FileNotWritable });

    int rc = SQLITE_OK;
    {
        Statement probe = prepare(m_db, QStringLiteral("select count(*) from sqlite_master"), {}, &rc);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(probe.get());
        if (rc != SQLITE_ROW)
            rc = sqlite3_extended_errcode(m_db);
    }
    if (rc != SQLITE_ROW) {
        if (rc == SQLITE_NOTADB)
            return reject(OpenError::NotABank, { Kind::CannotDecrypt });
        if (rc == SQLITE_READONLY_ROLLBACK)
            return reject(OpenError::NotWritable, { Kind::NeedsRecovery, {}, journal });
        return reject(OpenError::Damaged, { Kind::Damaged, sqlite::errorText(m_db) });
    }

    const qint64 pages = scalar(QStringLiteral("PRAGMA page_count")).toLongLong();
    if (pages <= 0)
        return reject(OpenError::MissingTables, { Kind::NoPages });
    if (info.size() < pages * CipherPageSize)
        return reject(OpenError::Damaged, { Kind::Truncated });

    const QStringList missing = BankSchema::missingTables(*this);
    if (!missing.isEmpty())
        return reject(OpenError::MissingTables, { Kind::MissingTables, {}, {}, missing });

    const int version = scalar(QStringLiteral("PRAGMA user_version")).toInt();
    if (version >= FirstIncompatibleVersion)
        return reject(OpenError::TooNew, { Kind::TooNew, {}, {}, {}, version });
    // What the statement said stays with the failure it caused.
    const auto causing = [this](Kind kind) {
        StoreFailure failure = m_failure;
        failure.cause = failure.kind;
        failure.kind = kind;
        return failure;
    };
    if (mode == Mode::ReadWrite && !applyDurability())
        return reject(OpenError::Damaged, causing(Kind::DurabilityNotSet));
    // A read-only bank is read as it is: what needs a newer version's tables does without.
    if (mode == Mode::ReadWrite && version < SchemaVersion && !upgradeSchema(version))
        return reject(OpenError::Damaged, causing(Kind::UpgradeFailed));

    m_readOnly = mode == Mode::ReadOnly;
    m_schemaVersion = mode == Mode::ReadOnly ? version : qMax(version, SchemaVersion);
    m_failure = {};
    return true;
}

bool QuestionStore::create(const QString& path)
{
    if (QFileInfo::exists(path)) {
        m_openError = OpenError::NotFound;
        return fail({ StoreFailure::Kind::AlreadyExists });
    }
    m_readOnly = false;
    m_schemaVersion = SchemaVersion;
    if (!connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX))
        return false;
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!applyDurability() || !applySchema()) {
        const StoreFailure why = m_failure;
        close();
        QFile::remove(path);
        return fail(why);
    }
    return true;
}

bool QuestionStore::applySchema()
{
    return transaction([this] {
        for (const QString& statement : BankSchema::createStatements()) {
            if (!execute(statement))
                return false;
        }
        return execute(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
    });
}

bool QuestionStore::upgradeSchema(int fromVersion)
{
    // Version 0 is a file made by hand with the tables but without our indexes.
    return transaction([this, fromVersion] {
        for (int v = fromVersion; v < SchemaVersion; ++v) {
            for (const QString& statement : BankSchema::upgradeStatements(v)) {
                if (!execute(statement))
                    return false;
            }
            // The click history of version 3 becomes attempts; its rows stay for older programs.
            if (v == 3) {
                const WriteResult added = AttemptRepository::addFromClicks(*this);
                if (!added.isDone())
                    return fail(added.failure());
            }
        }
        return execute(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
    });
}

void QuestionStore::finalizeStatements()
{
    for (const WriteStatement& write : std::as_const(m_writeStatements))
        sqlite3_finalize(write.statement);
    m_writeStatements.clear();
}

void QuestionStore::close()
{
    finalizeStatements();
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool QuestionStore::execute(const QString& sql, const QVariantList& params)
{
    if (!m_db)
        return fail({ StoreFailure::Kind::NotOpen });
    int rc = SQLITE_OK;
    Statement stmt = prepare(m_db, sql, params, &rc);
    if (rc == SQLITE_OK && stmt) {
        do {
            rc = sqlite3_step(stmt.get());
        } while (rc == SQLITE_ROW);
    }
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        return fail(statementFailure(rc));
    ++m_textRevision; // bulk and schema statements: assume the worst
    return true;
}

QVariant QuestionStore::scalar(const QString& sql, const QVariantList& params)
{
    if (!m_db)
        return QVariant();
    int rc = SQLITE_OK;
    Statement stmt = prepare(m_db, sql, params, &rc);
    if (rc != SQLITE_OK || !stmt || sqlite3_step(stmt.get()) != SQLITE_ROW)
        return QVariant();
    return sqlite::columnValue(stmt.get(), 0);
}

bool QuestionStore::stream(const QString& sql, const QVariantList& params,
    const std::function<void(const StreamedRow&)>& row, QString* error)
{
    int rc = SQLITE_ERROR;
    Statement stmt;
    if (m_db)
        stmt = prepare(m_db, sql, params, &rc);
    if (rc == SQLITE_OK && stmt) {
        const StreamedRow current(stmt.get());
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
            row(current);
    }
    if (rc == SQLITE_DONE)
        return true;
    if (error)
        *error = sqlite::errorText(m_db);
    return false;
}

RowSet QuestionStore::query(const QString& sql, const QVariantList& params)
{
    RowSet set;
    if (!m_db) {
        set.m_error = QStringLiteral("no connection");
        return set;
    }
    int rc = SQLITE_OK;
    Statement stmt = prepare(m_db, sql, params, &rc);
    if (rc != SQLITE_OK || !stmt) {
        set.m_error = sqlite::errorText(m_db);
        return set;
    }
    const int n = sqlite3_column_count(stmt.get());
    for (int c = 0; c < n; ++c)
        set.m_names << QString::fromUtf8(sqlite3_column_name(stmt.get(), c));
    // Short texts (types, codes, answers) repeat across a listing: one shared copy each.
    QHash<QByteArray, QVariant> shortTexts;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        QVector<QVariant> row(n);
        for (int c = 0; c < n; ++c) {
            const int bytes = sqlite3_column_bytes(stmt.get(), c);
            if (sqlite3_column_type(stmt.get(), c) != SQLITE_TEXT || bytes > 12) {
                row[c] = sqlite::columnValue(stmt.get(), c);
                continue;
            }
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), c));
            const QByteArray key = QByteArray::fromRawData(text, bytes);
            auto it = shortTexts.find(key);
            if (it == shortTexts.end())
                it = shortTexts.insert(QByteArray(text, bytes), QVariant(QString::fromUtf8(text, bytes)));
            row[c] = *it;
        }
        set.m_rows.append(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        set.m_error = sqlite::errorText(m_db);
        return set;
    }
    for (int c = set.m_names.size() - 1; c >= 0; --c) {
        set.m_exact.insert(set.m_names[c], c);
        set.m_index.insert(set.m_names[c].toLower(), c);
    }
    set.m_valid = true;
    return set;
}

StoreFailure QuestionStore::statementFailure(int rc) const
{
    using Kind = StoreFailure::Kind;
    Kind kind = Kind::Other;
    switch (rc & 0xff) {
    case SQLITE_READONLY:
        kind = Kind::ReadOnly;
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        kind = Kind::Busy;
        break;
    case SQLITE_FULL:
        kind = Kind::DiskFull;
        break;
    case SQLITE_IOERR:
        kind = Kind::IoError;
        break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        kind = Kind::Corrupt;
        break;
    case SQLITE_CANTOPEN:
        kind = Kind::CannotOpen;
        break;
    default:
        break;
    }
    StoreFailure failure { kind, sqlite::errorText(m_db) };
    failure.busyTimeoutMs = m_busyTimeout;
    return failure;
}

WriteResult QuestionStore::writeFailure(int rc) const
{
    return WriteResult::failed(statementFailure(rc));
}

namespace {

// A statement that names tk changes its texts unless it only sets columns other than the
// texts (an answer, a favourite mark).
bool mayChangeTexts(const QString& sql)
{
    static const QRegularExpression namesTk(QStringLiteral("\\btk\\b"));
    static const QRegularExpression setsOnlyMarks(
        QStringLiteral("^update tk set (?:(?!tg|xx|题干|选项|where).)*(?:where.*)?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return namesTk.match(sql).hasMatch() && !setsOnlyMarks.match(sql).hasMatch();
}

} // namespace

WriteResult QuestionStore::write(const QString& sql, const QVariantList& params)
{
    if (!m_db)
        return WriteResult::failed(StoreFailure { StoreFailure::Kind::NotOpen });
    auto it = m_writeStatements.find(sql);
    if (it == m_writeStatements.end()) {
        const QByteArray utf8 = sql.toUtf8();
        sqlite3_stmt* stmt = nullptr;
        const int rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, nullptr);
        if (rc != SQLITE_OK || !stmt) {
            sqlite3_finalize(stmt);
            return writeFailure(rc);
        }
        it = m_writeStatements.insert(sql, { stmt, mayChangeTexts(sql) });
    }
    sqlite3_stmt* stmt = it->statement;
    int rc = sqlite::bindAll(stmt, params);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt);
    const int changed = sqlite3_changes(m_db);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc != SQLITE_DONE)
        return writeFailure(rc);
    if (changed > 0 && it->mayChangeTexts)
        ++m_textRevision;
    return WriteResult::done(changed);
}

WriteResult QuestionStore::writeEach(const QString& sql, const QVector<QVariantList>& rows)
{
    int changed = 0;
    for (const QVariantList& params : rows) {
        const WriteResult one = write(sql, params);
        if (!one.isDone())
            return one;
        changed += one.rows();
    }
    return WriteResult::done(changed);
}

WriteResult QuestionStore::writeTransaction(const std::function<WriteResult()>& work, Writes writes)
{
    // A read-only connection can take no write lock: its transactions write temporary tables only.
    const bool lock = writes == Writes::Bank || !m_readOnly;
    const WriteResult begun = write(lock ? QStringLiteral("begin immediate") : QStringLiteral("begin"));
    if (!begun.isDone())
        return begun;
    const WriteResult result = work();
    if (!result.isDone()) {
        write(QStringLiteral("rollback"));
        return result;
    }
    const WriteResult committed = write(QStringLiteral("commit"));
    if (!committed.isDone()) {
        write(QStringLiteral("rollback"));
        return committed;
    }
    return result;
}

bool QuestionStore::transaction(const std::function<bool()>& work)
{
    if (!execute(QStringLiteral("begin immediate")))
        return false;
    if (!work()) {
        const StoreFailure why = m_failure;
        execute(QStringLiteral("rollback"));
        return fail(why);
    }
    if (!execute(QStringLiteral("commit"))) {
        const StoreFailure why = m_failure;
        execute(QStringLiteral("rollback"));
        return fail(why);
    }
    return true;
}
