#include "BankWriter.h"

#include "data/QuestionStore.h"
#include "data/QuestionType.h"
#include "data/ui/BankMessages.h"
#include "practice/QuestionEditor.h"
#include "richtext/RichText.h"

#include <QFile>

#include <random>

namespace BankWriter {
namespace {

const QString InsertQuestion
    = QStringLiteral("insert into tk(代码, 题号, 题型, 答案, 答题, 收藏否, sj, tg, xx, 选项, 题干, zs, 插图) "
                     "values(?,?,?,?,?,?,?,?,?,?,?,?,?)");

using Batch = std::pair<QString, QVector<QVariantList>>;

// Each statement with its rows, in order; stops at the first that fails.
WriteResult writeAll(QuestionStore& store, const QVector<Batch>& batches)
{
    for (const auto& [sql, rows] : batches) {
        const WriteResult result = store.writeEach(sql, rows);
        if (!result.isDone())
            return result;
    }
    return WriteResult::done();
}

// Writes into a temporary file that only becomes @p path once complete.
bool writeBank(const QString& path, QString* error, const std::function<WriteResult(QuestionStore&)>& fill)
{
    if (QFile::exists(path)) {
        *error = QStringLiteral("%1 exists already").arg(path);
        return false;
    }
    const QString part = path + QStringLiteral(".part");
    QFile::remove(part);
    bool ok = false;
    {
        QuestionStore store;
        if (!store.create(part)) {
            *error = BankMessages::reason(store.failure());
        } else {
            const WriteResult filled = store.writeTransaction([&] { return fill(store); });
            ok = filled.isDone();
            if (!ok)
                *error = BankMessages::reason(filled);
        }
    }
    if (ok && !QFile::rename(part, path)) {
        *error = QStringLiteral("cannot rename %1 to %2").arg(part, path);
        ok = false;
    }
    if (!ok)
        QFile::remove(part);
    return ok;
}

} // namespace

bool write(const BankSource& source, const QString& path, QString* error)
{
    return writeBank(path, error, [&source](QuestionStore& store) {
        auto entries = [](const QVector<BankSource::Entry>& list) {
            QVector<QVariantList> rows;
            for (const auto& e : list)
                rows.append({ e.code, e.name });
            return rows;
        };
        QVector<QVariantList> materials;
        for (const auto& m : source.materials)
            materials.append({ m.code, QString::fromLatin1(RichText::fromPlainText(m.text)) });
        QVector<QVariantList> questions;
        int sj = 0;
        for (const auto& q : source.questions) {
            const QString rtf = QString::fromLatin1(RichText::fromPlainText(q.text));
            const QString head = QuestionEditor::extract(q.text);
            questions.append({ q.section, q.number, q.type, q.answer, QVariant(), q.favourite ? -1 : 0, ++sj,
                head, head, rtf, rtf, QVariant(), q.image.isEmpty() ? QVariant() : QVariant(q.image) });
        }
        return writeAll(store,
            { { QStringLiteral("insert into xmdm(代码, 项目) values(?,?)"), entries(source.projects) },
                { QStringLiteral("insert into kmdm(代码, 科目) values(?,?)"), entries(source.subjects) },
                { QStringLiteral("insert into smdm(代码, 细目) values(?,?)"), entries(source.sections) },
                { QStringLiteral("insert into wz(代码, 文字) values(?,?)"), materials },
                { InsertQuestion, questions } });
    });
}

bool writeSynthetic(const SyntheticOptions& options, const QString& path, QString* error)
{
    return writeBank(path, error, [&options](QuestionStore& store) {
        std::mt19937 rng(options.seed);
        auto pick = [&rng](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
        static const char16_t* const Words[]
            = { u"证券", u"市场", u"投资者", u"发行", u"交易", u"基金", u"债券", u"股票", u"监管",
                  u"信息披露", u"风险", u"收益", u"公司", u"上市", u"期货", u"衍生品", u"结算", u"托管" };
        auto sentence = [&](int chars) {
            QString s;
            while (s.size() < chars)
                s += QString::fromUtf16(Words[pick(int(std::size(Words)))]);
            return s.left(chars);
        };

        const int sections = qMax(1, options.sections);
        const int subjects = qMax(1, (sections + 19) / 20);
        QVector<QVariantList> projectRows, subjectRows, sectionRows;
        QStringList sectionCodes;
        for (int s = 0; s < subjects; ++s) {
            const QChar project(u'K' + s / 10 % 12);
            const QString subjectCode = QString(project)
                + QStringLiteral("%1").arg(s % 10 + 1 + s / 120 * 10, 2, 10, QLatin1Char('0'));
            if (s % 10 == 0 && s / 10 < 12)
                projectRows.append(
                    QVariantList { QString(project), QString(QStringLiteral("项目") + project) });
            subjectRows.append(QVariantList { subjectCode, QString(QStringLiteral("科目") + subjectCode) });
        }
        for (int i = 0; i < sections; ++i) {
            const QString subjectCode = subjectRows[i % subjects][0].toString();
            const QString code
                = subjectCode + QStringLiteral("%1").arg(i / subjects + 1, 2, 10, QLatin1Char('0'));
            sectionCodes << code;
            sectionRows.append(QVariantList { code, QString(QStringLiteral("细目") + code + sentence(6)) });
        }

        static const char16_t* const Types[] = { u"单选", u"单选", u"单选", u"单选", u"多选", u"多选",
            u"判断", u"判断", u"不定项", u"简答", u"综合", u"计算", u"B", u"A3", u"A4" };
        QVector<QVariantList> questions;
        questions.reserve(options.questions);
        for (int i = 0; i < options.questions; ++i) {
            const QString type = QString::fromUtf16(Types[pick(int(std::size(Types)))]);
            QString answer;
            using QuestionType::Kind;
            switch (QuestionType::kindOf(type)) {
            case Kind::MultipleChoice:
            case Kind::Indefinite:
                answer = QStringLiteral("ABD");
                break;
            case Kind::B:
            case Kind::A3:
                answer = QStringLiteral("ACB");
                break;
            case Kind::A4:
                answer = QStringLiteral("对错");
                break;
            case Kind::ShortAnswer:
            case Kind::Comprehensive:
            case Kind::Calculation:
                answer = sentence(12);
                break;
            default:
                answer = QString(QChar(u'A' + pick(4)));
                break;
            }
            QVariant given;
            const int roll = pick(100);
            if (roll < 25)
                given = answer;
            else if (roll < 33)
                given = QStringLiteral("C");
            else if (roll < 36)
                given = QString();
            // About 15 bytes of RTF a Chinese character, after a header and four options of ~900 bytes.
            const QString text = sentence(qMax(10, (options.documentBytes - 900) / 15))
                + QStringLiteral("（    ）。\nA．") + sentence(8) + QStringLiteral("\nB．") + sentence(8)
                + QStringLiteral("\nC．") + sentence(8) + QStringLiteral("\nD．") + sentence(8);
            const QString rtf = QString::fromLatin1(RichText::fromPlainText(text));
            const QString head = QuestionEditor::extract(text);
            questions.append({ sectionCodes[i % sections], i / sections + 1, type, answer, given,
                pick(100) == 0 ? -1 : 0, i, head, head, rtf, QVariant(), QVariant(), QVariant() });
        }
        return writeAll(store,
            { { QStringLiteral("insert into xmdm(代码, 项目) values(?,?)"), projectRows },
                { QStringLiteral("insert into kmdm(代码, 科目) values(?,?)"), subjectRows },
                { QStringLiteral("insert into smdm(代码, 细目) values(?,?)"), sectionRows },
                { InsertQuestion, questions } });
    });
}

} // namespace BankWriter
