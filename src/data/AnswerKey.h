#pragma once

#include "data/QuestionType.h"

#include <QString>

/// Which standard answers (答案) a question of each type can be judged by: the letters
/// its answer panel offers, 对/错 for the statements of A4, any text for the types the
/// user assesses themself.
namespace AnswerKey {

struct Checked
{
    QString key; ///< the key as stored; empty when it does not fit
    QString problem; ///< why it does not fit, in words for the user
};

/// Checks @p key for a question of @p kind with @p optionCount lettered options (0 when
/// the options are part of the question text: then A to E). The key is trimmed and
/// upper-cased as the add dialog does; the letters of a multiple-choice key are put in
/// A–E order, the order the answer panel writes them, or it could never count as right.
Checked check(QuestionType::Kind kind, const QString& key, int optionCount);

/// The most options a question can have: the answer panels offer A to E.
constexpr int MaxOptions = 5;

} // namespace AnswerKey
