#include "data/QuestionType.h"

namespace QuestionType {
namespace {

struct Entry
{
    Kind kind;
    const char16_t* name;
};

constexpr Entry Names[]
    = { { Kind::SingleChoice, u"单选" }, { Kind::Indefinite, u"不定项" }, { Kind::ShortAnswer, u"简答" },
          { Kind::Comprehensive, u"综合" }, { Kind::Judgement, u"判断" }, { Kind::MultipleChoice, u"多选" },
          { Kind::Calculation, u"计算" }, { Kind::A4, u"A4" }, { Kind::B, u"B" }, { Kind::A3, u"A3" } };

} // namespace

Kind kindOf(const QString& name)
{
    // Whole names, compared as stored: "b" is no type of ours.
    for (const Entry& e : Names) {
        if (name == QStringView(e.name))
            return e.kind;
    }
    return Kind::Other;
}

QString name(Kind kind)
{
    for (const Entry& e : Names) {
        if (e.kind == kind)
            return QString::fromUtf16(e.name);
    }
    return {};
}

QStringList names()
{
    QStringList all;
    for (const Entry& e : Names)
        all << QString::fromUtf16(e.name);
    return all;
}

bool isSelfAssessed(const QString& name)
{
    const Kind k = kindOf(name);
    return k == Kind::ShortAnswer || k == Kind::Comprehensive || k == Kind::Calculation;
}

bool isGrouped(const QString& name)
{
    const Kind k = kindOf(name);
    return k == Kind::B || k == Kind::A3 || k == Kind::A4;
}

QString slotName(TypeSlot slot)
{
    // The first six entries are the slots, in their order.
    return slot >= 0 && slot < SlotCount ? QString::fromUtf16(Names[slot].name) : QString();
}

std::optional<TypeSlot> slotOf(const QString& name)
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (name == QStringView(Names[slot].name))
            return slot;
    }
    return std::nullopt;
}

std::array<QString, SlotCount> slotNames()
{
    std::array<QString, SlotCount> names;
    for (int slot = 0; slot < SlotCount; ++slot)
        names[size_t(slot)] = slotName(slot);
    return names;
}

} // namespace QuestionType
