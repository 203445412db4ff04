#pragma once

#include <QString>

/// @p n followed by the English @p noun, plural unless @p n is 1: "1 question", "2 questions".
/// Every noun the tool counts takes a plain -s.
inline QString counted(qlonglong n, const char* noun)
{
    return QString::number(n) + u' ' + QLatin1String(noun) + (n == 1 ? QString() : QStringLiteral("s"));
}
