#include "progress/ui/frmtj.h"

#include "controls/MessageBox.h"
#include "controls/XPButton.h"
#include "progress/ui/ProgressChart.h"
#include "progress/ui/ProgressWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>

namespace {

constexpr int TwipsPerPixel = 15;
constexpr int SortRole = Qt::UserRole;
constexpr int SectionRole = Qt::UserRole + 1;
constexpr int ChartWidth = 430;
constexpr int MinChartWidth = 300;

QRect twips(int left, int top, int width, int height)
{
    return { left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel };
}

// Counts and rates sort by their numbers, names by their text.
class StatisticsItem final : public QTreeWidgetItem
{
public:
    StatisticsItem(const ProgressStatistics::Row& row, int section)
    {
        const qint64 values[] = { row.total, row.done, row.right, row.wrong, row.open() };
        setText(0, row.name);
        setData(0, SortRole, row.name);
        for (int c = 1; c <= 5; ++c) {
            setText(c, QString::number(values[c - 1]));
            setData(c, SortRole, values[c - 1]);
        }
        setText(6, row.rate());
        setData(6, SortRole, row.ratePermille());
        setData(0, SectionRole, section);
        for (int c = 1; c <= 6; ++c)
            setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }

    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int c = treeWidget()->sortColumn();
        if (c == 0)
            return data(0, SortRole).toString() < other.data(0, SortRole).toString();
        return data(c, SortRole).toLongLong() < other.data(c, SortRole).toLongLong();
    }
};

} // namespace

frmtj::frmtj(QuestionStore& store, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_store(store)
    , m_ListView1(new QTreeWidget(this))
    , m_jd(new QProgressBar(this))
    , m_XPButton1(new XPButton(QStringLiteral("XPButton1"), QStringLiteral("返回"), this))
    , m_chart(new ProgressChart(this))
{
    setObjectName(QStringLiteral("frmtj"));
    setWindowTitle(QStringLiteral("统计分析"));
    setModal(true);
    const QSize client = twips(0, 0, 9780, 6135).size();
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    // On a 1024-pixel screen the chart gives way so that the whole window stays visible.
    const int chartWidth = screen
        ? qBound(MinChartWidth, screen->availableGeometry().width() - client.width() - 8, ChartWidth)
        : ChartWidth;
    setFixedSize(client.width() + chartWidth, client.height());
    if (screen)
        move(screen->availableGeometry().center() - rect().center());

    m_ListView1->setObjectName(QStringLiteral("ListView1"));
    m_ListView1->setGeometry(twips(0, 15, 9750, 5520));
    m_ListView1->setRootIsDecorated(false);
    m_ListView1->setUniformRowHeights(true);
    m_ListView1->setAllColumnsShowFocus(true);
    m_ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ListView1->setHeaderLabels({ QStringLiteral("科目"), QStringLiteral("题量"), QStringLiteral("已做题数"),
        QStringLiteral("做对题数"), QStringLiteral("做错题数"), QStringLiteral("未做题数"),
        QStringLiteral("准确率") });
    QHeaderView* header = m_ListView1->header();
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    // The counts keep their narrow columns; the section names take what is left.
    int counts = 0;
    for (int c = 1; c <= 6; ++c) {
        const int width = (c == 6 ? 850 : 900) / TwipsPerPixel;
        m_ListView1->setColumnWidth(c, width);
        counts += width;
    }
    // The viewport is not laid out yet: take the list's own width less its frame and scroll bar.
    m_ListView1->setColumnWidth(0,
        m_ListView1->width() - counts - 2 * m_ListView1->frameWidth()
            - m_ListView1->verticalScrollBar()->sizeHint().width());
    connect(header, &QHeaderView::sectionClicked, this, &frmtj::sortBy);
    connect(m_ListView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        const int section = item ? item->data(0, SectionRole).toInt() : -1;
        m_chart->markSection(
            section >= 0 && section < m_result.sections.size() ? &m_result.sections[section] : nullptr);
    });

    m_jd->setObjectName(QStringLiteral("jd"));
    m_jd->setGeometry(twips(75, 5745, 7920, 255));
    m_jd->setTextVisible(false);

    m_XPButton1->setGeometry(twips(8205, 5700, 1485, 345));
    m_XPButton1->setEnabled(true);
    connect(m_XPButton1, &XPButton::Click, this, &QDialog::accept);

    m_chart->setGeometry(client.width() + 2, 1, chartWidth - 4, client.height() - 40);
    // The history over time has its own window; the button sits under the chart.
    auto* progress = new XPButton(QStringLiteral("XPButton2"), QStringLiteral("学习进度"), this);
    progress->setGeometry(client.width() + chartWidth - 6 - 100, client.height() - 32, 100, 23);
    progress->setEnabled(true);
    connect(progress, &XPButton::Click, this, [this] {
        ProgressWindow window(m_store, this);
        connect(&window, &ProgressWindow::practiseRequested, this, [this](const QString& code) {
            m_sectionToPractise = code;
            accept();
        });
        window.exec();
    });
}

void frmtj::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        run();
}

void frmtj::run()
{
    if (m_running)
        return;
    m_running = true;
    m_ListView1->clear();
    m_result = ProgressStatistics::compute(m_store);
    if (!m_result.ok) {
        m_jd->hide();
        MessageBox::critical(this, QStringLiteral("统计失败"),
            QStringLiteral("无法从题库中读取统计数据：%1。").arg(m_result.error));
        m_running = false;
        reject();
        return;
    }
    // One grouped pass counts every section before the first row is added, fast enough
    // that the window needs no repaint in between.
    const int sections = int(m_result.sections.size());
    m_jd->setRange(0, sections + 1);
    m_jd->setValue(0);
    QList<QTreeWidgetItem*> items;
    items.reserve(sections + 1);
    for (int i = 0; i < sections; ++i) {
        m_jd->setValue(i + 1);
        items.append(new StatisticsItem(m_result.sections[i], i));
    }
    auto* totals = new StatisticsItem(m_result.totals, -1);
    QFont bold = totals->font(0);
    bold.setBold(true);
    for (int c = 0; c < m_ListView1->columnCount(); ++c)
        totals->setFont(c, bold);
    items.append(totals);
    m_ListView1->addTopLevelItems(items);
    applySort();
    m_chart->setStatistics(m_result);
    m_jd->hide();
    m_running = false;
}

void frmtj::sortBy(int column)
{
    m_sortOrder = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder;
    m_sortColumn = column;
    m_ListView1->header()->setSortIndicatorShown(true);
    applySort();
}

void frmtj::applySort()
{
    const int count = m_ListView1->topLevelItemCount();
    if (m_sortColumn < 0 || count == 0)
        return;
    // The sums stay below the sections whatever the order.
    QTreeWidgetItem* totals = m_ListView1->takeTopLevelItem(count - 1);
    m_ListView1->sortItems(m_sortColumn, m_sortOrder);
    m_ListView1->addTopLevelItem(totals);
}
