#include "foundation/KwTextForm.h"

#include "foundation/Exception.h"

#include <QFile>
#include <QStringDecoder>

QString kwTableToText(const TKwStringsComponent& table)
{
    QString out;
    for (qsizetype i = 0; i < table.sectionCount(); ++i) {
        const TKwStringList* s = table.sectionAt(i);
        // A line break inside a name has no text form; printing it anyway
        // would read back as a different table.
        if (s->name.contains(u'\r') || s->name.contains(u'\n'))
            throw Exception(QStringLiteral("Section %1 has a line break in its name and has no text form").arg(i + 1));
        out += u'[';
        out += s->name;
        out += QLatin1String("]\n");
        // The lines as the stored form gives them back: a line holding a
        // break becomes several.
        for (const QString& line : TStringList::splitLines(s->text())) {
            if (line.startsWith(u'[') || line.startsWith(u'\\'))
                out += u'\\';
            out += line;
            out += u'\n';
        }
    }
    return out;
}

void kwTableAppendText(TKwStringsComponent& table, const QString& text)
{
    struct Pending {
        QString name;
        QStringList lines;
    };
    std::vector<Pending> sections;
    QStringList rows = (text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text).split(u'\n');
    if (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast(); // the LF that ends the last line
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QString row = rows.at(i);
        if (row.endsWith(u'\r'))
            row.chop(1);
        if (row.contains(u'\r'))
            throw Exception(QStringLiteral("Malformed table text at line %1: stray carriage return").arg(i + 1));
        if (row.startsWith(u'[')) {
            if (!row.endsWith(u']') || row.size() < 2)
                throw Exception(QStringLiteral("Malformed table text at line %1: a section line must end with \"]\"").arg(i + 1));
            sections.push_back({row.mid(1, row.size() - 2), {}});
            continue;
        }
        if (sections.empty())
            throw Exception(QStringLiteral("Malformed table text at line %1: a line before the first section").arg(i + 1));
        if (row.startsWith(u'\\'))
            row.remove(0, 1);
        sections.back().lines.append(row);
    }
    for (const Pending& p : sections)
        table.addSection(p.name, QString())->lines.setLines(p.lines);
}

void kwTableFromText(TKwStringsComponent& table, const QString& text)
{
    TKwStringsComponent parsed;
    kwTableAppendText(parsed, text);
    table.assign(parsed);
}

void kwTableLoadTextFile(TKwStringsComponent& table, const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, f.errorString()));
    const QByteArray bytes = f.readAll();
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode(bytes);
    if (decode.hasError())
        throw Exception(QStringLiteral("File \"%1\" is not valid UTF-8").arg(fileName));
    kwTableAppendText(table, text);
}
