#include "progress/ui/WeakSpotsPage.h"

#include "data/CatalogueRepository.h"
#include "data/Settings.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

QTableWidget* table(const QString& name, const QStringList& headers)
{
    auto* t = new QTableWidget;
    t->setObjectName(name);
    t->setColumnCount(int(headers.size()));
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return t;
}

void fillRow(QTableWidget* t, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        if (c > 0)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t->setItem(row, c, item);
    }
}

QString seconds(double s)
{
    return QStringLiteral("%1 秒").arg(std::lround(s));
}

QString percent(double share)
{
    return QString::number(std::lround(share * 100)) + u'%';
}

} // namespace

WeakSpotsPage::WeakSpotsPage(QuestionStore& store, const std::optional<BankOutlook>& outlook, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("weakSpotsTab"));
    QVector<AttemptSummaryRow> attempts;
    QString error;
    const bool read = ForecastRepository::attemptSummary(store, &attempts, &error);
    bool namesRead = false;
    for (const CodeName& section :
        CatalogueRepository::entries(store, CatalogueRepository::Level::Section, &namesRead))
        m_names.insert(section.code.toLower(), section.name);
    if (outlook)
        m_sections = WeakSpots::bySection(
            *outlook, PaperPlan::fromSettings(), attempts, Settings::reviewTarget() / 100.0);
    m_paces = WeakSpots::paces(attempts);

    auto* intro = new QLabel(
        QStringLiteral("按练习一小时预计能多得的分数排列：章节在试卷中的分量越大、您答对的把握越小、"
                       "每题用时越短，练习它越划算。"));
    intro->setWordWrap(true);
    if (!read || !outlook)
        intro->setText(QStringLiteral("无法读取答题记录：%1。").arg(error));
    auto* sections = table(QStringLiteral("weakSpots"),
        { QStringLiteral("章节"), QStringLiteral("题数"), QStringLiteral("卷面约占"),
            QStringLiteral("答对把握"), QStringLiteral("每题用时"), QStringLiteral("每小时可多得"),
            QString() });
    const int shown = int(std::min<qsizetype>(ShownSections, m_sections.size()));
    sections->setRowCount(shown);
    for (int i = 0; i < shown; ++i) {
        const WeakSpots::Section& s = m_sections[i];
        const QString name = m_names.value(s.code.toLower());
        fillRow(sections, i,
            { name.isEmpty() ? s.code : QStringLiteral("%1 %2").arg(s.code, name),
                QString::number(s.questions), QStringLiteral("%1 题").arg(s.onPaper, 0, 'f', 1),
                percent(s.chance), seconds(s.secondsPerQuestion),
                QStringLiteral("%1 分").arg(s.gainPerHour, 0, 'f', 1) });
        auto* practise = new QPushButton(QStringLiteral("练习"));
        practise->setObjectName(QStringLiteral("practise"));
        const QString code = s.code;
        connect(practise, &QPushButton::clicked, this, [this, code] { emit practiseRequested(code); });
        sections->setCellWidget(i, 6, practise);
    }

    auto* slowLabel
        = new QLabel(QStringLiteral("慢而准：正确率不低于您的平均（%1），每题用时却多出一半以上（您平均 %2）")
                         .arg(percent(m_paces.rightShare), seconds(m_paces.secondsPerQuestion)));
    slowLabel->setWordWrap(true);
    auto* fastLabel
        = new QLabel(QStringLiteral("快而错：每题用时不到平均的四分之三，正确率却比平均低 10 个百分点以上"));
    fastLabel->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(sections, 3);
    // A list with nothing in it says so in its caption instead.
    const auto addPaces = [&](QLabel* caption, const QString& name, const QVector<WeakSpots::Pace>& paces) {
        layout->addWidget(caption);
        if (paces.isEmpty()) {
            caption->setText(caption->text() + QStringLiteral("——目前没有。"));
            return;
        }
        layout->addWidget(paceTable(name, paces), 1);
    };
    addPaces(slowLabel, QStringLiteral("slowButRight"), m_paces.slowButRight);
    addPaces(fastLabel, QStringLiteral("fastButWrong"), m_paces.fastButWrong);
    if (m_paces.slowButRight.isEmpty() && m_paces.fastButWrong.isEmpty())
        layout->addStretch(1);
}

QTableWidget* WeakSpotsPage::paceTable(const QString& name, const QVector<WeakSpots::Pace>& paces)
{
    auto* t = table(name,
        { QStringLiteral("章节"), QStringLiteral("题型"), QStringLiteral("作答次数"),
            QStringLiteral("正确率"), QStringLiteral("每题用时") });
    const int shown = int(std::min<qsizetype>(ShownPaces, paces.size()));
    t->setRowCount(shown);
    for (int i = 0; i < shown; ++i) {
        const WeakSpots::Pace& p = paces[i];
        const QString section = m_names.value(p.code.toLower());
        fillRow(t, i,
            { section.isEmpty() ? p.code : QStringLiteral("%1 %2").arg(p.code, section), p.type,
                QString::number(p.attempts), percent(p.rightShare), seconds(p.secondsPerQuestion) });
    }
    return t;
}
