#include "data/QuestionStore.h"

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

QString quoted(const QString& path)
{
    return QStringLiteral("“%1”").arg(QDir::toNativeSeparators(path));
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

bool QuestionStore::fail(const QString& message)
{
    m_lastError = message;
    return false;
}

bool QuestionStore::connect(const QString& path, int flags)
{
    close();
    m_path = path;
    m_openError = OpenError::None;
    const QByteArray file = QFile::encodeName(path);
    if (sqlite3_open_v2(file.constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        m_lastError = sqlite::errorText(m_db);
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
    auto refuse = [this](OpenError why, const QString& message) {
        m_openError = why;
        return fail(message);
    };
    if (!info.exists() || !info.isFile())
        return refuse(OpenError::NotFound,
            info.exists() ? QStringLiteral("这不是一个文件") : QStringLiteral("文件不存在"));
    // Checked before the engine looks: it deletes any journal beside an empty file.
    if (info.size() == 0)
        return refuse(OpenError::MissingTables, QStringLiteral("文件是空的（0 字节），不含任何题库数据表"));
    if (isPlainSqliteFile(path))
        return refuse(OpenError::NotABank, QStringLiteral("这是一个未加密的数据库文件，不是 Vellumore 题库"));
    const QString journal = path + QStringLiteral("-journal");
    if (checkJournal(path, journal) == Journal::Foreign)
        return refuse(OpenError::ForeignJournal,
            QStringLiteral(
                "题库旁的日志文件%1不属于这个题库（可能是另一个题库留下的），打开题库会用它改写题库内容。"
                "题库没有被打开，日志文件也没有删除；请把它移走后再打开题库")
                .arg(quoted(journal)));
    if (mode == Mode::ReadWrite) {
        // Every write needs the file and a journal beside it in the same folder.
        if (!info.isWritable())
            return refuse(OpenError::NotWritable, QStringLiteral("题库文件是只读的，不能写入"));
        const QString folder = info.absolutePath();
        if (!QFileInfo(folder).isWritable())
            return refuse(OpenError::NotWritable,
                QStringLiteral("题库所在的文件夹%1不能写入，无法建立写入时需要的日志文件")
                    .arg(quoted(folder)));
    }
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (!connect(path, flags | SQLITE_OPEN_FULLMUTEX))
        return refuse(OpenError::NotFound, QStringLiteral("无法打开文件（%1）").arg(m_lastError));

    auto reject = [this, &refuse](OpenError why, const QString& message) {
        close();
        return refuse(why, message);
    };
    // The engine quietly opens a file it cannot write read-only.
    if (mode == Mode::ReadWrite && sqlite3_db_readonly(m_db, "main") == 1)
        return reject(OpenError::NotWritable, QStringLiteral("题库文件是只读的，不能写入"));

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
            return reject(OpenError::NotABank,
                QStringLiteral("文件无法解密：它不是 Vellumore 题库、密码不符或文件头已损坏"));
        if (rc == SQLITE_READONLY_ROLLBACK)
            return reject(OpenError::NotWritable,
                QStringLiteral("题库有一次中断的写入需要用日志文件%1恢复，但题库只能只读打开，无法恢复")
                    .arg(quoted(journal)));
        return reject(OpenError::Damaged, QStringLiteral("文件已损坏（%1）").arg(sqlite::errorText(m_db)));
    }

    const qint64 pages = scalar(QStringLiteral("PRAGMA page_count")).toLongLong();
    if (pages <= 0)
        return reject(OpenError::MissingTables, QStringLiteral("文件是空的，不含任何题库数据表"));
    if (info.size() < pages * CipherPageSize)
        return reject(OpenError::Damaged, QStringLiteral("文件已损坏：它比记录的长度短，可能没有写完整"));

    const QStringList missing = BankSchema::missingTables(*this);
    if (!missing.isEmpty())
        return reject(OpenError::MissingTables,
            QStringLiteral("文件中缺少题库数据表：%1").arg(missing.join(QStringLiteral("、"))));

    const int version = scalar(QStringLiteral("PRAGMA user_version")).toInt();
    if (version >= FirstIncompatibleVersion)
        return reject(OpenError::TooNew,
            QStringLiteral("题库由更新版本的 Vellumore 创建（版本 %1），请升级程序").arg(version));
    if (mode == Mode::ReadWrite && !applyDurability())
        return reject(OpenError::Damaged, QStringLiteral("无法设置题库的写入方式（%1）").arg(m_lastError));
    // A read-only bank is read as it is: what needs a newer version's tables does without.
    if (mode == Mode::ReadWrite && version < SchemaVersion && !upgradeSchema(version))
        return reject(OpenError::Damaged, QStringLiteral("题库无法升级到当前版本（%1）").arg(m_lastError));

    m_readOnly = mode == Mode::ReadOnly;
    m_schemaVersion = mode == Mode::ReadOnly ? version : qMax(version, SchemaVersion);
    m_lastError.clear();
    return true;
}

bool QuestionStore::create(const QString& path)
{
    if (QFileInfo::exists(path)) {
        m_openError = OpenError::NotFound;
        return fail(QStringLiteral("文件已存在"));
    }
    m_readOnly = false;
    m_schemaVersion = SchemaVersion;
    if (!connect(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX))
        return false;
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!applyDurability() || !applySchema()) {
        const QString why = m_lastError;
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
        return fail(QStringLiteral("no connection"));
    int rc = SQLITE_OK;
    Statement stmt = prepare(m_db, sql, params, &rc);
    if (rc == SQLITE_OK && stmt) {
        do {
            rc = sqlite3_step(stmt.get());
        } while (rc == SQLITE_ROW);
    }
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        return fail(failureReason(rc));
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

QString QuestionStore::failureReason(int rc) const
{
    QString why;
    switch (rc & 0xff) {
    case SQLITE_READONLY:
        why = QStringLiteral("题库文件是只读的，不能写入");
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        why = QStringLiteral("题库正被另一个程序使用，等待 %1 秒后仍未释放").arg(m_busyTimeout / 1000.0);
        break;
    case SQLITE_FULL:
        why = QStringLiteral("磁盘空间已满");
        break;
    case SQLITE_IOERR:
        why = QStringLiteral("读写题库文件时出错");
        break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        why = QStringLiteral("题库文件已损坏");
        break;
    case SQLITE_CANTOPEN:
        why = QStringLiteral("无法打开题库文件");
        break;
    default:
        why = QStringLiteral("数据库错误");
        break;
    }
    return why + QStringLiteral("（") + sqlite::errorText(m_db) + QStringLiteral("）");
}

WriteResult QuestionStore::writeFailure(int rc) const
{
    return WriteResult::failed(failureReason(rc));
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
        return WriteResult::failed(QStringLiteral("题库没有打开"));
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
        const QString why = m_lastError;
        execute(QStringLiteral("rollback"));
        return fail(why);
    }
    if (!execute(QStringLiteral("commit"))) {
        const QString why = m_lastError;
        execute(QStringLiteral("rollback"));
        return fail(why);
    }
    return true;
}
