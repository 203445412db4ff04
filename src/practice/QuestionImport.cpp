#include "practice/QuestionImport.h"

#include "catalogue/QuestionFilters.h"
#include "data/AnswerKey.h"
#include "data/CatalogueRepository.h"
#include "data/DelimitedText.h"
#include "data/QuestionStore.h"
#include "data/QuestionType.h"
#include "data/TextEncoding.h"
#include "richtext/RichText.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace QuestionImport {
namespace {

enum Column
{
    SectionColumn,
    TypeColumn,
    StemColumn,
    OptionsColumn,
    AnswerColumn,
    NoteColumn,
    ColumnCount
};

struct Section
{
    QString code;
    QString name;
    QString refusal; ///< why no question can go there; empty when one can
};

// The sections of the catalogue by upper-cased code: codes compare without regard to case.
QHash<QString, Section> loadSections(QuestionStore& store)
{
    QHash<QString, Section> sections;
    bool ok = true;
    for (const CodeName& entry :
        CatalogueRepository::entries(store, CatalogueRepository::Level::Section, &ok)) {
        Section s { entry.code, entry.name, {} };
        // The catalogue shows only a question section's questions: anywhere else they would be lost.
        if (s.code.isEmpty() || s.code.at(0) < u'K')
            s.refusal = QStringLiteral("章节“%1 %2”是文字资料，不能放试题").arg(s.code, s.name);
        else if (s.name == QStringLiteral("模拟考场") || QuestionFilters::isPersonalList(s.name))
            s.refusal = QStringLiteral("“%1 %2”是程序自己的目录项，不能放试题").arg(s.code, s.name);
        sections.insert(s.code.toUpper(), s);
    }
    return sections;
}

// What people call each column in a header, compared without regard to case.
bool namesColumn(const QString& field, Column column)
{
    static const QStringList Names[ColumnCount] = {
        { QStringLiteral("章节代码"), QStringLiteral("代码"), QStringLiteral("章节"), QStringLiteral("section"),
            QStringLiteral("section code"), QStringLiteral("code"), QStringLiteral("chapter") },
        { QStringLiteral("题型"), QStringLiteral("type"), QStringLiteral("question type") },
        { QStringLiteral("题干"), QStringLiteral("stem"), QStringLiteral("question") },
        { QStringLiteral("选项"), QStringLiteral("options"), QStringLiteral("choices") },
        { QStringLiteral("答案"), QStringLiteral("answer"), QStringLiteral("key") },
        { QStringLiteral("注释"), QStringLiteral("解析"), QStringLiteral("note"), QStringLiteral("notes"),
            QStringLiteral("comment"), QStringLiteral("explanation") },
    };
    return Names[column].contains(field.trimmed(), Qt::CaseInsensitive);
}

// A record of questions never holds two column names, nor a type called "题型".
bool isHeader(const DelimitedText::Record& record)
{
    int named = 0;
    for (int c = 0; c < ColumnCount && c < record.fields.size(); ++c)
        named += namesColumn(record.fields[c], Column(c)) ? 1 : 0;
    return named >= 2 || namesColumn(record.fields.value(0), SectionColumn);
}

bool isBlank(const DelimitedText::Record& record)
{
    for (const QString& f : record.fields) {
        if (!f.trimmed().isEmpty())
            return false;
    }
    return true;
}

// The position 0 to 4 of an option letter, half or full width, either case; -1 for others.
int letterIndex(QChar c)
{
    for (const char16_t first : { u'A', u'a', u'\uFF21', u'\uFF41' }) {
        if (c.unicode() >= first && c.unicode() < first + 5)
            return c.unicode() - first;
    }
    return -1;
}

// Options printed on one line with their letters, as question material prints them
// ("A．甲 B．乙", "A.甲  B.乙", "A、甲 B、乙"): split at the letters when they run A, B,
// C … in order from the start; otherwise none, and the cell stays one option.
QStringList splitAtLetters(const QString& cell)
{
    static const QRegularExpression Marker(
        QStringLiteral("(?:^|(?<=\\s))([A-Ea-e\\x{FF21}-\\x{FF25}\\x{FF41}-\\x{FF45}])\\s*[．.、:：)）]"),
        QRegularExpression::UseUnicodePropertiesOption);
    const QString text = cell.trimmed();
    QVector<QRegularExpressionMatch> markers;
    for (auto it = Marker.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (letterIndex(m.captured(1).at(0)) != markers.size() || (markers.isEmpty() && m.capturedStart() != 0))
            return {};
        markers << m;
    }
    if (markers.size() < 2)
        return {};
    QStringList options;
    for (qsizetype i = 0; i < markers.size(); ++i) {
        const qsizetype end = i + 1 < markers.size() ? markers[i + 1].capturedStart() : text.size();
        const QString option = text.mid(markers[i].capturedEnd(), end - markers[i].capturedEnd()).trimmed();
        if (option.isEmpty())
            return {};
        options << option;
    }
    return options;
}

// The options of a cell, one per line, separated by "|" or lettered on one line, each
// without the letter a writer may have put before it ("A．", "B.", "C、").
QStringList splitOptions(const QString& cell)
{
    static const QRegularExpression Separators(QStringLiteral("[\\n|]"));
    const QStringList parts = cell.split(Separators);
    if (parts.size() == 1) {
        const QStringList lettered = splitAtLetters(cell);
        if (!lettered.isEmpty())
            return lettered;
    }
    QStringList options;
    for (const QString& part : parts) {
        QString option = part.trimmed();
        if (option.isEmpty())
            continue;
        static const QRegularExpression Label(
            QStringLiteral("^([A-Za-z\\x{FF21}-\\x{FF3A}\\x{FF41}-\\x{FF5A}])\\s*[．.、:：)）]\\s*"));
        const QRegularExpressionMatch m = Label.match(option);
        if (m.hasMatch() && letterIndex(m.captured(1).at(0)) == options.size())
            option = option.mid(m.capturedLength());
        options << option;
    }
    return options;
}

struct Checker
{
    QHash<QString, Section> sections;
    QVector<Problem>* problems;

