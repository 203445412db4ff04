#include "search/ui/FindQuestions.h"

#include "controls/MessageBox.h"
#include "data/QuestionStore.h"
#include "practice/ui/PracticePanel.h"
#include "search/QuestionSearch.h"
#include "search/SearchTexts.h"
#include "search/SectionCaptions.h"
#include "search/ui/frmcx.h"
#include "session/StudySession.h"

namespace FindQuestions {

void run(QuestionStore& store, SearchTexts& texts, StudySession& session, PracticePanel* panel,
    const std::function<void(const QString&)>& showTitle, QWidget* window)
{
    QuestionFilters::Selection selection;
    QuestionSearch::Request request;
    {
        frmcx dialog(session, window);
        dialog.exec();
        selection = dialog.selection();
        request = dialog.request();
    }
    if (session.searchStatement().isEmpty())
        return;

    if (request.mode == QuestionSearch::Mode::Keyword) {
        QString error;
        if (!texts.refresh(store, &error)) {
            MessageBox::critical(
                window, QStringLiteral("查找失败"), QStringLiteral("无法在题库中查找试题：%1。").arg(error));
            return;
        }
        selection = QuestionSearch::hitsSelection(
            texts.find(request.keyword, request.inStem, request.inOptions), texts.questionCount());
    }

    if (showTitle)
        showTitle(QuestionSearch::title());
    panel->setTitle(QuestionSearch::title());

    RowSet rows = QuestionListRepository::read(store, selection);
    SectionCaptions captions;
    QString error;
    if (!rows.isValid() || !captions.load(store, &error)) {
        MessageBox::critical(window, QStringLiteral("查找失败"),
            QStringLiteral("无法在题库中查找试题：%1。").arg(rows.isValid() ? error : rows.error()));
        return;
    }
    if (rows.rowCount() == 0) {
        MessageBox::information(
            window, QStringLiteral("提示信息"), QStringLiteral("对不起，当前题库中没有你想找的题！"));
        return;
    }

    const QStringList paths = captions.captions(rows);
    rows.first();
    panel->listCaptioned(rows, paths);

    const int count = panel->listRowCount();
    panel->showListRow(session.position() >= 1 && session.position() <= count ? session.position() : 1);
}

} // namespace FindQuestions
