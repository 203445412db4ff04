#include "SearchBanks.h"
#include "TestBank.h"
#include "TestFolders.h"

#include "data/RowSet.h"
#include "data/QuestionStore.h"
#include "practice/Answers.h"
#include "practice/Favourites.h"
#include "practice/QuestionEditor.h"
#include "search/QuestionSearch.h"
#include "search/SearchTexts.h"
#include "search/SectionCaptions.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using QuestionSearch::Mode;

// What each kind of search lists from one bank, and the section paths of the hits.
class tst_QuestionSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void selectionLists_data();
    void selectionLists();
    void keywordInNeitherTextHasNoStatement();
    void heldTextsFollowTheBank();
    void captions_data();
    void captions();
    void captionsOfAListing();
    void duplicateCatalogueEntriesTakeTheFirst();

private:
    TestFolders m_folders;
    std::unique_ptr<TestBank> m_bank;
};

void tst_QuestionSearch::initTestCase()
{
    m_bank = std::make_unique<TestBank>(m_folders.bankPath());
    SearchBanks::searchBank(*m_bank);
}

void tst_QuestionSearch::selectionLists_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<bool>("inStem");
    QTest::addColumn<bool>("inOptions");
    QTest::addColumn<QString>("listed");

    const auto keyword = [](const char* name, const QString& word, bool stem, bool options,
                             const char* listed) {
        QTest::newRow(name) << int(Mode::Keyword) << word << stem << options << QString::fromLatin1(listed);
    };
    keyword("stems only", u"证券"_s, true, false, "K0101/1 K0199/7");
    keyword("options only", u"证券"_s, false, true, "K0101/2 K0102/6");
    keyword("stems or options", u"证券"_s, true, true, "K0101/1 K0101/2 K0102/6 K0199/7");
    keyword("apostrophe", u"Investor's"_s, true, false, "K0101/3");
    keyword("lone apostrophe", u"'"_s, true, true, "K0101/3");
    keyword("percent sign", u"%"_s, true, true, "K0101/3");
    keyword("percent in a word", u"100%"_s, false, true, "K0101/3");
    keyword("underscore in stems", u"_"_s, true, false, "K0101/4");
    keyword("underscore in either", u"_"_s, true, true, "K0101/4 K0101/3");
    keyword("backslash", u"\\"_s, true, true, "K0102/5");
    keyword("path with backslash", u"C:\\data"_s, true, false, "K0102/5");
    keyword("Latin case ignored", u"INVESTOR"_s, true, false, "K0101/3");
    keyword("the other text is not searched", u"投资者"_s, true, false, "");
    keyword("no hits", u"不存在的词"_s, true, true, "");
    // Whatever is typed or pasted into the box is a keyword like any other.
    keyword("NUL character", QString(QChar(0)), true, true, "");
    keyword("NUL inside a word", u"证"_s + QChar(0) + u"券"_s, true, true, "");
    keyword("100000 characters", QString(100000, u'证'), true, true, "");
    keyword("lone surrogate", QString(QChar(0xD800)), true, true, "");
    keyword("emoji", u"😀"_s, true, true, "");
    keyword("control characters", u"\x01\x1b[0m"_s, true, true, "");
    QTest::newRow("done: absent and empty answers are not done")
        << int(Mode::Done) << u"ignored"_s << false << false << u"K0101/1 K0101/2 K0102/5 K0102/6 K0199/7"_s;
    QTest::newRow("wrong: answered and different, Latin case counts")
        << int(Mode::Wrong) << QString() << true << true << u"K0101/2 K0102/5 K0102/6"_s;
}

void tst_QuestionSearch::selectionLists()
{
    QFETCH(int, mode);
    QFETCH(QString, keyword);
    QFETCH(bool, inStem);
    QFETCH(bool, inOptions);
    QFETCH(QString, listed);

    QuestionSearch::Request request;
    request.mode = Mode(mode);
    request.keyword = keyword;
    request.inStem = inStem;
    request.inOptions = inOptions;
    QCOMPARE(SearchBanks::listed(m_bank->store(), QuestionSearch::selection(request)), listed);
    if (request.mode != Mode::Keyword)
        return;

    // The extracts held in memory find the same rows, by either way of listing them.
    SearchTexts texts;
    QString error;
    QVERIFY2(texts.refresh(m_bank->store(), &error), qPrintable(error));
    const std::vector<qint64> hits = texts.find(keyword, inStem, inOptions);
    for (const int bankSize : { 0, 1000000 })
        QCOMPARE(SearchBanks::listed(m_bank->store(), QuestionSearch::hitsSelection(hits, bankSize)), listed);
}

