#include "richtext/RtfWriter.h"

#include "richtext/RtfCodePage.h"
#include "richtext/RtfParser.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include <cmath>

namespace {

constexpr double TwipsPerPixel = 15;
constexpr int TableWidthTwips = 8640;
constexpr char Hex[] = "0123456789abcdef";
const QString DefaultFont = QStringLiteral("宋体");

int twips(double pixels)
{
    return static_cast<int>(std::lround(std::clamp(pixels * TwipsPerPixel, -1e8, 1e8)));
}

void appendHexByte(QByteArray& out, uchar byte)
{
    out.append("\\'");
    out.append(Hex[byte >> 4]);
    out.append(Hex[byte & 0xf]);
}

/// Appends the code-page 936 bytes of @p c as \'xx escapes; false when it has none.
bool appendGbk(QByteArray& out, char16_t c)
{
    const quint16 gbk = RtfCodePage::gbkBytes(c);
    if (gbk == 0)
        return false;
    appendHexByte(out, static_cast<uchar>(gbk >> 8));
    appendHexByte(out, static_cast<uchar>(gbk & 0xff));
    return true;
}

/// A font name in code page 936 bytes, and as \uN for the characters that code page lacks:
/// a name that lost them could turn into another font's, a symbol font's among them.
QByteArray fontName(const QString& name)
{
    QByteArray out;
    for (const QChar ch : name) {
        const char16_t c = ch.unicode();
        if (c >= 0x20 && c < 0x7f && c != u';' && c != u'\\' && c != u'{' && c != u'}') {
            out.append(static_cast<char>(c));
        } else if (!appendGbk(out, c) && c >= 0x20) {
            // The font table comes before \uc2, where one fallback byte follows \uN.
            out.append("\\u" + QByteArray::number(static_cast<int>(c) - (c > 0x7fff ? 0x10000 : 0)) + '?');
        }
    }
    return out;
}

/// Blocks of a table cell in reading order, nested tables flattened into paragraphs.
void collectBlocks(QTextFrame::iterator it, QList<QTextBlock>& blocks)
{
    for (; !it.atEnd(); ++it) {
        if (const QTextFrame* frame = it.currentFrame())
            collectBlocks(frame->begin(), blocks);
        else
            blocks.append(it.currentBlock());
    }
}

} // namespace

QByteArray RtfWriter::write(const QTextDocument& doc)
{
    RtfWriter writer(doc);
    return writer.document();
}

RtfWriter::RtfWriter(const QTextDocument& doc)
    : m_doc(doc)
{
    fontIndex(DefaultFont);
}

QByteArray RtfWriter::document()
{
    m_body.reserve(m_doc.characterCount() * 6 + 256);
    writeFrame(m_doc.rootFrame());

    QByteArray out;
    out.reserve(m_body.size() + 512);
    out.append("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        out.append("{\\f" + QByteArray::number(i) + "\\fnil\\fcharset134 " + fontName(m_fonts[i]) + ";}");
    }
    out.append("}\r\n{\\colortbl ;");
    for (const QRgb rgb : std::as_const(m_colors)) {
        out.append("\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb))
            + "\\blue" + QByteArray::number(qBlue(rgb)) + ';');
    }
    out.append("}\r\n{\\*\\generator Vellumore;}\\viewkind4\\uc2\r\n");
    out.append(m_body);
    out.append("}\r\n");
    return out;
}

void RtfWriter::writeFrame(const QTextFrame* frame)
{
    for (QTextFrame::iterator it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* table = qobject_cast<const QTextTable*>(child))
                writeTable(table);
            else
                writeFrame(child);
            continue;
        }
        writeBlock(it.currentBlock(), false);
        m_body.append("\\par\r\n");
    }
}

void RtfWriter::writeTable(const QTextTable* table)
{
    const int columns = table->columns();
    for (int row = 0; row < table->rows(); ++row) {
        m_body.append("\\trowd\\trgaph108");
        QList<QTextTableCell> cells;
        for (int column = 0; column < columns; ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.column() != column)
                continue;
            if (cell.rowSpan() > 1)
                m_body.append(cell.row() == row ? "\\clvmgf" : "\\clvmrg");
            m_body.append("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                          "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10");
            word("cellx", TableWidthTwips * (column + cell.columnSpan()) / columns);
            cells.append(cell.row() == row ? cell : QTextTableCell());
        }
        m_body.append("\r\n");
        for (const QTextTableCell& cell : std::as_const(cells))
            writeCell(cell);
        m_body.append("\\row\r\n");
    }
}

void RtfWriter::writeCell(const QTextTableCell& cell)
{
    QList<QTextBlock> blocks;
    if (cell.isValid())
        collectBlocks(cell.begin(), blocks);
    if (blocks.isEmpty())
        m_body.append("\\pard\\intbl");
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        if (i > 0)
            m_body.append("\\par\r\n");
        writeBlock(blocks[i], true);
    }
    // Readers take "text\par\cell" as one paragraph; an empty last one needs its own mark.
    if (blocks.size() > 1 && blocks.last().length() == 1)
        m_body.append("\\par");
    m_body.append("\\cell\r\n");
}

