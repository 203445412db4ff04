#pragma once

#include "data/QuestionType.h"
#include "data/WriteResult.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <random>

class QuestionStore;

/// What a mock-exam paper is drawn from: the section names left out of the range and
/// the texts of the six count boxes, in type-slot order.
struct ExamPaperRequest
{
    /// 细目 names of the sections not chosen; every section of such a name is left out.
    QStringList deselectedSections;
    /// How many questions of each slot's type, as typed: the leading number counts.
    std::array<QString, QuestionType::SlotCount> counts;
    /// Fixes the draw (tests); without it every paper is drawn afresh.
    std::optional<quint32> seed;
    /// Per slot, the questions never answered (no attempt, not in the review schedule)
    /// first, uniformly; when they are too few, all of them and then the least recently
    /// practised, the schedule's unknown days first and ties at random.
    bool unseenFirst = false;
};

/// Progress of the four phases: sections, types, numbers, rows.
using ComposeProgress = std::function<void(int maximum, int value)>;

/// The number of questions a count box asks for: its leading whole number, none for
/// text without one or a negative number.
int paperCount(const QString& text);

/// A seed that differs from one paper to the next.
quint32 freshPaperSeed();

/// Rebuilds kstk as a random paper, within the caller's transaction: per type slot,
/// min(N, available) questions of the chosen sections drawn uniformly without
/// repetition, each numbered with a 题号 below 100000 that no other row of kstk has,
/// with 答题 empty and 收藏否 -1. Types outside the six slots (B, A3, A4, 计算, ...)
/// have no count and are never drawn. exam_source keeps each copy's 题号 in tk, for the
/// answer history. tk is only read.
WriteResult ComposeExamPaper(
    QuestionStore& store, const ExamPaperRequest& request, const ComposeProgress& progress = {});
