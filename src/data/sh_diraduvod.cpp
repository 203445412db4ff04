#include "data/sh_diraduvod.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <limits>
#include <optional>

namespace sh_diraduvod {
namespace {

// Lines are kept as bytes so that anything else in the file survives a write unchanged.
QList<QByteArray> readLines(const QString& path, bool* ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    if (!*ok)
        return {};
    const QByteArray content = file.readAll();
    *ok = file.error() == QFileDevice::NoError;
    QList<QByteArray> lines = content.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray stripCr(const QByteArray& line)
{
    return line.endsWith('\r') ? line.chopped(1) : line;
}

std::optional<QByteArray> sectionName(const QByteArray& line)
{
    const QByteArray t = stripCr(line).trimmed();
    if (t.size() >= 2 && t.startsWith('[') && t.endsWith(']'))
        return t.mid(1, t.size() - 2).trimmed();
    return std::nullopt;
}

bool sameName(const QByteArray& a, const QString& b)
{
    return QString::fromUtf8(a).compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line, or nothing for other lines.
std::optional<QByteArray> keyOf(const QByteArray& line)
{
    const int eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return line.left(eq).trimmed();
}

QByteArray writtenForm(const QString& key, qint16 value)
{
    const QByteArray number = QByteArray::number(value);
    return key.toUtf8() + '=' + (value >= 0 ? QByteArray(" ") + number : number);
}

} // namespace

QString IniPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("kscs.ini"));
}

qint16 ParseIniInt(const QByteArray& value)
{
    const QByteArray t = value.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        negative = t[i] == '-';
        ++i;
    }
    qint64 magnitude = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (t[i] - '0');
        if (magnitude > 100000)
            magnitude = 100000; // far enough out to clamp; stops overflow on long digit runs
    }
    const qint64 v = negative ? -magnitude : magnitude;
    constexpr qint64 lo = std::numeric_limits<qint16>::min();
    constexpr qint64 hi = std::numeric_limits<qint16>::max();
    return static_cast<qint16>(std::clamp(v, lo, hi));
}

qint16 GetIniInt(const QString& section, const QString& key, qint16 defaultValue)
{
    bool ok = false;
    const QList<QByteArray> lines = readLines(IniPath(), &ok);
    bool inSection = false;
    for (const QByteArray& raw : lines) {
        const QByteArray line = stripCr(raw);
        if (auto name = sectionName(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (auto k = keyOf(line); k && sameName(*k, key))
            return ParseIniInt(line.mid(line.indexOf('=') + 1));
    }
    return defaultValue;
}

bool PutIniInt(const QString& section, const QString& key, qint16 value)
{
    const QString path = IniPath();
    bool existed = false;
    QList<QByteArray> lines = readLines(path, &existed);
    // A file that is there but cannot be read would lose every other line.
    if (!existed && QFileInfo::exists(path))
        return false;

    int sectionLine = -1;
    int insertAt = -1;
    bool replaced = false;
    for (int i = 0; i < lines.size() && !replaced; ++i) {
        const QByteArray line = stripCr(lines[i]);
        if (auto name = sectionName(line)) {
            if (sectionLine >= 0)
                break; // past the end of our section
            if (sameName(*name, section)) {
                sectionLine = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionLine < 0)
            continue;
        if (auto k = keyOf(line); k && sameName(*k, key)) {
            lines[i] = writtenForm(key, value);
            replaced = true;
        } else if (!line.trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!replaced) {
        if (sectionLine < 0) {
            lines.append('[' + section.toUtf8() + ']');
            lines.append(writtenForm(key, value));
        } else {
            lines.insert(insertAt, writtenForm(key, value));
        }
    }

    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    for (const QByteArray& line : std::as_const(lines))
        out.write(line + '\n');
    return out.commit();
}

} // namespace sh_diraduvod