void RtfWriter::writeBlock(const QTextBlock& block, bool inTable)
{
    const QTextBlockFormat format = block.blockFormat();
    m_body.append("\\pard");
    if (inTable)
        m_body.append("\\intbl");
    switch (format.alignment() & Qt::AlignHorizontal_Mask) {
    case Qt::AlignHCenter:
        m_body.append("\\qc");
        break;
    case Qt::AlignRight:
        m_body.append("\\qr");
        break;
    case Qt::AlignJustify:
        m_body.append("\\qj");
        break;
    default:
        break;
    }
    const double left = format.leftMargin() + format.indent() * m_doc.indentWidth();
    if (const int li = twips(left))
        word("li", li);
    if (const int ri = twips(format.rightMargin()))
        word("ri", ri);
    if (const int fi = twips(format.textIndent()))
        word("fi", fi);
    if (const int sb = twips(format.topMargin()))
        word("sb", sb);
    if (const int sa = twips(format.bottomMargin()))
        word("sa", sa);
    m_body.append(' ');

    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const QTextCharFormat chars = fragment.charFormat();
        if (chars.isImageFormat()) {
            for (qsizetype i = 0; i < fragment.length(); ++i)
                writeImage(chars);
            continue;
        }
        const qsizetype mark = m_body.size();
        m_body.append('{');
        writeCharFormat(chars);
        if (m_body.size() == mark + 1) {
            m_body.chop(1);
            writeText(fragment.text());
        } else {
            m_body.append(' ');
            writeText(fragment.text());
            m_body.append('}');
        }
    }
}

void RtfWriter::writeCharFormat(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        word("f", fontIndex(families.first()));
    if (format.fontPointSize() > 0)
        word("fs", static_cast<int>(std::lround(std::min(format.fontPointSize(), 1638.0) * 2)));
    if (format.fontWeight() >= QFont::DemiBold)
        m_body.append("\\b");
    if (format.fontItalic())
        m_body.append("\\i");
    switch (format.underlineStyle()) {
    case QTextCharFormat::NoUnderline:
        break;
    case QTextCharFormat::DotLine:
        m_body.append("\\uld");
        break;
    case QTextCharFormat::DashUnderline:
        m_body.append("\\uldash");
        break;
    case QTextCharFormat::WaveUnderline:
        m_body.append("\\ulwave");
        break;
    default:
        m_body.append("\\ul");
        break;
    }
    if (format.fontStrikeOut())
        m_body.append("\\strike");
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        word("cf", colorIndex(format.foreground().color()));
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
        word("highlight", colorIndex(format.background().color()));
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        m_body.append("\\super");
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        m_body.append("\\sub");
}

void RtfWriter::writeText(const QString& text)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c >= 0x20 && c < 0x7f) {
            if (c == u'\\' || c == u'{' || c == u'}')
                m_body.append('\\');
            m_body.append(static_cast<char>(c));
            continue;
        }
        switch (c) {
        case u'\t':
            m_body.append("\\tab ");
            continue;
        case QChar::LineSeparator:
        case QChar::ParagraphSeparator:
            m_body.append("\\line ");
            continue;
        case QChar::Nbsp:
            m_body.append("\\~");
            continue;
        case QChar::ObjectReplacementCharacter:
            continue;
        default:
            break;
        }
        if (c < 0x20 || c == 0x7f)
            continue;
        word("u", c > 0x7fff ? static_cast<int>(c) - 0x10000 : static_cast<int>(c));
        if (!appendGbk(m_body, c))
            m_body.append("??");
    }
}

void RtfWriter::writeImage(const QTextCharFormat& format)
{
    const QTextImageFormat image = format.toImageFormat();
    QByteArray data = format.property(RtfParser::ImageDataProperty).toByteArray();
    QByteArray kind = format.property(RtfParser::ImageKindProperty).toByteArray();
    QImage decoded;
    const QVariant resource = m_doc.resource(QTextDocument::ImageResource, QUrl(image.name()));
    if (resource.canConvert<QImage>())
        decoded = resource.value<QImage>();
    else if (resource.typeId() == QMetaType::QByteArray)
        decoded.loadFromData(resource.toByteArray());
    if (data.isEmpty() || (kind != "png" && kind != "jpeg")) {
        if (decoded.isNull())
            return;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        if (!decoded.save(&buffer, "PNG"))
            return;
        kind = QByteArrayLiteral("png");
    }
    const QSize pixels = decoded.isNull() ? QSize(1, 1) : decoded.size();
    const double width = image.width() > 0 ? image.width() : pixels.width();
    const double height = image.height() > 0 ? image.height() : pixels.height();

    m_body.append("{\\pict\\" + kind + "blip");
    word("picw", pixels.width());
    word("pich", pixels.height());
    word("picwgoal", twips(width));
    word("pichgoal", twips(height));
    m_body.append("\r\n");
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<uchar>(data[i]);
        m_body.append(Hex[byte >> 4]);
        m_body.append(Hex[byte & 0xf]);
        if (i % 64 == 63)
            m_body.append("\r\n");
    }
    m_body.append("}");
}

void RtfWriter::word(const char* name, int param)
{
    m_body.append('\\');
    m_body.append(name);
    m_body.append(QByteArray::number(param));
}

int RtfWriter::fontIndex(const QString& family)
{
    const auto it = m_fontIndexes.constFind(family);
    if (it != m_fontIndexes.cend())
        return it.value();
    const int index = static_cast<int>(m_fonts.size());
    m_fonts.append(family);
    m_fontIndexes.insert(family, index);
    return index;
}

int RtfWriter::colorIndex(const QColor& color)
{
    const QRgb rgb = color.rgb() | 0xff000000u;
    const auto it = m_colorIndexes.constFind(rgb);
    if (it != m_colorIndexes.cend())
        return it.value();
    m_colors.append(rgb);
    const int index = static_cast<int>(m_colors.size());
    m_colorIndexes.insert(rgb, index);
    return index;
}
