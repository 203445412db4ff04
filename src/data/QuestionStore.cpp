#include "data/QuestionStore.h"

#include "data/BankSchema.h"
#include "data/Sqlite.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

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
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        m_openError = OpenError::NotFound;
        return fail(info.exists() ? QStringLiteral("这不是一个文件") : QStringLiteral("文件不存在"));
    }
    if (isPlainSqliteFile(path)) {
        m_openError = OpenError::NotABank;
        return fail(QStringLiteral("这是一个未加密的数据库文件，不是 Vellumore 题库"));
    }
    const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (!connect(path, flags | SQLITE_OPEN_FULLMUTEX)) {
        m_openError = OpenError::NotFound;
        return fail(QStringLiteral("无法打开文件（%1）").arg(m_lastError));
    }

    auto reject = [this](OpenError why, const QString& message) {
        close();
        m_openError = why;
        return fail(message);
    };

    int rc = SQLITE_OK;
    {
        Statement probe = prepare(m_db, QStringLiteral("select count(*) from sqlite_master"), {}, &rc);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(probe.get());
    }
    if (rc != SQLITE_ROW) {
        if (rc == SQLITE_NOTADB)
            return reject(OpenError::NotABank,
                QStringLiteral("文件无法解密：它不是 Vellumore 题库、密码不符或文件头已损坏"));
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
    if (version < SchemaVersion && mode == Mode::ReadOnly)
        return reject(OpenError::Damaged, QStringLiteral("题库需要升级到当前版本，只读打开时无法升级"));
    if (mode == Mode::ReadWrite && !applyDurability())
        return reject(OpenError::Damaged, QStringLiteral("无法设置题库的写入方式（%1）").arg(m_lastError));
    if (version < SchemaVersion && mode == Mode::ReadWrite && !upgradeSchema(version))
        return reject(OpenError::Damaged, QStringLiteral("题库无法升级到当前版本（%1）").arg(m_lastError));
    if (version == SchemaVersion && mode == Mode::ReadWrite && !completeRecords())
        return reject(OpenError::Damaged, QStringLiteral("题库无法升级到当前版本（%1）").arg(m_lastError));

    m_lastError.clear();
    return true;
}

bool QuestionStore::create(const QString& path)
{
    if (QFileInfo::exists(path)) {
        m_openError = OpenError::NotFound;
        return fail(QStringLiteral("文件已存在"));
    }
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

bool QuestionStore::completeRecords()
{
    // Banks of version 2 written before its records joined it lack them; the statements
    // only add what is missing.
    if (scalar(QStringLiteral("select count(*) from sqlite_master where type='table' and name='answer_history'"))
            .toInt()
        > 0)
        return true;
    return transaction([this] {
        for (const QString& statement : BankSchema::recordStatements()) {
            if (!execute(statement))
                return false;
        }
        return true;
    });
}

void QuestionStore::finalizeStatements()
{
    for (sqlite3_stmt* stmt : std::as_const(m_writeStatements))
        sqlite3_finalize(stmt);
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
        return fail(sqlite::errorText(m_db));
    ++m_textRevision; // bulk and schema statements: assume the worst
    return true;
}

bool QuestionStore::executeBatch(const QString& sql, const QVector<QVariantList>& rows)
{
    if (!m_db)
        return fail(QStringLiteral("no connection"));
    int rc = SQLITE_OK;
    Statement stmt = prepare(m_db, sql, {}, &rc);
    if (rc != SQLITE_OK || !stmt)
        return fail(sqlite::errorText(m_db));
    for (const QVariantList& params : rows) {
        sqlite3_reset(stmt.get());
        rc = sqlite::bindAll(stmt.get(), params);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(stmt.get());
        if (rc != SQLITE_DONE)
            return fail(sqlite::errorText(m_db));
    }
    ++m_textRevision;
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

WriteResult QuestionStore::writeFailure(int rc) const
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
    return WriteResult::failed(why + QStringLiteral("（") + sqlite::errorText(m_db) + QStringLiteral("）"));
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
    sqlite3_stmt* stmt = m_writeStatements.value(sql);
    if (!stmt) {
        const QByteArray utf8 = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, nullptr);
        if (rc != SQLITE_OK || !stmt) {
            sqlite3_finalize(stmt);
            return writeFailure(rc);
        }
        m_writeStatements.insert(sql, stmt);
    }
    int rc = sqlite::bindAll(stmt, params);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt);
    const int changed = sqlite3_changes(m_db);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc != SQLITE_DONE)
        return writeFailure(rc);
    if (changed > 0 && mayChangeTexts(sql))
        ++m_textRevision;
    return WriteResult::done(changed);
}

WriteResult QuestionStore::writeTransaction(const std::function<WriteResult()>& work)
{
    const WriteResult begun = write(QStringLiteral("begin immediate"));
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
