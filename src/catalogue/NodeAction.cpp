#include "catalogue/NodeAction.h"

#include "data/QuestionStore.h"

NodeAction NodeAction::forNode(QuestionStore& store, const QString& text, int index)
{
    NodeAction action;
    action.personal = text.startsWith(QStringLiteral("个人"));

    if (text == QStringLiteral("模拟考场")) {
        action.kind = Kind::ExamRoom;
        return action;
    }
    if (QuestionFilters::isPersonalList(text)) {
        action.kind = Kind::PersonalList;
        action.selection = QuestionFilters::personal(text, &action.title);
        return action;
    }

    RowSet row = store.query(QStringLiteral("select * from tree order by rowid limit 1 offset ?"), { index - 1 });
    const int level = row.isValid() && !row.atEnd() ? row.field(QStringLiteral("flg")).toInt() : 0;
    if (level == 1 || level == 2) {
        action.kind = Kind::Welcome;
        return action;
    }
    // A row that cannot be read is taken as a text-material section without text.
    action.code = row.field(QStringLiteral("代码")).toString();
    action.title = row.field(QStringLiteral("项目")).toString() + QStringLiteral("→")
        + row.field(QStringLiteral("科目")).toString() + QStringLiteral("→")
        + row.field(QStringLiteral("细目")).toString();
    if (level == 3 && !action.code.isEmpty() && action.code.at(0) >= u'K') {
        action.kind = Kind::QuestionSection;
        action.selection = QuestionFilters::section(action.code);
        return action;
    }
    action.kind = Kind::Material;
    if (level != 3)
        action.title.clear();
    action.document
        = store.scalar(QStringLiteral("select 文字 from wz where 代码=? order by rowid limit 1"), { action.code })
              .toString();
    return action;
}

NodeAction NodeAction::forReview(qint64 day)
{
    NodeAction action;
    action.kind = Kind::ReviewList;
    action.title = QStringLiteral("今日复习");
    action.selection = QuestionFilters::review(day);
    return action;
}
