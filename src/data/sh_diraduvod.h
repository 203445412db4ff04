#pragma once

#include <QString>
#include <QtGlobal>

/// Accessors of the settings file kscs.ini (考试参数, the exam parameters): integer keys in one section,
/// written as "KEY= 20" (a blank before a non-negative number) and read by their
/// leading decimal number. Nothing is cached; every call opens and closes the file.
namespace sh_diraduvod {

/// Full path of kscs.ini in the per-user configuration folder; evaluated on every call.
QString IniPath();

/// The key's value, or @p defaultValue when the file, the section or the key is missing.
/// A stored value outside -32768..32767 is clamped to that range.
qint16 GetIniInt(const QString& section, const QString& key, qint16 defaultValue);

/// Writes the key, creating the file and the section when needed and keeping every
/// other line of the file as it was. Returns false when the file cannot be written.
bool PutIniInt(const QString& section, const QString& key, qint16 value);

/// The read form on its own: surrounding blanks ignored, the leading decimal number
/// taken (0 when there is none), clamped to the 16-bit range.
qint16 ParseIniInt(const QByteArray& value);

} // namespace sh_diraduvod
