#pragma once

#include <QAbstractListModel>
#include <functional>

namespace reports {

// The lines of a report for a list view, each built when the view asks for
// it.
class LinesModel : public QAbstractListModel {
    Q_OBJECT
public:
    using Line = std::function<QString(int row)>;
    explicit LinesModel(QObject *parent = nullptr) : QAbstractListModel(parent) {}

    void show(int count, Line line)
    {
        beginResetModel();
        m_count = count;
        m_line = std::move(line);
        endResetModel();
    }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_count;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || !m_line) return {};
        return m_line(index.row());
    }

private:
    int m_count = 0;
    Line m_line;
};

} // namespace reports
