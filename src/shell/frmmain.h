#pragma once

#include "data/AppState.h"
#include "data/QuestionStore.h"

#include <QWidget>

class CatalogueTree;
class QLabel;

/// The main window: the catalogue on the left and the practice panels on the right.
class frmmain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmmain)
public:
    /// Runs the load steps; @p bankPath defaults to the user's bank.
    explicit frmmain(const QString& bankPath = QString(), QWidget* parent = nullptr);
    ~frmmain() override;

    AppState& state() { return m_state; }
    QuestionStore& store() { return m_store; }
    CatalogueTree* TreeView1() const { return m_TreeView1; }

    /// Rewrites the table tree and fills the tree view from it.
    void BuildCatalogue();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void openBank(const QString& bankPath);
    void unload();

    AppState m_state;
    QuestionStore m_store;
    QLabel* m_Label1 = nullptr;
    CatalogueTree* m_TreeView1 = nullptr;
    bool m_unloaded = false;
};
