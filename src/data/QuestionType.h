#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

/// The question types by the names stored in 题型, and the fixed order of the six
/// types the exam settings, the settings keys and the grading tallies use.
namespace QuestionType {

enum class Kind
{
    SingleChoice,
    Indefinite,
    ShortAnswer,
    Comprehensive,
    Judgement,
    MultipleChoice,
    Calculation,
    A4,
    B,
    A3,
    Other
};

/// The kind of a stored type name; Other for any name the program does not handle.
Kind kindOf(const QString& name);
/// The stored name of a kind; empty for Other.
QString name(Kind kind);

/// Every name the program handles, in the order of Kind.
QStringList names();

/// 简答, 综合 and 计算: the candidate judges the answer himself ("会做"/"不会").
bool isSelfAssessed(const QString& name);

/// B, A3 and A4: one row stands for as many numbered questions as its key has characters.
bool isGrouped(const QString& name);

/// The six filterable types in slot order: 0 单选, 1 不定项, 2 简答, 3 综合, 4 判断, 5 多选.
constexpr int SlotCount = 6;
using TypeSlot = int;
/// The type name of a slot.
QString slotName(TypeSlot slot);
/// The slot of a type name; none for types outside the six.
std::optional<TypeSlot> slotOf(const QString& name);
/// The slots' type names, in slot order.
std::array<QString, SlotCount> slotNames();

} // namespace QuestionType
