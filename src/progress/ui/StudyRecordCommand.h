#pragma once

class QWidget;
class QuestionStore;

/// "导出学习记录": asks where to save the attempts, writes them there and the mock-exam
/// results beside them, tells each file that could not be written, then offers to open the
/// folder of those that were.
namespace StudyRecordCommand {

void run(QWidget* parent, QuestionStore& store);

} // namespace StudyRecordCommand
