#pragma once

#include "catalogue/QuestionFilters.h"

class QuestionStore;
class TestBank;

/// The banks of the search and statistics tests, built through TestBank.
namespace SearchBanks {

/// Project K "证券基础", subject K01 "金融市场", sections K0101 "第一节" and K0102
/// "第二节"; subject L01 "分析方法" without its project and without sections. Questions
/// (题干 extract tg | 选项 extract xx, key, answer), listed by 代码, 题型, sj:
/// - K0101: 4 判断 "债券_利率" | "A．对 B．错", A, "";
///   1 单选 "证券市场的主体" | "A．投资者 B．发行人", A, "A";
///   2 单选 "股票的收益" | "A．股息 B．证券", B, "C";
///   3 多选 "Investor's rights" | "A．100% 保本 B．50_50", AB, absent.
/// - K0102: 5 单选 "路径 C:\data 的含义" | "A．市场 B．基金", C, "c";
///   6 单选 "基金的说法" | "A．证券投资 B．股票", D, "A".
/// - K0199 (no section entry): 7 单选 "证券交易所" | "A．上交所", A, "A".
/// - L0101 (only its subject has an entry): 8 单选 "技术分析" | "A．K线", B, absent.
void searchBank(TestBank& bank);

/// Sections inserted out of order, listed K0101, K0102, K0103, V0101:
/// - J0101 "证券法" (below the range): 1 question, answered right.
/// - K0101 "第一节": keys A, B, A, A, A answered "A", "B", "a", absent, "": 5 / 3 / 2 / 1 / 2, 66.6%.
/// - K0102 "第二节": one right and six wrong of seven answered, and one with an empty key
///   and an empty answer: 8 / 7 / 1 / 6 / 1, 14.2%.
/// - K0103 "第三节": no questions.
/// - V0101 "最后一节": one right: 1 / 1 / 1 / 0 / 0, 100%.
/// - W0101 "个人收藏试题" (the range's end): 1 question, answered wrong.
/// - questions of K0199, which has no section entry: 1, answered right.
/// Totals over the listed sections: 14 / 11 / 4 / 7 / 3, 36.3%.
void statisticsBank(TestBank& bank);

/// The questions a selection lists, as "代码/题号" joined by blanks; the error when it fails.
QString listed(QuestionStore& store, const QuestionFilters::Selection& selection);

} // namespace SearchBanks
