#include "exam/ui/cjtj.h"

#include "controls/XPButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QColor Red(255, 0, 0);

} // namespace

cjtj::cjtj(const GradingTally& tally, const ScoreReport::Points& points,
    const QVector<ScoreReport::DetailRow>& detail, QWidget* parent, const QString& forecastLine)
    : QDialog(parent)
    , m_ListView1(makeList(QStringLiteral("ListView1"),
          { QStringLiteral("题型"), QStringLiteral("题数"), QStringLiteral("答对题数"),
              QStringLiteral("答错题数"), QStringLiteral("未答题数"), QStringLiteral("得分"),
              QStringLiteral("得分率") }))
    , m_ListView2(makeList(QStringLiteral("ListView2"),
          { QStringLiteral("题号"), QStringLiteral("题型"), QStringLiteral("题目"),
              QStringLiteral("正确答案"), QStringLiteral("我的答案") }))
    , m_fslab(new QLabel(this))
    , m_cmdmx(new XPButton(QStringLiteral("cmdmx"), QStringLiteral("查看明细"), this))
    , m_XPButton1(new XPButton(QStringLiteral("XPButton1"), QStringLiteral("关闭"), this))
{
    setObjectName(QStringLiteral("cjtj"));
    setWindowTitle(QStringLiteral("成绩统计"));
    resize(640, 420);

    // Two copies one pixel apart: the grey one shows as the red one's shadow.
    auto* title = new QWidget(this);
    QFont titleFont = font();
    titleFont.setPointSize(18);
    titleFont.setBold(true);
    QLabel* copies[2];
    for (int i = 0; i < 2; ++i) {
        copies[i] = new QLabel(QStringLiteral("本次测试成绩统计"), title);
        copies[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        copies[i]->setFont(titleFont);
        copies[i]->adjustSize();
        copies[i]->move(i, i);
    }
    copies[0]->setStyleSheet(QStringLiteral("color: #808080"));
    copies[1]->setStyleSheet(QStringLiteral("color: #ff0000"));
    title->setFixedSize(copies[1]->width() + 1, copies[1]->height() + 1);

    m_fslab->setObjectName(QStringLiteral("fslab"));
    m_fslab->setStyleSheet(QStringLiteral("color: #ff0000"));
    m_cmdmx->setFixedSize(81, 24);
    m_XPButton1->setFixedSize(81, 24);

    for (const QuestionType::TypeSlot slot : ScoreReport::summarySlots())
        new QTreeWidgetItem(m_ListView1, ScoreReport::summaryRow(tally, points, slot));
    for (const ScoreReport::DetailRow& row : detail) {
        auto* item
            = new QTreeWidgetItem(m_ListView2, { row.number, row.type, row.title, row.key, row.given });
        for (int column = 0; column < item->columnCount(); ++column)
            item->setForeground(column, row.red ? QBrush(Red) : QBrush(Qt::black));
    }
    m_fslab->setText(ScoreReport::totalLine(tally, points));
    // Sized once: a section may list thousands of rows. The title takes what is left.
    for (QTreeWidget* list : { m_ListView1, m_ListView2 }) {
        for (int column = 0; column < list->columnCount(); ++column)
            list->resizeColumnToContents(column);
    }
    m_ListView2->header()->setStretchLastSection(false);
    m_ListView2->header()->setSectionResizeMode(2, QHeaderView::Stretch);

    // The detail lies over the summary in the same place.
    auto* lists = new QGridLayout;
    lists->addWidget(m_ListView1, 0, 0);
    lists->addWidget(m_ListView2, 0, 0);
    m_ListView2->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_fslab, 1);
    buttons->addWidget(m_cmdmx);
    buttons->addWidget(m_XPButton1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addLayout(lists, 1);
    if (!forecastLine.isEmpty()) {
        auto* forecast = new QLabel(forecastLine, this);
        forecast->setObjectName(QStringLiteral("forecastLine"));
        forecast->setWordWrap(true);
        layout->addWidget(forecast);
    }
    layout->addLayout(buttons);

    connect(m_cmdmx, &XPButton::Click, this, &cjtj::cmdmx_Click);
    connect(m_XPButton1, &XPButton::Click, this, &QDialog::accept);
}

QTreeWidget* cjtj::makeList(const QString& name, const QStringList& columns)
{
    auto* list = new QTreeWidget(this);
    list->setObjectName(name);
    list->setAccessibleName(name);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setHeaderLabels(columns);
    list->header()->setMinimumSectionSize(64);
    list->header()->setStretchLastSection(true);
    return list;
}

void cjtj::cmdmx_Click()
{
    if (m_cmdmx->caption() == QStringLiteral("查看明细")) {
        m_cmdmx->setCaption(QStringLiteral("查看得分"));
        m_ListView2->show();
        m_ListView2->raise();
    } else {
        m_cmdmx->setCaption(QStringLiteral("查看明细"));
        m_ListView2->hide();
    }
}
