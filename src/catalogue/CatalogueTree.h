#pragma once

#include "catalogue/Catalogue.h"

#include <QTreeWidget>

/// The tree view of the catalogue: one item per node, added in the order of the
/// table tree, so that an item's 1-based index is the position of its tree row.
class CatalogueTree final : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CatalogueTree(QWidget* parent = nullptr);

    /// Replaces the items with @p nodes. A node whose parent key is unknown ends
    /// the filling, leaving the nodes added so far.
    void setNodes(const QVector<CatalogueNode>& nodes);

    /// 1-based position of @p item in the order of addition, 0 for none.
    int nodeIndex(const QTreeWidgetItem* item) const;
    /// The item with the key ("k1", "kk3", "kkk12"), or nullptr.
    QTreeWidgetItem* itemByKey(const QString& key) const;
    /// The item at the 1-based position in the order of addition, or nullptr.
    QTreeWidgetItem* itemAt(int index) const;
    int nodeCount() const { return m_items.size(); }

    /// The 16 × 16 images of the three levels (1 project, 2 subject, 3 section).
    static QIcon levelIcon(int image);

private:
    QVector<QTreeWidgetItem*> m_items;
    QHash<QString, QTreeWidgetItem*> m_byKey;
};
