#include "catalogue/QuestionListModel.h"

#include "catalogue/QuestionNumbering.h"
#include "data/BankTables.h"

#include "data/AnswerRule.h"
#include "data/QuestionType.h"
#include "data/RowSet.h"

#include <QColor>

QuestionListModel::QuestionListModel(QObject* parent)
    : QAbstractTableModel(parent)
{ }

int QuestionListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int QuestionListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString QuestionListModel::subItem(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const Row& r = m_rows[row];
    switch (column) {
    case Number:
        return r.text;
    case Type:
        return r.type;
    case Title:
        return r.title;
    case Answer:
        return r.answer;
    case QuestionNo:
        return r.questionNo;
    case Code:
        return r.code;
    case Given:
        return r.given;
    default:
        return {};
    }
}

void QuestionListModel::setSubItem(int row, int column, const QString& value)
{
    if (row < 0 || row >= m_rows.size())
        return;
    Row& r = m_rows[row];
    QString* fields[] = { &r.text, &r.type, &r.title, &r.answer, &r.questionNo, &r.code, &r.given };
    if (column < 0 || column >= ColumnCount)
        return;
    *fields[column] = value;
    emit dataChanged(index(row, column), index(row, column));
}

namespace {

// A row is one line: an extract that holds line breaks would make it two or three
// lines tall, showing fragments. What is stored keeps its breaks.
bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\n' || u == u'\r' || u == u'\v' || u == u'\f' || u == 0x2028 || u == 0x2029 || u == 0x85;
}

QString oneLine(QString text)
{
    // Most extracts hold no break: those are handed on without a copy.
    qsizetype to = 0;
    while (to < text.size() && !isLineBreak(text.at(to)))
        ++to;
    for (qsizetype from = to; from < text.size(); ++from) {
        const QChar c = text.at(from);
        // CR LF is one break.
        if (c == u'\r' && from + 1 < text.size() && text.at(from + 1) == u'\n')
            ++from;
        text[to++] = isLineBreak(c) ? QChar(u' ') : c;
    }
    text.truncate(to);
    return text;
}

} // namespace

QVariant QuestionListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return oneLine(subItem(index.row(), index.column()));
    case Qt::ToolTipRole:
        return subItem(index.row(), index.column());
    case Qt::ForegroundRole:
        return m_verdictColours ? verdictColour(index.row()) : QColor(255, 0, 0);
    default:
        return {};
    }
}

QVariant QuestionListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char16_t* const Headers[]
        = { u"题号", u"题型", u"题目", u"答案", u"NO", u"代码", u"我的答案" };
    return section >= 0 && section < ColumnCount ? QString::fromUtf16(Headers[section]) : QVariant();
}

void QuestionListModel::setVerdictColours(bool on)
{
    if (m_verdictColours == on)
        return;
    m_verdictColours = on;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows.size() - 1, ColumnCount - 1), { Qt::ForegroundRole });
}

QColor QuestionListModel::verdictColour(int row) const
{
    const Row& r = m_rows[row];
    switch (AnswerRule::verdict(r.type, r.answer, r.given)) {
    case AnswerRule::Verdict::Right:
        return QColor(0, 128, 0);
    case AnswerRule::Verdict::Wrong:
        return QColor(255, 0, 0);
    case AnswerRule::Verdict::SelfAssessed:
        return QColor(0, 0, 192);
    case AnswerRule::Verdict::Unanswered:
        break;
    }
    return QColor(0, 0, 0);
}

void QuestionListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void QuestionListModel::removeRow(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.remove(row);
    endRemoveRows();
}

void QuestionListModel::append(RowSet& selection)
{
    if (!selection.isValid())
        return;
    QVector<Row> rows;
    rows.reserve(selection.rowCount());
    int offset = 0;
    const int fType = selection.fieldIndex(BankTables::Column::Type.toString()),
              fTg = selection.fieldIndex(BankTables::Column::StemExtract.toString()),
              fAnswer = selection.fieldIndex(BankTables::Column::Key.toString()),
              fNo = selection.fieldIndex(BankTables::Column::Number.toString()),
              fCode = selection.fieldIndex(BankTables::Column::Code.toString()),
              fGiven = selection.fieldIndex(BankTables::Column::Given.toString());
    for (int p = 1; !selection.atEnd(); selection.next(), ++p) {
        Row r;
        r.type = selection.field(fType).toString();
        r.answer = selection.field(fAnswer).toString();
        r.text = QuestionNumbering::text(p, r.type, r.answer, &offset);
        r.title = QuestionType::isGrouped(r.type) ? QStringLiteral("此题为") + r.type + QStringLiteral("型题")
                                                  : selection.field(fTg).toString();
        r.questionNo = selection.field(fNo).toString();
        r.code = selection.field(fCode).toString();
        r.given = selection.field(fGiven).toString();
        rows.append(std::move(r));
    }
    if (rows.isEmpty())
        return;
    beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size() + rows.size() - 1);
    m_rows += rows;
    endInsertRows();
}
