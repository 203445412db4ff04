#include "BadBanks.h"

#include "PrivateMounts.h"
#include "TestBank.h"

#include "catalogue/Catalogue.h"
#include "data/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace BadBanks {
namespace {

QByteArray bigEndian(quint32 v)
{
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

QStringList kinds()
{
    return { QStringLiteral("read-only"), QStringLiteral("read-only folder"), QStringLiteral("full disk"),
        QStringLiteral("zero bytes"), QStringLiteral("truncated"), QStringLiteral("plain sqlite"),
        QStringLiteral("foreign journal") };
}

QByteArray contents(const QString& path)
{
    if (path.isEmpty())
        return QByteArray("<none>");
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

void writeJournal(const QString& journalPath, const QByteArray& page1, quint32 bankPages)
{
    constexpr quint32 Sector = 512;
    const quint32 pageSize = quint32(page1.size());
    const quint32 nonce = 0x5eed1234;
    QByteArray journal = QByteArray("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8) + bigEndian(1) + bigEndian(nonce)
        + bigEndian(bankPages) + bigEndian(Sector) + bigEndian(pageSize);
    journal.append(QByteArray(int(Sector) - journal.size(), '\0'));
    // The engine's record checksum: the nonce plus every 200th byte from the end.
    quint32 checksum = nonce;
    for (int i = int(pageSize) - 200; i > 0; i -= 200)
        checksum += quint8(page1.at(i));
    journal += bigEndian(1) + page1 + bigEndian(checksum);
    writeFile(journalPath, journal);
}

Made make(const QString& kind, const QString& folder, const std::function<void(TestBank&)>& fill)
{
    Made made;
    const QDir dir(folder);
    auto build = [&fill](const QString& path) {
        TestBank bank(path);
        if (fill)
            fill(bank);
        Catalogue::rewriteTree(bank.store());
    };
    auto mounted = [&made](bool ok, const QString& path, const QString& why) {
        if (ok)
            made.mounts.prepend(path);
        else
            made.skip = why;
        return ok;
    };
    const bool needsMounts = kind == QLatin1String("read-only") || kind == QLatin1String("read-only folder")
        || kind == QLatin1String("full disk");
    if (needsMounts && !PrivateMounts::enter(&made.skip))
        return made;

    QString why;
    if (kind == QLatin1String("read-only")) {
        made.bank = dir.filePath(QStringLiteral("bank.db"));
        build(made.bank);
        mounted(PrivateMounts::makeReadOnly(made.bank, &why), made.bank, why);
    } else if (kind == QLatin1String("read-only folder")) {
        // A writable bank in a folder where nothing can be created.
        const QString shut = dir.filePath(QStringLiteral("shut"));
        dir.mkdir(QStringLiteral("shut"));
        const QString writable = dir.filePath(QStringLiteral("writable.db"));
        build(writable);
        made.bank = QDir(shut).filePath(QStringLiteral("bank.db"));
        writeFile(made.bank, {});
        mounted(PrivateMounts::makeReadOnly(shut, &why), shut, why)
            && mounted(PrivateMounts::bindFile(writable, made.bank, &why), made.bank, why);
    } else if (kind == QLatin1String("full disk")) {
        const QString disk = dir.filePath(QStringLiteral("disk"));
        dir.mkdir(QStringLiteral("disk"));
        const QString built = dir.filePath(QStringLiteral("built.db"));
        build(built);
        made.bank = QDir(disk).filePath(QStringLiteral("bank.db"));
        if (mounted(PrivateMounts::mountSmallDisk(disk, 4 << 20, &why), disk, why)) {
            if (!QFile::copy(built, made.bank) || !PrivateMounts::fill(disk, 0, &why))
                made.skip = QStringLiteral("cannot fill the small disk: ") + why;
        }
    } else if (kind == QLatin1String("plain sqlite")) {
        made.bank = dir.filePath(QStringLiteral("other.db"));
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(made.bank).constData(), &db);
        sqlite3_exec(db,
            "create table contacts(name text, phone text); insert into contacts values('张三', '1');",
            nullptr, nullptr, nullptr);
        sqlite3_close(db);
    } else {
        made.bank = dir.filePath(QStringLiteral("bank.db"));
        build(made.bank);
        if (kind == QLatin1String("zero bytes")) {
            writeFile(made.bank, {});
        } else if (kind == QLatin1String("truncated")) {
            QFile f(made.bank);
            f.resize(f.size() - QuestionStore::CipherPageSize / 2); // mid-page
        } else if (kind == QLatin1String("foreign journal")) {
            const QString other = dir.filePath(QStringLiteral("other.db"));
            build(other);
            made.journal = made.bank + QStringLiteral("-journal");
            writeJournal(made.journal, contents(other).left(QuestionStore::CipherPageSize),
                quint32(QFileInfo(made.bank).size() / QuestionStore::CipherPageSize));
        }
    }
    return made;
}

void undo(const Made& made)
{
    for (const QString& path : made.mounts)
        PrivateMounts::unmount(path);
}

} // namespace BadBanks