void tst_QuestionSearch::heldTextsFollowTheBank()
{
    TestFolders folders;
    TestBank bank(folders.bankPath());
    SearchBanks::searchBank(bank);
    QuestionStore& store = bank.store();
    SearchTexts texts;
    QVERIFY(texts.refresh(store));
    const auto found = [&](const QString& word) -> QString {
        QString error;
        if (!texts.refresh(store, &error))
            return u"error: "_s + error;
        return SearchBanks::listed(store, QuestionSearch::hitsSelection(texts.find(word, true, true), 0));
    };
    QCOMPARE(found(u"改正后的题干"_s), QString());

    // An answer or a favourite leaves the texts as they are.
    const quint64 before = store.textRevision();
    QVERIFY(Answers::StoreAnswer(store, QuestionTable::Bank, { u"K0101"_s, u"1"_s }, u"A"_s).isDone());
    WriteResult failed = WriteResult::done();
    QVERIFY(
        Favourites::AddToFavourites(store, { u"K0101"_s, u"1"_s }, &failed) == Favourites::AddResult::Added);
    QCOMPARE(store.textRevision(), before);

    // A correction and a question of the user's own are found at once.
    QuestionEditor::Edits edits;
    edits.plainText = u"改正后的题干"_s;
    edits.document = edits.plainText;
    edits.answer = u"B"_s;
    edits.type = u"单选"_s;
    QVERIFY(QuestionEditor::SaveQuestionEdits(store, { u"K0101"_s, u"1"_s }, edits).isDone());
    QCOMPARE(found(u"改正后的题干"_s), u"K0101/1"_s);
    int number = 0;
    edits.plainText = u"自己添加的题"_s;
    edits.document = edits.plainText;
    QVERIFY(QuestionEditor::AddQuestion(store, u"K0102"_s, edits, &number).isDone());
    QCOMPARE(found(u"自己添加的题"_s), u"K0102/"_s + QString::number(number));

    // Another connection's commit shows too.
    QuestionStore other;
    QVERIFY(other.open(store.path()));
    QVERIFY(other.write(u"update tk set tg='别处改的' where 代码='K0102' and 题号=5"_s).isDone());
    QCOMPARE(found(u"别处改的"_s), u"K0102/5"_s);
}

void tst_QuestionSearch::keywordInNeitherTextHasNoStatement()
{
    QuestionSearch::Request request;
    request.keyword = u"证券"_s;
    request.inStem = false;
    request.inOptions = false;
    QVERIFY(QuestionSearch::selection(request).sql.isEmpty());
}

void tst_QuestionSearch::captions_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("caption");
    QTest::newRow("every entry") << u"K0101"_s << u"证券基础/金融市场/第一节"_s;
    QTest::newRow("Latin case of the code ignored") << u"k0102"_s << u"证券基础/金融市场/第二节"_s;
    QTest::newRow("no section entry") << u"K0199"_s << u"证券基础/金融市场/?"_s;
    QTest::newRow("only the subject") << u"L0101"_s << u"?/分析方法/?"_s;
    QTest::newRow("no entry at all") << u"Z0101"_s << u"?/?/?"_s;
    QTest::newRow("empty code") << QString() << u"?/?/?"_s;
}

void tst_QuestionSearch::captions()
{
    QFETCH(QString, code);
    QFETCH(QString, caption);
    SectionCaptions captions;
    QString error;
    QVERIFY2(captions.load(m_bank->store(), &error), qPrintable(error));
    QCOMPARE(captions.caption(code), caption);
}

void tst_QuestionSearch::captionsOfAListing()
{
    QuestionSearch::Request request;
    request.mode = Mode::Done;
    const QuestionFilters::Selection selection = QuestionSearch::selection(request);
    RowSet rows = m_bank->store().query(selection.sql, selection.params);
    SectionCaptions captions;
    QVERIFY(captions.load(m_bank->store()));
    // A hit without a section entry is listed like the others, in its place.
    QCOMPARE(captions.captions(rows),
        (QStringList { u"证券基础/金融市场/第一节"_s, u"证券基础/金融市场/第一节"_s,
            u"证券基础/金融市场/第二节"_s, u"证券基础/金融市场/第二节"_s, u"证券基础/金融市场/?"_s }));
}

void tst_QuestionSearch::duplicateCatalogueEntriesTakeTheFirst()
{
    TestFolders folders;
    TestBank bank(folders.bankPath());
    bank.project(u"K"_s, u"第一个"_s).project(u"K"_s, u"第二个"_s);
    SectionCaptions captions;
    QVERIFY(captions.load(bank.store()));
    QCOMPARE(captions.caption(u"K0101"_s), u"第一个/?/?"_s);
}

QTEST_GUILESS_MAIN(tst_QuestionSearch)
#include "tst_QuestionSearch.moc"
