#include "BankSource.h"

#include "data/QuestionType.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringDecoder>

namespace {

constexpr qint64 MaxImageBytes = qint64(16) << 20;

struct Cursor
{
    const QStringList& lines;
    int index = 0;
    bool atEnd() const { return index >= lines.size(); }
    const QString& current() const { return lines[index]; }
};

bool isTextLine(const QString& line)
{
    return line.startsWith(u'|');
}

QString textLine(const QString& line)
{
    QString t = line.mid(1);
    if (t.startsWith(u' '))
        t.remove(0, 1);
    return t;
}

// A line with no content for the parser: blank, or a comment.
bool isBlankOrComment(const QString& line)
{
    const QString t = line.trimmed();
    return t.isEmpty() || t.startsWith(u'#');
}

uint codePointAt(const QString& s, int i)
{
    const QChar c = s.at(i);
    if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, s.at(i + 1));
    return c.unicode();
}

// Characters that would not survive as themselves in a stored text: control characters (a NUL
// above all), non-characters, and those the rich-text document uses for its own structure.
bool isUnstorable(uint ch)
{
    return (ch < 0x20 && ch != u'\t') || (ch >= 0x7F && ch < 0xA0) || ch == 0x2028 || ch == 0x2029
        || ch == 0xFFFC || QChar::isNonCharacter(ch);
}

// The index of the first unstorable character of @p line, or -1.
int firstUnstorable(const QString& line)
{
    for (int i = 0; i < line.size(); ++i) {
        const uint ch = codePointAt(line, i);
        if (isUnstorable(ch))
            return i;
        if (QChar::requiresSurrogates(ch))
            ++i;
    }
    return -1;
}

} // namespace

const QStringList& BankSourceReader::knownTypes()
{
    static const QStringList types = QuestionType::names();
    return types;
}

bool BankSourceReader::fail(const QString& file, int line, const QString& message)
{
    m_error = QStringLiteral("%1:%2: %3").arg(QDir::toNativeSeparators(file)).arg(line).arg(message);
    return false;
}

bool BankSourceReader::read(const QString& path)
{
    m_source = BankSource {};
    const QFileInfo info(path);
    if (info.isDir()) {
        const QStringList files = QDir(path).entryList({ QStringLiteral("*.bank") }, QDir::Files, QDir::Name);
        if (files.isEmpty())
            return fail(path, 0, QStringLiteral("no .bank files in this folder"));
        for (const QString& f : files) {
            if (!readFile(QDir(path).filePath(f)))
                return false;
        }
        return true;
    }
    // A device or a pipe might never end.
    if (info.exists() && !info.isFile())
        return fail(path, 0, QStringLiteral("not a .bank file or a folder of them"));
    return readFile(path);
}

bool BankSourceReader::readFile(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return fail(file, 0, QStringLiteral("cannot read the file: %1").arg(in.errorString()));
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return fail(file, 0, QStringLiteral("cannot read the file: %1").arg(in.errorString()));
    return readText(bytes, file);
}

