#include "exporters.h"

#include "pagelayout.h"

#include <QFile>
#include <QPdfWriter>
#include <QSaveFile>

namespace chemodesk::reportengine {

using platform::ReportError;

namespace {

constexpr int TwipsPerPoint = 20;

QByteArray number(double value)
{
    return QByteArray::number(qRound(value));
}

QByteArray alignment(Qt::Alignment align)
{
    if (align & Qt::AlignHCenter)
        return "\\qc";
    if (align & Qt::AlignRight)
        return "\\qr";
    return "\\ql";
}

QByteArray paragraph(const DocText &line, int bodySize)
{
    QByteArray out = "{\\pard" + alignment(line.align);
    if (line.bold)
        out += "\\b";
    if (line.italic)
        out += "\\i";
    out += "\\fs" + QByteArray::number(2 * (line.size > 0 ? line.size : bodySize)) + ' ';
    return out + rtfText(line.text) + "\\par}\n";
}

} // namespace

QByteArray rtfText(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}'))
            out += '\\' + QByteArray(1, char(u));
        else if (c == QLatin1Char('\n'))
            out += "\\line ";
        else if (c == QLatin1Char('\t'))
            out += "\\tab ";
        else if (u < 0x80)
            out += char(u);
        else
            out += "\\u" + QByteArray::number(short(u)) + '?';
    }
    return out;
}

void writeRtf(const ReportDocument &document, const QString &path)
{
    const QSizeF page = PageLayout::paperSize(document.paper, document.landscape);
    const double margin = 36;
    const double width = (page.width() - 2 * margin) * TwipsPerPoint;
    const int body = document.fontSize + 1;

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss Arial;}}\n";
    out += "\\paperw" + number(page.width() * TwipsPerPoint) + "\\paperh" +
           number(page.height() * TwipsPerPoint);
    if (document.landscape)
        out += "\\landscape";
    const QByteArray m = number(margin * TwipsPerPoint);
    out += "\\margl" + m + "\\margr" + m + "\\margt" + m + "\\margb" + m + "\\f0\\fs" +
           QByteArray::number(2 * body) + "\n";

    for (size_t s = 0; s < document.sections.size(); ++s) {
        const DocSection &section = document.sections[s];
        if (s > 0)
            out += paragraph({section.title, Qt::AlignLeft, true, false, body + 2}, body);
        for (const DocText &line : section.header)
            out += paragraph(line, body);
        if (section.columns.empty()) {
            for (const DocRow &r : section.rows)
                out += paragraph({r.label, Qt::AlignLeft, true, r.kind == DocRow::Empty, 0}, body);
        } else {
            double total = 0;
            for (const DocColumn &c : section.columns)
                total += c.width;
            QByteArray cells;
            QByteArray ruledCells;
            double used = 0;
            for (const DocColumn &c : section.columns) {
                used += c.width;
                cells += "\\cellx" + number(width * used / total);
                ruledCells += "\\clbrdrb\\brdrs\\brdrw10\\cellx" + number(width * used / total);
            }
            auto tableRow = [&](const QByteArray &boundaries, const std::vector<QByteArray> &texts,
                                bool bold, bool heads = false) -> QByteArray {
                // The return type is spelled out: with the string builder a deduced
                // one would hold a reference to the local row. A heads row
                // repeats on every page the table runs onto.
                QByteArray row = heads ? "\\trowd\\trhdr" : "\\trowd";
                row += "\\trgaph40\\trleft0" + boundaries + "\n";
                for (size_t k = 0; k < section.columns.size(); ++k) {
                    row += "\\pard\\intbl" + alignment(section.columns[k].align);
                    row += bold ? "\\b " : " ";
                    row += k < texts.size() ? texts[k] : QByteArray();
                    row += bold ? "\\b0\\cell\n" : "\\cell\n";
                }
                return row + "\\row\n";
            };
            std::vector<QByteArray> heads;
            for (const DocColumn &c : section.columns)
                heads.push_back(rtfText(c.caption));
            out += tableRow(ruledCells, heads, true, true);
            for (const DocRow &r : section.rows) {
                std::vector<QByteArray> texts;
                for (const DocCell &c : r.cells)
                    texts.push_back(rtfText(c.text));
                switch (r.kind) {
                case DocRow::Detail:
                    out += tableRow(cells, texts, false);
                    break;
                case DocRow::GroupHeader:
                case DocRow::Empty:
                    out +=
                        paragraph({QString(r.level * 4, QLatin1Char(' ')) + r.label, Qt::AlignLeft,
                                   r.kind == DocRow::GroupHeader, r.kind == DocRow::Empty, 0},
                                  body);
                    break;
                case DocRow::GroupFooter:
                case DocRow::Total: {
                    // The label takes the first empty cell before the figures.
                    if (!texts.empty() && texts.front().isEmpty())
                        texts.front() = rtfText(r.label);
                    else
                        out += paragraph({r.label, Qt::AlignLeft, true, false, 0}, body);
                    out += tableRow(cells, texts, true);
                    break;
                }
                }
            }
        }
        for (const DocText &line : section.footer)
            out += paragraph(line, body);
    }
    out += "}\n";

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        throw ReportError(QStringLiteral("The report cannot be saved as \"%1\": %2.")
                              .arg(path, file.errorString()));
}

void writePdf(const ReportDocument &document, const QString &path)
{
    const PageLayout layout(document);
    {
        // QPdfWriter says nothing when the file cannot be made; find out first.
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            throw ReportError(QStringLiteral("The report cannot be saved as \"%1\": %2.")
                                  .arg(path, probe.errorString()));
    }
    QPdfWriter writer(path);
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("ChemoDesk"));
    writer.setPageLayout(layout.pageLayout());
    layout.paint(writer, QStringLiteral("\"%1\"").arg(path));
}

} // namespace chemodesk::reportengine
