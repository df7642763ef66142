#include "ui/linelist.h"

#include <QKeyEvent>
#include <QStringListModel>

LineList::LineList(QWidget *parent) : QListView(parent), m_model(new QStringListModel(this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListView::clicked, this, [this](const QModelIndex &index) {
        if (index.isValid()) emit lineChosen(index.row());
    });
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
