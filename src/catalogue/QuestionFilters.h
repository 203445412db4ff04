#pragma once

#include "data/QuestionListRepository.h"

#include <QString>
#include <QVariantList>

/// The selections behind the question list: a section, the personal lists, and the
/// practice and exam filters, from the choices as the windows name them. Every listing
/// orders by 题型 and sj.
namespace QuestionFilters {

using Selection = QuestionListing;

/// The six filterable types in the order of the type boxes (the type slots).
QStringList filterTypes();

/// The names of the ticked types joined in box order; @p ticked holds six flags.
QString TypeFilterText(const QVector<bool>& ticked);

/// The questions of one section of tk.
Selection section(const QString& code);

/// A personal list by its node text ("个人收藏试题", "个人做错的题", "个人做过的题"),
/// with the title it shows; an empty statement for any other text.
Selection personal(const QString& nodeText, QString* title);
bool isPersonalList(const QString& nodeText);

/// The practice filter over one section of tk: "全部题目", "已做题目", "未做题目" or
/// "做错题目"; any other choice lists the whole bank.
Selection practice(const QString& choice, const QString& types, const QString& code);

/// The questions of tk in review due on or before @p day.
Selection review(qint64 day);
/// The practice filter's choices and types over the questions due on or before @p day.
Selection reviewFilter(const QString& choice, const QString& types, qint64 day);

/// The exam filter over the paper in kstk: "全部题目", "已做过题" or "未做过题";
/// any other choice lists the whole paper.
Selection exam(const QString& choice, const QString& types);

} // namespace QuestionFilters