    void problem(int line, const QString& message) const { problems->append({ line, message }); }

    // The question of @p record, when it is sound.
    bool check(const DelimitedText::Record& record, Question* question) const
    {
        const int line = record.line;
        const QStringList& f = record.fields;
        if (f.size() != ColumnCount && f.size() != ColumnCount - 1) {
            problem(line,
                QStringLiteral(
                    "应有6列（章节代码、题型、题干、选项、答案、注释，注释可以省略），这一行有%1列")
                    .arg(f.size()));
            return false;
        }
        const qsizetype before = problems->size();

        const QString code = f[SectionColumn].trimmed();
        const auto section = sections.constFind(code.toUpper());
        if (code.isEmpty())
            problem(line, QStringLiteral("没有章节代码"));
        else if (section == sections.constEnd())
            problem(line, QStringLiteral("章节代码“%1”不在题库的目录中").arg(code));
        else if (!section->refusal.isEmpty())
            problem(line, section->refusal);

        const QString typeName = f[TypeColumn].trimmed();
        const QuestionType::Kind kind = QuestionType::kindOf(typeName);
        if (kind == QuestionType::Kind::Other)
            problem(line,
                QStringLiteral("未知的题型“%1”，可用的题型：%2")
                    .arg(typeName, QuestionType::names().join(QStringLiteral("、"))));

        const QString stem = f[StemColumn].trimmed();
        if (stem.isEmpty())
            problem(line, QStringLiteral("题干是空的"));

        QStringList options = splitOptions(f[OptionsColumn]);
        if (options.size() > AnswerKey::MaxOptions)
            problem(line,
                QStringLiteral("有%1个选项，最多%2个（A～E）")
                    .arg(options.size())
                    .arg(AnswerKey::MaxOptions));
        if (kind == QuestionType::Kind::Judgement) {
            if (options.isEmpty())
                options = QStringList { QStringLiteral("正确"), QStringLiteral("错误") };
            else if (options.size() != 2)
                problem(line, QStringLiteral("判断题应有两个选项（A正确、B错误），或者不填选项"));
        }

        AnswerKey::Checked key;
        if (kind != QuestionType::Kind::Other) {
            key = AnswerKey::check(kind, f[AnswerColumn], int(options.size()));
            if (!key.problem.isEmpty())
                problem(line, key.problem);
        }
        if (problems->size() != before)
            return false;

        QString text = stem;
        for (int i = 0; i < options.size(); ++i)
            text += QStringLiteral("\n%1．%2").arg(QChar(u'A' + i), options[i]);
        const QString note = f.value(NoteColumn).trimmed();
        question->line = line;
        question->section = section->code;
        question->content.plainText = text;
        question->content.document = QString::fromLatin1(RichText::fromPlainText(text));
        question->content.stem = QString::fromLatin1(RichText::fromPlainText(stem));
        question->content.answer = key.key;
        question->content.type = QuestionType::name(kind);
        if (!note.isEmpty())
            question->content.notes = QString::fromLatin1(RichText::fromPlainText(note));
        return true;
    }
};

} // namespace

