#pragma once

#include <QString>

/// Read-only files and folders and a full disk for tests that run as root, whom file
/// permissions do not stop: bind mounts and a small memory file system in a mount
/// namespace of the test's own, so nothing is seen outside the test process.
namespace PrivateMounts {

/// Moves the calling thread into a private mount namespace (once). False with the reason
/// when the system allows none; the caller skips then.
bool enter(QString* why);

/// Makes @p path (a file or a folder) read-only where it is.
bool makeReadOnly(const QString& path, QString* why);
/// Mounts the file @p source over the existing file @p target, writable.
bool bindFile(const QString& source, const QString& target, QString* why);
/// Mounts an empty memory file system of @p bytes on the folder @p folder.
bool mountSmallDisk(const QString& folder, qint64 bytes, QString* why);
/// Fills the file system holding @p folder until at most @p leaveBytes are free.
bool fill(const QString& folder, qint64 leaveBytes, QString* why);
/// Undoes a mount made at @p path (the last one first).
void unmount(const QString& path);

} // namespace PrivateMounts
