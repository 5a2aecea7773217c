#pragma once

#include <QString>

#include <vector>

// Keys handed to one SQL statement as one JSON value, an array of rows, each an array of texts
// and numbers; the statement reads them with json_each and json_extract(value, '$[i]'). One
// statement over every key costs one binding, where a statement per key costs a binding and a
// B-tree descent each.
class JsonKeyList
{
public:
    void reserve(qsizetype rows, qsizetype charactersPerRow);
    // Starts the next row; add its cells after it.
    void beginRow();
    void add(const QString& text);
    void add(qint64 number);
    bool isEmpty() const { return m_rows == 0; }
    qsizetype rowCount() const { return m_rows; }
    // The array as JSON text: "[]" without rows.
    QString text() const;

    // Numbers alone (rowids) as one flat JSON array, read with json_each's value.
    static QString numbers(const std::vector<qint64>& values);

private:
    QString m_text;
    qsizetype m_rows = 0;
    bool m_rowEmpty = true;
};
