#pragma once

#include <QCryptographicHash>
#include <QString>
#include <QVariant>

/// The lines the crash child prints and the harness reads back after killing it:
///   `will <table> <field> <代码> <题号> <value token>` before each write,
///   `done …` the same after the write came back done,
/// `exam` once the working set of the exam has been made, and `ready` before the child
/// waits for a byte on stdin that starts the writes.
/// A write killed between its two lines may or may not have reached the bank.
namespace CrashStream {

/// The value as the report carries it: absent stays apart from the empty text, and a
/// long note takes no more room in the pipe than a short answer.
inline QString token(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("null");
    return QString::fromLatin1(
        QCryptographicHash::hash(value.toString().toUtf8(), QCryptographicHash::Sha1).toHex());
}

inline constexpr char Will[] = "will";
inline constexpr char Done[] = "done";

inline QString line(const char* verb, const QString& table, const QString& field, const QString& code,
    const QString& number, const QVariant& value)
{
    return QStringList { QString::fromLatin1(verb), table, field, code, number, token(value) }.join(u' ')
        + u'\n';
}

/// The place a report line is about: everything but its value.
inline QString place(const QString& table, const QString& field, const QString& code, const QString& number)
{
    return QStringList { table, field, code, number }.join(u' ');
}

inline constexpr char ExamMade[] = "exam";
inline constexpr char Ready[] = "ready";

} // namespace CrashStream
