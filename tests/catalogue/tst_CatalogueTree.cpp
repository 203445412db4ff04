#include "TestBank.h"
#include "TestFolders.h"

#include "catalogue/Catalogue.h"
#include "catalogue/ui/CatalogueTree.h"

#include <QTest>

// The catalogue's rows shown as a tree widget, indexed as the tree table is.
class tst_CatalogueTree : public QObject
{
    Q_OBJECT

private slots:
    void treeViewIndexIsTheRowPosition();

private:
    TestFolders m_env;
};

void tst_CatalogueTree::treeViewIndexIsTheRowPosition()
{
    TestBank bank(m_env.bankPath());
    bank.project(QStringLiteral("K"), QStringLiteral("证券"))
        .subject(QStringLiteral("K01"), QStringLiteral("基础"))
        .subject(QStringLiteral("K02"), QStringLiteral("法规"))
        .section(QStringLiteral("K0101"), QStringLiteral("第一章"))
        .section(QStringLiteral("K0201"), QStringLiteral("第二章"))
        .project(QStringLiteral("L"), QStringLiteral("空项目"));
    QVERIFY(Catalogue::rewriteTree(bank.store()));
    CatalogueTree tree;
    tree.setNodes(Catalogue::readNodes(bank.store()));
    QCOMPARE(tree.nodeCount(), 6);
    QCOMPARE(tree.topLevelItemCount(), 2);
    QCOMPARE(tree.topLevelItem(1)->childCount(), 0);
    for (int index = 1; index <= tree.nodeCount(); ++index) {
        QTreeWidgetItem* item = tree.itemAt(index);
        QCOMPARE(tree.nodeIndex(item), index);
        RowSet row = bank.store().query(QStringLiteral("select * from tree order by rowid"));
        QVERIFY(row.setPosition(index));
        const QString name = row.field(QStringLiteral("flg")).toInt() == 1 ? QStringLiteral("项目")
            : row.field(QStringLiteral("flg")).toInt() == 2                ? QStringLiteral("科目")
                                                                           : QStringLiteral("细目");
        QCOMPARE(item->text(0), row.field(name).toString());
    }
    QCOMPARE(tree.itemByKey(QStringLiteral("kkk2"))->parent(), tree.itemByKey(QStringLiteral("kk2")));
    QCOMPARE(tree.itemAt(3)->text(0), QStringLiteral("第一章"));
}

QTEST_MAIN(tst_CatalogueTree)
#include "tst_CatalogueTree.moc"
