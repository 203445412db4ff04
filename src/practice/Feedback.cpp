#include "practice/Feedback.h"

namespace Feedback {

QString text(Verdict verdict, const QString& key, const QString& given, const QString& notes)
{
    QString head;
    switch (verdict) {
    case Verdict::Right:
        head = QStringLiteral("回答正确！");
        break;
    case Verdict::Wrong:
        head = QStringLiteral("回答错误，您的答案是：%1").arg(given);
        break;
    case Verdict::Unanswered:
        head = QStringLiteral("尚未作答");
        break;
    case Verdict::SelfAssessed:
        head = QStringLiteral("已记录您的自评：%1").arg(given);
        break;
    }
    const QString shownNotes
        = notes.trimmed().isEmpty() ? QStringLiteral("本题暂无注释或笔记") : notes.trimmed();
    return head + QStringLiteral("\n标准答案：") + key + QStringLiteral("\n注释与笔记：") + shownNotes;
}

} // namespace Feedback
