#include "exam/ui/PaperExportDialog.h"

#include "controls/MessageBox.h"
#include "controls/WrittenFiles.h"
#include "controls/XPButton.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

PaperExportDialog::PaperExportDialog(QuestionStore& store, const PaperExport::Source& source, QWidget* parent)
    : QDialog(parent)
    , m_store(store)
    , m_source(source)
    , m_chkPaper(new QCheckBox(QStringLiteral("试卷（RTF 文档，用文字处理软件打开）"), this))
    , m_chkKey(new QCheckBox(QStringLiteral("答案（RTF 文档）"), this))
    , m_chkPdf(new QCheckBox(QStringLiteral("试卷（PDF 文件）"), this))
    , m_cmdOk(new XPButton(QStringLiteral("cmdOk"), QStringLiteral("确定"), this))
    , m_cmdPrint(new XPButton(QStringLiteral("cmdPrint"), QStringLiteral("直接打印"), this))
    , m_cmdCancel(new XPButton(QStringLiteral("cmdCancel"), QStringLiteral("取消"), this))
{
    setObjectName(QStringLiteral("PaperExportDialog"));
    setWindowTitle(QStringLiteral("打印试卷"));
    m_chkPaper->setObjectName(QStringLiteral("chkPaper"));
    m_chkKey->setObjectName(QStringLiteral("chkKey"));
    m_chkPdf->setObjectName(QStringLiteral("chkPdf"));
    m_chkPaper->setChecked(true);

    auto* where = new QLabel(
        QStringLiteral("文件保存在：%1").arg(QDir::toNativeSeparators(DocumentFile::folder())), this);
    where->setObjectName(QStringLiteral("lblFolder"));
    where->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (XPButton* b : { m_cmdOk, m_cmdPrint, m_cmdCancel }) {
        b->setFixedSize(81, 24);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("请选择要生成的文档："), this));
    layout->addWidget(m_chkPaper);
    layout->addWidget(m_chkKey);
    layout->addWidget(m_chkPdf);
    layout->addWidget(where);
    layout->addLayout(buttons);

    const auto anyTicked = [this] {
        m_cmdOk->setEnabled(m_chkPaper->isChecked() || m_chkKey->isChecked() || m_chkPdf->isChecked());
    };
    for (QCheckBox* box : { m_chkPaper, m_chkKey, m_chkPdf })
        connect(box, &QCheckBox::toggled, this, anyTicked);
    connect(m_cmdOk, &XPButton::Click, this, &PaperExportDialog::cmdOk_Click);
    connect(m_cmdPrint, &XPButton::Click, this, &PaperExportDialog::cmdPrint_Click);
    connect(m_cmdCancel, &XPButton::Click, this, &QDialog::reject);
}

void PaperExportDialog::tellFailure(const DocumentFile& file, PaperExport::Kind kind)
{
    const QString what = PaperExport::documentName(kind);
    if (file.path.isEmpty()) {
        MessageBox::critical(this, QStringLiteral("打印试卷"),
            QStringLiteral("无法读取试题，%1没有生成。\n\n原因：%2。").arg(what, file.error));
        return;
    }
    MessageBox::critical(this, QStringLiteral("打印试卷"),
        QStringLiteral("%1无法保存到文件：\n%2\n\n原因：%3。")
            .arg(what, QDir::toNativeSeparators(file.path), file.error));
}

void PaperExportDialog::cmdOk_Click()
{
    const std::pair<QCheckBox*, PaperExport::Kind> choices[] = { { m_chkPaper, PaperExport::Kind::Paper },
        { m_chkKey, PaperExport::Kind::AnswerKey }, { m_chkPdf, PaperExport::Kind::PaperPdf } };
    QStringList written;
    for (const auto& [box, kind] : choices) {
        if (!box->isChecked())
            continue;
        const DocumentFile file = PaperExport::ExportExamPaper(m_store, m_source, kind);
        if (file.isWritten())
            written << file.path;
        else
            tellFailure(file, kind);
    }
    accept();
    tellWritten(written);
}

void PaperExportDialog::tellWritten(const QStringList& paths)
{
    WrittenFiles::offerFolder(this, QStringLiteral("打印试卷"), paths);
}

void PaperExportDialog::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && event->modifiers() == Qt::NoModifier) {
        if (m_cmdOk->isEnabled())
            cmdOk_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PaperExportDialog::cmdPrint_Click()
{
    PaperDocument doc(PaperExport::documentName(PaperExport::Kind::Paper));
    const QString unread = PaperExport::buildDocument(doc, m_store, m_source, PaperExport::Kind::Paper);
    if (!unread.isEmpty()) {
        tellFailure({ QString(), unread }, PaperExport::Kind::Paper);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(PaperExport::documentName(PaperExport::Kind::Paper));
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("printDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    doc.document().print(&printer);
    if (printer.printerState() == QPrinter::Error) {
        MessageBox::critical(
            this, QStringLiteral("打印试卷"), QStringLiteral("试卷没有打印：打印机报告了错误。"));
        return;
    }
    accept();
}
