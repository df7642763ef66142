#pragma once

#include <QListView>
#include <QStringList>

class QStringListModel;

// A list of text lines that fills at once however long it is: the lines sit
// in one string list behind the view (no item object per line) and every
// line has the same height.
class LineList : public QListView {
    Q_OBJECT
public:
    explicit LineList(QWidget *parent = nullptr);

    void setLines(const QStringList &lines);
    void addItems(const QStringList &lines) { setLines(m_lines + lines); }
    void clear() { setLines({}); }
    const QStringList &lines() const { return m_lines; }
    int count() const { return static_cast<int>(m_lines.size()); }
    QString text(int row) const { return m_lines.value(row); }
    int currentRow() const;

signals:
    // A line chosen with the left button or the Enter key (once per choice,
    // whatever the style does with single clicks).
    void lineChosen(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QStringListModel *m_model;
    QStringList m_lines;
};
