#include "catalogue/ui/CatalogueTree.h"

#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int KeyRole = Qt::UserRole;
constexpr int IndexRole = Qt::UserRole + 1;

QPixmap drawLevelImage(int image)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (image) {
    case 1: // a closed book
        p.setPen(QColor(0x1f, 0x4f, 0x8f));
        p.setBrush(QColor(0x3b, 0x7d, 0xd8));
        p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
        p.setPen(QPen(Qt::white, 1.2));
        p.drawLine(QPointF(5, 5), QPointF(11, 5));
        p.drawLine(QPointF(5, 8), QPointF(11, 8));
        break;
    case 2: { // a folder
        p.setPen(QColor(0xb0, 0x80, 0x10));
        p.setBrush(QColor(0xf5, 0xc5, 0x42));
        QPainterPath folder;
        folder.moveTo(1.5, 4.5);
        folder.lineTo(6, 4.5);
        folder.lineTo(7.5, 6);
        folder.lineTo(14.5, 6);
        folder.lineTo(14.5, 13.5);
        folder.lineTo(1.5, 13.5);
        folder.closeSubpath();
        p.drawPath(folder);
        break;
    }
    default: // a page of text
        p.setPen(QColor(0x70, 0x70, 0x70));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
        p.setPen(QColor(0xd0, 0x40, 0x30));
        for (int y = 5; y <= 11; y += 3)
            p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
        break;
    }
    return pm;
}

} // namespace

CatalogueTree::CatalogueTree(QWidget* parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setIconSize(QSize(16, 16));
    setRootIsDecorated(true);
    setUniformRowHeights(true);
}

QIcon CatalogueTree::levelIcon(int image)
{
    static const QIcon icons[]
        = { QIcon(drawLevelImage(1)), QIcon(drawLevelImage(2)), QIcon(drawLevelImage(3)) };
    return icons[qBound(1, image, 3) - 1];
}

void CatalogueTree::setNodes(const QVector<CatalogueNode>& nodes)
{
    fillNodes(nodes);
    placeReviewNode();
}

void CatalogueTree::placeReviewNode()
{
    const QList<QTreeWidgetItem*> found
        = findItems(QStringLiteral("个人收藏试题"), Qt::MatchExactly | Qt::MatchRecursive);
    // A catalogue without personal nodes has no place for it: its tree stays as it is.
    if (found.isEmpty())
        return;
    QTreeWidgetItem* favourites = found.first();
    m_review = new QTreeWidgetItem;
    m_review->setIcon(0, levelIcon(3));
    setReviewCount(m_reviewCount);
    if (QTreeWidgetItem* parent = favourites->parent())
        parent->insertChild(parent->indexOfChild(favourites) + 1, m_review);
    else
        insertTopLevelItem(indexOfTopLevelItem(favourites) + 1, m_review);
}

void CatalogueTree::setReviewCount(int due)
{
    m_reviewCount = due;
    if (m_review)
        m_review->setText(0, QStringLiteral("今日复习（%1）").arg(due));
}

void CatalogueTree::fillNodes(const QVector<CatalogueNode>& nodes)
{
    clear();
    m_review = nullptr;
    m_items.clear();
    m_byKey.clear();
    m_byCode.clear();
    for (const CatalogueNode& node : nodes) {
        QTreeWidgetItem* item = nullptr;
        if (node.parentKey.isEmpty()) {
            item = new QTreeWidgetItem(this);
        } else {
            QTreeWidgetItem* parent = m_byKey.value(node.parentKey);
            if (!parent)
                return;
            item = new QTreeWidgetItem(parent);
        }
        item->setText(0, node.text);
        item->setIcon(0, levelIcon(node.image));
        item->setData(0, KeyRole, node.key);
        m_items.append(item);
        item->setData(0, IndexRole, m_items.size());
        m_byKey.insert(node.key, item);
        if (!node.code.isEmpty())
            m_byCode.insert(node.code.toLower(), item);
    }
}

int CatalogueTree::nodeIndex(const QTreeWidgetItem* item) const
{
    return item ? item->data(0, IndexRole).toInt() : 0;
}

QTreeWidgetItem* CatalogueTree::itemByKey(const QString& key) const
{
    return m_byKey.value(key);
}

QTreeWidgetItem* CatalogueTree::itemByCode(const QString& code) const
{
    return code.isEmpty() ? nullptr : m_byCode.value(code.toLower());
}

QTreeWidgetItem* CatalogueTree::itemAt(int index) const
{
    return index >= 1 && index <= m_items.size() ? m_items[index - 1] : nullptr;
}
