#include "app/linelist.h"

#include <QStringListModel>

LineList::LineList(QWidget *parent) : QListView(parent), m_model(new QStringListModel(this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    auto chosen = [this](const QModelIndex &index) {
        if (index.isValid()) emit lineChosen(index.row());
    };
    connect(this, &QListView::clicked, this, chosen);
    connect(this, &QListView::activated, this, chosen);
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
