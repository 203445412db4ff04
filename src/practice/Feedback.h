#pragma once

#include "data/AnswerRule.h"

#include <QString>
#include <QVariant>

/// The verdict shown at once when the candidate asks for feedback while practising.
namespace Feedback {

using Verdict = AnswerRule::Verdict;

/// The lines shown under the question: the verdict, the standard answer and the notes.
QString text(Verdict verdict, const QString& key, const QString& given, const QString& notes);

} // namespace Feedback
