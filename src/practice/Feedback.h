#pragma once

#include <QString>
#include <QVariant>

/// The verdict shown at once when the candidate asks for feedback while practising.
namespace Feedback {

enum class Verdict
{
    Right,
    Wrong,
    Unanswered,
    SelfAssessed
};

/// The verdict on answer @p given to a question of @p type with key @p key.
/// Self-assessed types ("会做"/"不会") have no right or wrong of their own.
Verdict verdict(const QString& type, const QString& key, const QVariant& given);

/// The lines shown under the question: the verdict, the standard answer and the notes.
QString text(Verdict verdict, const QString& key, const QString& given, const QString& notes);

/// The settings that remember whether feedback is on.
QString settingsSection();
QString settingsKey();

} // namespace Feedback
