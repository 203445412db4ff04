#pragma once

#include <QString>
#include <QVector>

class QuestionStore;
class TestBank;

/// The banks the tests share, built through TestBank. Tests check exact row texts, so
/// each bank is described here with what it holds.
namespace Fixtures {

/// The catalogue of the list, view and answer tests: the material section J0101 "证券法"
/// (with @p materialText, when not null), the question sections K0101 "第一节", K0102
/// "第二节" and the empty K0103 "第三节", and the personal nodes W0101 "个人收藏试题",
/// W0102 "个人做错的题" and W0103 "个人做过的题" under the subject "个人题库".
void practiceCatalogue(TestBank& bank, const QString& materialText = QString());

/// Project K / subject K01 with the sections
/// - "证券市场的产生与发展" (K0101): 1 单选 "A" answered "B"; 2 多选 "ABD" answered "AB",
///   a favourite; 3 判断 "A" answered "A"; 4 A3 "AB" answered "AB". Listed as A3, 判断,
///   单选, 多选: "第1题--第2题", "第3题", "第4题", "第5题".
/// - "股票" (K0102): 单选 questions numbered 1, 2 and 5 (a gap), answered "B", not at all, "A".
/// - "债券" (K0103): no questions.
/// and the named entry "个人收藏试题" (W0101).
void marketBank(TestBank& bank);

/// The practice catalogue with one question of most types in K0101, answered in every way
/// a filter tells apart (absent, empty, right, wrong), and one more in K0102:
/// 1 单选 A <null>, 2 单选 A "", 3 单选 A "A", 4 多选 AB "B", 5 判断 B "A", 6 计算 会做 "不会",
/// 7 A4 对 "错", 8 B AB <null>, 9 简答 会做 "会做", 10 不定项 ACD "", and K0102 11 单选 B "C".
void answeredBank(TestBank& bank);

/// The practice catalogue with the material text @p materialText and favourites among
/// right, wrong, empty and absent answers:
/// K0101: 1 单选 A "B" ★, 2 单选 A <null> ★, 3 单选 A "A" ★, 4 单选 A "" ★, 5 单选 A "B",
/// 6 多选 AB "AB" ★; K0102: 7 判断 B "A" ★, 8 A4 对 "错" ★.
void favouritesBank(TestBank& bank, const QString& materialText);


struct NamedText
{
    const char* name;
    QString text;
};
/// Texts that must come back exactly as typed: quotes, backslashes, RTF control
/// words, braces, Chinese and emoji.
QVector<NamedText> awkwardTexts();

} // namespace Fixtures
