#include "catalogue/NodeAction.h"

#include "data/CatalogueRepository.h"

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

    const TreeRow row = CatalogueRepository::treeRow(store, index).value_or(TreeRow());
    const int level = row.level;
    if (level == 1 || level == 2) {
        action.kind = Kind::Welcome;
        return action;
    }
    // A row that cannot be read is taken as a text-material section without text.
    action.code = row.code;
    action.title = row.project + QStringLiteral("→") + row.subject + QStringLiteral("→") + row.section;
    if (level == 3 && !action.code.isEmpty() && action.code.at(0) >= u'K') {
        action.kind = Kind::QuestionSection;
        action.selection = QuestionFilters::section(action.code);
        return action;
    }
    action.kind = Kind::Material;
    if (level != 3)
        action.title.clear();
    action.document = CatalogueRepository::materialText(store, action.code);
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
