#include "ui/linelist.h"

#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QLabel>
#include <QStringListModel>
#include <QStyle>
#include <QStyleOptionViewItem>

LineList::LineList(QWidget *parent)
    : QListView(parent),
      m_model(new QStringListModel(this)),
      m_band(new QWidget(this)),
      m_headings(new QLabel(m_band))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListView::clicked, this, [this](const QModelIndex &index) {
        if (index.isValid()) emit lineChosen(index.row());
    });
    // The band takes the list's font from the list, as the lines do.
    m_band->setAutoFillBackground(true);
    m_band->hide();
    m_headings->setObjectName(QStringLiteral("intestazioni"));
    m_headings->setTextFormat(Qt::PlainText);
    m_headings->setIndent(0);
}

void LineList::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && currentIndex().isValid()) {
        emit lineChosen(currentIndex().row());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void LineList::setLines(const QStringList &lines)
{
    m_lines = lines;
    m_model->setStringList(m_lines);
}

int LineList::currentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void LineList::keepingPlace(const std::function<void()> &fill,
                            const std::function<QString(const QString &)> &key)
{
    const int row = currentRow();
    const QString line = text(row);
    const int scrolled = verticalScrollBar()->value();
    fill();

    // The line that matches, nearest to the row it was at.
    const auto nearest = [&](const std::function<bool(const QString &)> &matches) {
        int found = -1;
        for (int i = 0; i < count(); ++i)
            if (matches(m_lines.at(i)) && (found < 0 || qAbs(i - row) < qAbs(found - row)))
                found = i;
        return found;
    };
    int now = -1;
    if (row >= 0) {
        now = nearest([&](const QString &l) { return l == line; });
        if (now < 0 && key && !key(line).isEmpty()) {
            const QString wanted = key(line);
            now = nearest([&](const QString &l) { return key(l) == wanted; });
        }
    }
    // The lines are laid out at once, so that the scroll bar has its range.
    doItemsLayout();
    if (now >= 0) setCurrentIndex(m_model->index(now));
    verticalScrollBar()->setValue(scrolled);
}

void LineList::setHeadings(const QString &headings, const QString &hint)
{
    m_headings->setText(headings);
    m_band->setToolTip(hint);
    placeHeadings();
}

QString LineList::headings() const { return m_headings->text(); }

int LineList::textIndent() const
{
    // Where the style puts the text of an item without check box or icon,
    // and the margin it then leaves before the first character.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = QRect(0, 0, viewport()->width(), fontMetrics().height());
    option.text = QStringLiteral("X");
    option.features |= QStyleOptionViewItem::HasDisplay;
    const QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    return text.left() + style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
}

void LineList::placeHeadings()
{
    const bool shown = !m_headings->text().isEmpty();
    const int height = shown ? fontMetrics().height() + 4 : 0;
    if (viewportMargins().top() != height) setViewportMargins(0, height, 0, 0);
    m_band->setVisible(shown);
    if (!shown) return;
    const QRect lines = viewport()->geometry();
    m_band->setGeometry(lines.x(), lines.y() - height, lines.width(), height);
    m_headings->adjustSize();
    m_headings->move(textIndent(), (height - m_headings->height()) / 2);
}

void LineList::changeEvent(QEvent *event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        placeHeadings();
}

bool LineList::viewportEvent(QEvent *event)
{
    // The lines' room changes with the list and with its scroll bars.
    if (event->type() == QEvent::Resize) placeHeadings();
    return QListView::viewportEvent(event);
}