Batch read(QuestionStore& store, const QByteArray& bytes)
{
    Batch batch;
    const TextEncoding::Decoded decoded = TextEncoding::decode(bytes);
    if (!decoded.ok) {
        batch.problems.append({ decoded.badLine,
            QStringLiteral(
                "文字既不是UTF-8也不是GBK编码（可能是别的编码或者不是文本文件），请另存为UTF-8后再导入") });
        return batch;
    }
    batch.encoding = decoded.encoding;
    const DelimitedText::Table table = DelimitedText::parse(decoded.text);
    if (table.unterminatedAt > 0) {
        batch.problems.append({ table.unterminatedAt,
            QStringLiteral("从这一行开始的引号字段直到文件末尾都没有结束，缺少一个双引号(\")") });
        return batch;
    }

    const Checker checker { loadSections(store), &batch.problems };
    bool first = true;
    for (const DelimitedText::Record& record : table.records) {
        if (isBlank(record))
            continue;
        const bool header = first && isHeader(record);
        first = false;
        if (header)
            continue;
        Question question;
        if (checker.check(record, &question))
            batch.questions.append(question);
    }
    if (batch.problems.isEmpty() && batch.questions.isEmpty())
        batch.problems.append({ 0, QStringLiteral("文件中没有试题") });
    if (!batch.problems.isEmpty())
        batch.questions.clear();
    return batch;
}

Outcome importFile(QuestionStore& store, const QString& path)
{
    Outcome outcome;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.problems.append({ 0, QStringLiteral("无法读取文件（%1）").arg(file.errorString()) });
        return outcome;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        outcome.problems.append({ 0, QStringLiteral("无法读取文件（%1）").arg(file.errorString()) });
        return outcome;
    }
    const Batch batch = read(store, bytes);
    outcome.encoding = batch.encoding;
    if (!batch.problems.isEmpty()) {
        outcome.problems = batch.problems;
        return outcome;
    }
    outcome.total = int(batch.questions.size());

    QVector<Added> added;
    const WriteResult result = store.writeTransaction([&] {
        // Read once: finding the largest key for every question would pass over the whole bank each time.
        qint64 order = QuestionEditor::lastOrder(store);
        for (const Question& q : batch.questions) {
            int number = 0;
            const WriteResult one
                = QuestionEditor::insertQuestion(store, q.section, q.content, false, ++order, &number);
            if (!one.isDone())
                return one.isFailed() ? one : WriteResult::failed(one.ownReason());
            auto it = std::find_if(
                added.begin(), added.end(), [&](const Added& a) { return a.code == q.section; });
            if (it == added.end())
                it = added.insert(added.end(), { q.section, {}, 0, number, number, {} });
            ++it->count;
            it->last = number;
            static const QRegularExpression Breaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
            it->questions << q.content.type + QStringLiteral("　")
                    + QuestionEditor::extract(q.content.plainText).replace(Breaks, QStringLiteral(" "));
        }
        return WriteResult::done(int(batch.questions.size()));
    });
    if (!result.isDone()) {
        outcome.status = Outcome::Status::Failed;
        outcome.failure = result;
        return outcome;
    }
    for (Added& a : added)
        a.name = CatalogueRepository::sectionName(store, a.code);
    outcome.status = Outcome::Status::Imported;
    outcome.added = added;
    return outcome;
}

QString Outcome::message(const QString& fileName, const QString& failureReason) const
{
    switch (status) {
    case Status::Imported: {
        // Named as the section's list shows them (type and title), so they can be found there.
        constexpr int Named = 20;
        QString text = QStringLiteral("已从“%1”向题库添加%2道试题：\n").arg(fileName, QString::number(total));
        int named = 0;
        for (const Added& a : added) {
            text += QStringLiteral("\n%1 %2：%3道").arg(a.code, a.name, QString::number(a.count));
            for (const QString& q : a.questions) {
                if (named++ < Named)
                    text += QStringLiteral("\n　　") + q;
            }
        }
        if (named > Named)
            text += QStringLiteral("\n……另有%1道").arg(named - Named);
        return text + QStringLiteral("\n\n点击主窗口左侧的树目录以刷新修改记录！");
    }
    case Status::Refused: {
        constexpr int Shown = 10;
        QString text = QStringLiteral("“%1”中有%2处问题，没有导入任何试题：\n")
                           .arg(fileName, QString::number(problems.size()));
        for (int i = 0; i < problems.size() && i < Shown; ++i) {
            const Problem& p = problems[i];
            text += p.line > 0 ? QStringLiteral("\n第%1行：%2").arg(QString::number(p.line), p.message)
                               : u'\n' + p.message;
        }
        if (problems.size() > Shown)
            text += QStringLiteral("\n……另有%1处问题").arg(problems.size() - Shown);
        return text + QStringLiteral("\n\n请改正文件后再导入。");
    }
    case Status::Failed:
        return QStringLiteral("“%1”中的%2道试题没有导入题库，题库保持原样。\n\n原因：%3。")
            .arg(fileName, QString::number(total), failureReason);
    }
    return {};
}

} // namespace QuestionImport
