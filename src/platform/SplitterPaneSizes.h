#pragma once

#include <QList>
#include <QString>

class IniFile;
class QObject;
class QSplitter;

// The sizes of split panes kept in a settings section: each pane's size is followed as the user
// drags its splitter, read and written under its key, and given back to its splitter.
class SplitterPaneSizes
{
public:
    // Follows pane index (0 or 1) of the splitter under key; the connection lives with context.
    void track(QObject* context, QSplitter* splitter, int index, const QString& key,
               int defaultSize);
    void read(const IniFile& ini, const QString& section);
    void write(IniFile& ini, const QString& section) const;
    // The size kept for key, which must be tracked.
    int& size(const QString& key);
    // Gives every splitter its pane's size. A splitter on a tab that was never shown has no
    // size yet; it is passed over and gets its size when apply runs again after its first layout.
    void apply() const;

private:
    struct Pane
    {
        QSplitter* splitter;
        int index;
        QString key;
        int defaultSize;
        int size;
    };
    QList<Pane> m_panes;
};
