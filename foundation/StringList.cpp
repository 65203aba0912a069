#include "foundation/StringList.h"

#include "foundation/Exception.h"

namespace {
void checkIndex(qsizetype index, qsizetype count)
{
    if (index < 0 || index >= count)
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}
} // namespace

const QString& TStringList::at(qsizetype index) const
{
    checkIndex(index, m_lines.size());
    return m_lines.at(index);
}

void TStringList::set(qsizetype index, const QString& line)
{
    checkIndex(index, m_lines.size());
    m_lines[index] = line;
}

void TStringList::insert(qsizetype index, const QString& line)
{
    if (index < 0 || index > m_lines.size())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    m_lines.insert(index, line);
}

void TStringList::removeAt(qsizetype index)
{
    checkIndex(index, m_lines.size());
    m_lines.removeAt(index);
}

qsizetype TStringList::indexOf(const QString& line) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        if (m_lines.at(i).compare(line, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList TStringList::splitLines(const QString& text)
{
    QStringList out;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            out.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        out.append(text.mid(start));
    return out;
}

QString TStringList::text() const
{
    QString out;
    qsizetype size = 0;
    for (const QString& l : m_lines)
        size += l.size() + 2;
    out.reserve(size);
    for (const QString& l : m_lines) {
        out += l;
        out += QLatin1String("\r\n");
    }
    return out;
}

void TStringList::setText(const QString& text)
{
    m_lines = splitLines(text);
}

QString TStringList::nameOf(const QString& line)
{
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.left(eq);
}

QString TStringList::valueFromIndex(qsizetype index) const
{
    const QString& line = at(index);
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.mid(eq + 1);
}

qsizetype TStringList::indexOfName(const QString& name) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines.at(i);
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).left(eq).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString TStringList::value(const QString& name) const
{
    const qsizetype i = indexOfName(name);
    return i < 0 ? QString() : valueFromIndex(i);
}

void TStringList::setValue(const QString& name, const QString& value)
{
    const qsizetype i = indexOfName(name);
    if (value.isEmpty()) {
        if (i >= 0)
            m_lines.removeAt(i);
        return;
    }
    const QString line = name + u'=' + value;
    if (i >= 0)
        m_lines[i] = line;
    else
        m_lines.append(line);
}
