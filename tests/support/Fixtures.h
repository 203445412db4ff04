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

/// The practice catalogue with the K0101 questions 1 and 5 (a gap): the bank the imports
/// go into. Sections to import into: K0101 "第一节", K0102 "第二节", K0103 "第三节".
void importBank(TestBank& bank);

/// A sound import file with a header, separated by @p separator, with line breaks
/// @p lineBreak. Its three questions:
/// - line 2 (two lines): K0101 单选 "下列说法中，\"正确\"的是（    ）。" with the options 甲 乙 丙 丁
///   lettered "A．甲" …, key "c", a note of two lines "第一行笔记" / "第二行笔记";
/// - line 4 (three lines): "k0102" 多选 "证券的种类有（    ）。", options 股票 债券 基金 one a line,
///   key "CA", no note;
/// - line 8, after a blank line: K0102 判断 "国债的信用风险低于公司债券。", no options,
///   key "A", the note column left out.
QString importText(QChar separator = u',', const QString& lineBreak = QStringLiteral("\n"));

/// @p text in GBK, as Chinese Windows programs save "ANSI" text.
QByteArray gbk(const QString& text);

/// Every column of every row of tk in a fixed order: equal texts before and after an
/// operation mean it wrote nothing.
QString questionTable(QuestionStore& store);

struct NamedText
{
    const char* name;
    QString text;
};
/// Texts that must come back exactly as typed: quotes, backslashes, RTF control
/// words, braces, Chinese and emoji.
QVector<NamedText> awkwardTexts();

} // namespace Fixtures
