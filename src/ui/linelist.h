#pragma once

#include <QListView>
#include <QStringList>
#include <functional>

class QLabel;
class QStringListModel;

// A list of text lines that fills at once however long it is: the lines sit
// in one string list behind the view (no item object per line) and every
// line has the same height.
//
// Above the lines, inside the list's frame, it may show column headings:
// one text in the list's font, drawn where a line's text starts, so that in
// a fixed-pitch font each heading stands over the column it starts in (the
// lines never scroll sideways: one longer than the list ends in an
// ellipsis). The headings are no line: the lines, and what prints them,
// never see them.
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

    // Runs `fill`, which puts the lines anew, and then shows the list as it
    // was: the same line current (the same text, or else the line with the
    // same `key`, nearest to where it was) and scrolled as far as before.
    // Nothing becomes current when the line is gone.
    void keepingPlace(const std::function<void()> &fill,
                      const std::function<QString(const QString &)> &key = {});

    // The column headings (none when empty), with a hint shown over them.
    void setHeadings(const QString &headings, const QString &hint = {});
    QString headings() const;

signals:
    // A line chosen with the left button or the Enter key (once per choice,
    // whatever the style does with single clicks).
    void lineChosen(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    // Where the text of a line starts, from the left of the viewport.
    int textIndent() const;
    void placeHeadings();

    QStringListModel *m_model;
    QStringList m_lines;
    QWidget *m_band;    // the strip above the lines that shows the headings
    QLabel *m_headings; // inside the band
};
