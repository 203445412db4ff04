#include "TestBank.h"
#include "TestFolders.h"

#include "catalogue/Catalogue.h"

#include <QFile>
#include <QTest>

class tst_Catalogue : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(bankPath()); }
    void keysRunOverTheWholeTree();
    void orphansAreLeftOut();
    void treeIsRewrittenExactly();

private:
    QString bankPath() const { return m_folders.bankPath(); }
    static QStringList treeRows(QuestionStore& store)
    {
        QStringList rows;
        for (RowSet r = store.query(QStringLiteral("select * from tree order by rowid")); !r.atEnd(); r.next()) {
            QStringList cells;
            for (const QString& f : { u"flg"_qs, u"项目"_qs, u"科目"_qs, u"细目"_qs, u"代码"_qs })
                cells << (r.field(f).isNull() ? QStringLiteral("-") : r.field(f).toString());
            rows << cells.join(u'|');
        }
        return rows;
    }
    TestFolders m_folders;
};

void tst_Catalogue::keysRunOverTheWholeTree()
{
    TestBank bank(bankPath());
    // Inserted out of order: siblings follow their codes, not the insertion order.
    bank.project(QStringLiteral("2"), QStringLiteral("乙项目"))
        .project(QStringLiteral("1"), QStringLiteral("甲项目"))
        .subject(QStringLiteral("201"), QStringLiteral("乙一"))
        .subject(QStringLiteral("102"), QStringLiteral("甲二"))
        .subject(QStringLiteral("101"), QStringLiteral("甲一"))
        .section(QStringLiteral("10201"), QStringLiteral("随便什么名字"))
        .section(QStringLiteral("20101"), QStringLiteral("乙一第一节"));
    QVERIFY(Catalogue::rewriteTree(bank.store()));
    const QVector<CatalogueNode> nodes = Catalogue::readNodes(bank.store());

    QStringList shape;
    for (const CatalogueNode& n : nodes)
        shape << n.key + u'<' + n.parentKey + u':' + n.text + u'@' + QString::number(n.image);
    QCOMPARE(shape, QStringList({ u"k1<:甲项目@1"_qs, u"kk1<k1:甲一@2"_qs, u"kk2<k1:甲二@2"_qs,
                                  u"kkk1<kk2:随便什么名字@3"_qs, u"k2<:乙项目@1"_qs, u"kk3<k2:乙一@2"_qs,
                                  u"kkk2<kk3:乙一第一节@3"_qs }));
}

void tst_Catalogue::orphansAreLeftOut()
{
    TestBank bank(bankPath());
    bank.project(QStringLiteral("K"), QStringLiteral("证券"))
        .project(QStringLiteral("M"), QStringLiteral("无科目的项目"))
        .subject(QStringLiteral("K01"), QStringLiteral("无细目的科目"))
        .subject(QStringLiteral("Z01"), QStringLiteral("无项目的科目"))
        .section(QStringLiteral("30101"), QStringLiteral("无科目的细目"))
        .section(QStringLiteral("Z0101"), QStringLiteral("孤儿科目的细目"));
    QVERIFY(Catalogue::rewriteTree(bank.store()));
    QCOMPARE(treeRows(bank.store()),
             QStringList({ u"1|证券|-|-|K"_qs, u"2|证券|无细目的科目|-|K01"_qs, u"1|无科目的项目|-|-|M"_qs }));
}

void tst_Catalogue::treeIsRewrittenExactly()
{
    {
        TestBank bank(bankPath());
        bank.project(QStringLiteral("K"), QStringLiteral("证券"))
            .subject(QStringLiteral("K01"), QStringLiteral("基础"))
            .section(QStringLiteral("K0101"), QStringLiteral("第一章"));
        // Rows of an earlier run, some of them the same as the new ones.
        for (int i = 0; i < 3; ++i)
            QVERIFY(bank.store()
                        .write(QStringLiteral("insert into tree(flg, 项目, 代码) values(9, '旧', 'X')"))
                        .isDone());
        QVERIFY(bank.store()
                    .write(QStringLiteral("insert into tree(flg, 项目, 代码) values(1, '证券', 'K')"))
                    .isDone());
    }
    const QStringList expected{ u"1|证券|-|-|K"_qs, u"2|证券|基础|-|K01"_qs, u"3|证券|基础|第一章|K0101"_qs };
    for (int start = 0; start < 2; ++start) { // two program starts
        QuestionStore store;
        QVERIFY(store.open(bankPath()));
        QVERIFY(Catalogue::rewriteTree(store));
        QCOMPARE(treeRows(store), expected);
    }
}

QTEST_GUILESS_MAIN(tst_Catalogue)
#include "tst_Catalogue.moc"