bool BankSourceReader::readText(const QByteArray& bytes, const QString& file)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString content = utf8.decode(bytes);
    if (utf8.hasError())
        return fail(file, 0, QStringLiteral("the file is not UTF-8 text"));
    if (content.startsWith(QChar::ByteOrderMark))
        content.remove(0, 1); // as editors on Windows write it
    QStringList lines = content.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString& l = lines[i];
        if (l.endsWith(u'\r'))
            l.chop(1);
        if (const int col = firstUnstorable(l); col >= 0)
            return fail(file, i + 1,
                QStringLiteral("character U+%1 in column %2 cannot be stored in a question text")
                    .arg(QString::number(codePointAt(l, col), 16).toUpper().rightJustified(4, u'0'))
                    .arg(col + 1));
    }

    QSet<QString> projectCodes, subjectCodes, sectionCodes;
    for (const auto& e : std::as_const(m_source.projects))
        projectCodes.insert(e.code.toUpper());
    for (const auto& e : std::as_const(m_source.subjects))
        subjectCodes.insert(e.code.toUpper());
    for (const auto& e : std::as_const(m_source.sections))
        sectionCodes.insert(e.code.toUpper());
    QHash<QString, int> lastNumber;
    for (const auto& q : std::as_const(m_source.questions))
        lastNumber[q.section.toUpper()] = qMax(lastNumber.value(q.section.toUpper()), q.number);

    QString currentSection;
    Cursor c { lines };
    auto lineNo = [&c] { return c.index + 1; };
    auto readText = [&c](QString* text) {
        QStringList block;
        while (!c.atEnd() && isTextLine(c.current())) {
            block << textLine(c.current());
            ++c.index;
        }
        *text = block.join(u'\n');
        return !block.isEmpty();
    };

    while (!c.atEnd()) {
        const QString line = c.current();
        if (isBlankOrComment(line)) {
            ++c.index;
            continue;
        }
        if (isTextLine(line))
            return fail(
                file, lineNo(), QStringLiteral("a text line must follow a question or material line"));

        const QString keyword = line.section(u' ', 0, 0, QString::SectionSkipEmpty);
        const QString code = line.section(u' ', 1, 1, QString::SectionSkipEmpty);
        const QString name = line.section(u' ', 2, -1, QString::SectionSkipEmpty).trimmed();
        const int at = lineNo();
        ++c.index;

        if (keyword == QLatin1String("project") || keyword == QLatin1String("subject")
            || keyword == QLatin1String("section")) {
            if (code.isEmpty() || name.isEmpty())
                return fail(file, at, QStringLiteral("expected: %1 CODE NAME").arg(keyword));
            if (keyword == QLatin1String("project")) {
                if (code.size() != 1)
                    return fail(file, at, QStringLiteral("a project code has one character: %1").arg(code));
                if (projectCodes.contains(code.toUpper()))
                    return fail(file, at, QStringLiteral("project %1 is declared twice").arg(code));
                projectCodes.insert(code.toUpper());
                m_source.projects.append({ code, name });
            } else if (keyword == QLatin1String("subject")) {
                if (code.size() != 3)
                    return fail(
                        file, at, QStringLiteral("a subject code has three characters: %1").arg(code));
                if (!projectCodes.contains(code.left(1).toUpper()))
                    return fail(
                        file, at, QStringLiteral("subject %1 belongs to no declared project").arg(code));
                if (subjectCodes.contains(code.toUpper()))
                    return fail(file, at, QStringLiteral("subject %1 is declared twice").arg(code));
                subjectCodes.insert(code.toUpper());
                m_source.subjects.append({ code, name });
            } else {
                if (code.size() <= 3)
                    return fail(file, at,
                        QStringLiteral("a section code is longer than its subject's: %1").arg(code));
                if (!subjectCodes.contains(code.left(3).toUpper()))
                    return fail(
                        file, at, QStringLiteral("section %1 belongs to no declared subject").arg(code));
                if (sectionCodes.contains(code.toUpper()))
                    return fail(file, at, QStringLiteral("section %1 is declared twice").arg(code));
                sectionCodes.insert(code.toUpper());
                m_source.sections.append({ code, name });
                currentSection = code;
            }
            continue;
        }

        if (keyword == QLatin1String("material")) {
            if (!sectionCodes.contains(code.toUpper()))
                return fail(file, at, QStringLiteral("material for an undeclared section: %1").arg(code));
            if (code.at(0) >= u'K')
                return fail(file, at,
                    QStringLiteral("section %1 is a question section; text material needs a code before K")
                        .arg(code));
            BankSource::Material m { code, {} };
            if (!readText(&m.text))
                return fail(
                    file, at + 1, QStringLiteral("material %1 has no text lines (\"| ...\")").arg(code));
            m_source.materials.append(m);
            continue;
        }

        if (keyword == QLatin1String("question")) {
            if (currentSection.isEmpty())
                return fail(file, at, QStringLiteral("a question must follow a section line"));
            if (currentSection.at(0) < u'K')
                return fail(file, at,
                    QStringLiteral("section %1 holds text material, not questions").arg(currentSection));
            if (!knownTypes().contains(code))
                return fail(file, at,
                    QStringLiteral("unknown question type \"%1\" (known: %2)")
                        .arg(code, knownTypes().join(QStringLiteral(", "))));
            if (!name.isEmpty())
                return fail(file, at, QStringLiteral("unexpected text after the type: %1").arg(name));
            BankSource::Question q;
            q.section = currentSection;
            q.type = code;
            bool hasAnswer = false;
            while (!c.atEnd() && !isTextLine(c.current()) && !isBlankOrComment(c.current())) {
                const QString fieldLine = c.current();
                const int colon = fieldLine.indexOf(u':');
                const QString key = fieldLine.left(colon).trimmed();
                const QString value = fieldLine.mid(colon + 1).trimmed();
                if (colon < 0)
                    break;
                if (!QStringList {
                        QStringLiteral("answer"), QStringLiteral("image"), QStringLiteral("favourite") }
                         .contains(key))
                    return fail(file, lineNo(), QStringLiteral("unknown field \"%1\"").arg(key));
                if (key == QLatin1String("answer")) {
                    q.answer = value;
                    hasAnswer = true;
                } else if (key == QLatin1String("favourite")) {
                    if (value != QLatin1String("yes") && value != QLatin1String("no"))
                        return fail(file, lineNo(), QStringLiteral("favourite is yes or no"));
                    q.favourite = value == QLatin1String("yes");
                } else {
                    const QString imagePath = QFileInfo(file).dir().filePath(value);
                    // Only a plain file of sensible size: a device or a folder would never end.
                    const QFileInfo imageInfo(imagePath);
                    if (value.isEmpty() || !imageInfo.isFile())
                        return fail(file, lineNo(), QStringLiteral("cannot read the image %1").arg(value));
                    if (imageInfo.size() > MaxImageBytes)
                        return fail(file, lineNo(),
                            QStringLiteral("the image %1 is larger than %2 MB")
                                .arg(value)
                                .arg(MaxImageBytes >> 20));
                    QFile image(imagePath);
                    if (!image.open(QIODevice::ReadOnly))
                        return fail(file, lineNo(),
                            QStringLiteral("cannot read the image %1: %2").arg(value, image.errorString()));
                    q.image = image.read(MaxImageBytes + 1);
                    if (image.error() != QFileDevice::NoError || q.image.size() > MaxImageBytes)
                        return fail(file, lineNo(), QStringLiteral("cannot read the image %1").arg(value));
                }
                ++c.index;
            }
            if (!hasAnswer)
                return fail(file, at, QStringLiteral("the question has no \"answer:\" line"));
            if (!readText(&q.text))
                return fail(file, lineNo(), QStringLiteral("expected the question text (\"| ...\" lines)"));
            q.number = ++lastNumber[q.section.toUpper()];
            m_source.questions.append(q);
            continue;
        }

        return fail(file, at, QStringLiteral("unknown keyword \"%1\"").arg(keyword));
    }
    return true;
}
