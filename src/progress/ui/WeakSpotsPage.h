#pragma once

#include "forecast/WeakSpots.h"

#include <QWidget>

#include <optional>

class QTableWidget;
class QuestionStore;

/// "薄弱环节": the sections where an hour of practice is expected to add the most to the
/// score, each with a button to practise it; and the sections and types where the
/// candidate is slow but right, or fast but wrong.
class WeakSpotsPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WeakSpotsPage)
public:
    WeakSpotsPage(QuestionStore& store, const std::optional<BankOutlook>& outlook, QWidget* parent = nullptr);

    const QVector<WeakSpots::Section>& sections() const { return m_sections; }
    const WeakSpots::Paces& paces() const { return m_paces; }

    /// Rows the table shows at most.
    static constexpr int ShownSections = 20;
    static constexpr int ShownPaces = 10;

signals:
    /// "练习" of a row: the candidate wants to practise section @p code.
    void practiseRequested(const QString& code);

private:
    QTableWidget* paceTable(const QString& name, const QVector<WeakSpots::Pace>& paces);

    QVector<WeakSpots::Section> m_sections;
    WeakSpots::Paces m_paces;
    QHash<QString, QString> m_names;
};
