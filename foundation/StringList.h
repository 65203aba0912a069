#pragma once
// An ordered list of text lines with name=value behaviour. Every keyed lookup
// of the system goes through it: the name of a line is the text before its
// first '=', compared ignoring letter case, the first match winning; nothing is
// trimmed.

#include <QString>
#include <QStringList>

class TStringList {
public:
    TStringList() = default;
    explicit TStringList(const QStringList& lines) : m_lines(lines) {}

    // Lines
    qsizetype count() const { return m_lines.size(); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    const QString& at(qsizetype index) const;
    void set(qsizetype index, const QString& line);
    void add(const QString& line) { m_lines.append(line); }
    void insert(qsizetype index, const QString& line);
    void removeAt(qsizetype index);
    void clear() { m_lines.clear(); }
    qsizetype indexOf(const QString& line) const; // exact text, ignoring case
    const QStringList& lines() const { return m_lines; }
    void setLines(const QStringList& lines) { m_lines = lines; }

    // Text: lines split at CR LF, lone CR or lone LF; a final break adds no
    // empty line. The text of the list is every line followed by CR LF.
    QString text() const;
    void setText(const QString& text);
    static QStringList splitLines(const QString& text);

    // name=value
    static QString nameOf(const QString& line);   // empty when the line has no '='
    static bool hasName(const QString& line) { return line.contains(u'='); }
    QString name(qsizetype index) const { return nameOf(at(index)); }
    QString valueFromIndex(qsizetype index) const;
    qsizetype indexOfName(const QString& name) const; // -1 when absent
    QString value(const QString& name) const;
    bool contains(const QString& name) const { return indexOfName(name) >= 0; }
    // A non-empty value replaces or appends; the empty value deletes the line.
    void setValue(const QString& name, const QString& value);

    bool operator==(const TStringList& other) const { return m_lines == other.m_lines; }

private:
    QStringList m_lines;
};
