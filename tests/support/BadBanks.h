#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class TestBank;

/// Bank files gone wrong in the ways a user meets them, for the open and write paths.
namespace BadBanks {

/// The kinds: "read-only", "read-only folder", "full disk", "zero bytes", "truncated",
/// "plain sqlite", "foreign journal".
QStringList kinds();

struct Made
{
    QString bank; ///< the file to open
    QString journal; ///< a journal beside it, or empty
    QString skip; ///< why this kind cannot be made here, or empty
    QStringList mounts; ///< undone by undo()
};

/// Makes a bank of @p kind in the empty folder @p folder, first filled by @p fill (which
/// also writes the catalogue table). Mounts live in the test's private mount namespace.
Made make(const QString& kind, const QString& folder, const std::function<void(TestBank&)>& fill);
void undo(const Made& made);

/// The bytes of @p path, or "<none>" when it cannot be read.
QByteArray contents(const QString& path);

/// Writes at @p journalPath the rollback journal the engine writes before changing page 1 of
/// a bank of @p bankPages pages whose page 1 was @p page1: the engine plays it back on the
/// next open of the bank beside it.
void writeJournal(const QString& journalPath, const QByteArray& page1, quint32 bankPages);

} // namespace BadBanks
