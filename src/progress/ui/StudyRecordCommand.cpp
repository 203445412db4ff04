#include "progress/ui/StudyRecordCommand.h"

#include "controls/FileDialog.h"
#include "controls/MessageBox.h"
#include "controls/WrittenFiles.h"
#include "data/ui/BankMessages.h"
#include "progress/StudyRecordExport.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace StudyRecordCommand {

void run(QWidget* parent, QuestionStore& store)
{
    const QString title = QStringLiteral("导出学习记录");
    QString path = FileDialog::saveFile(
        parent, title, QStringLiteral("CSV 文件 (*.csv)"), QStringLiteral("学习记录.csv"));
    if (path.isEmpty())
        return;
    // A name typed without an ending would not open in a spreadsheet program.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    const QString examPath = StudyRecordExport::examResultsPath(path);
    // A long history takes seconds to write.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const struct
    {
        QString what;
        QString path;
        WriteResult result;
    } files[] = {
        { QStringLiteral("答题记录"), path, StudyRecordExport::writeAttempts(store, path) },
        { QStringLiteral("模拟考试成绩"), examPath, StudyRecordExport::writeExamResults(store, examPath) },
    };
    QGuiApplication::restoreOverrideCursor();
    QStringList written;
    for (const auto& file : files) {
        if (file.result.isDone())
            written << file.path;
        else
            MessageBox::critical(parent, title,
                QStringLiteral("%1无法保存到文件：\n%2\n\n原因：%3。")
                    .arg(file.what, QDir::toNativeSeparators(file.path), BankMessages::reason(file.result)));
    }
    WrittenFiles::offerFolder(parent, title, written);
}

} // namespace StudyRecordCommand
