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
    /// the filling, leaving the nodes added so far. The review node then joins the
    /// personal nodes.
    void setNodes(const QVector<CatalogueNode>& nodes);

    /// The review node, or nullptr: it has no row of tree, so it has no index and shifts
    /// none. It sits after the node "个人收藏试题", under the same parent; a catalogue
    /// without that node has none.
    QTreeWidgetItem* reviewNode() const { return m_review; }
    bool isReviewNode(const QTreeWidgetItem* item) const { return item && item == m_review; }
    /// Shows @p due, the number of questions due for review, in the review node's caption.
    void setReviewCount(int due);

    /// 1-based position of @p item in the order of addition, 0 for none.
    int nodeIndex(const QTreeWidgetItem* item) const;
    /// The item with the key ("k1", "kk3", "kkk12"), or nullptr.
    QTreeWidgetItem* itemByKey(const QString& key) const;
    /// The item of the section (or project, subject) with code @p code, or nullptr.
    QTreeWidgetItem* itemByCode(const QString& code) const;
    /// The item at the 1-based position in the order of addition, or nullptr.
    QTreeWidgetItem* itemAt(int index) const;
    int nodeCount() const { return m_items.size(); }

    /// The 16 × 16 images of the three levels (1 project, 2 subject, 3 section).
    static QIcon levelIcon(int image);

private:
    void fillNodes(const QVector<CatalogueNode>& nodes);
    void placeReviewNode();

    QVector<QTreeWidgetItem*> m_items;
    QTreeWidgetItem* m_review = nullptr;
    int m_reviewCount = 0;
    QHash<QString, QTreeWidgetItem*> m_byKey;
    QHash<QString, QTreeWidgetItem*> m_byCode; // lower case: codes compare without case
};
