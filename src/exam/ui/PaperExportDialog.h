#pragma once

#include "exam/PaperExport.h"

#include <QDialog>

class QCheckBox;
class QuestionStore;
class XPButton;

/// The choice behind "打印试卷": the paper as a document for the word processor, its
/// answer key, the paper as PDF, or the paper straight to a printer.
class PaperExportDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PaperExportDialog)
public:
    PaperExportDialog(QuestionStore& store, const PaperExport::Source& source, QWidget* parent = nullptr);

    /// Makes every document ticked and opens it; tells each that could not be made, then
    /// lists those written in one message that offers to open their folder.
    void cmdOk_Click();
    /// The paper through the print dialog.
    void cmdPrint_Click();

protected:
    /// Enter presses "确定", as in any dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void tellWritten(const QStringList& paths);
    void tellFailure(const DocumentFile& file, PaperExport::Kind kind);

    QuestionStore& m_store;
    PaperExport::Source m_source;
    QCheckBox* m_chkPaper;
    QCheckBox* m_chkKey;
    QCheckBox* m_chkPdf;
    XPButton* m_cmdOk;
    XPButton* m_cmdPrint;
    XPButton* m_cmdCancel;
};
