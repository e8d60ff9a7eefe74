#pragma once

// A CSV table shown in a view without one item per cell: the view asks for the rows it
// shows, so a preview of a hundred thousand rows fills at once.

#include "core/CsvTable.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <memory>
#include <vector>

class CCsvPreviewModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CCsvPreviewModel(QObject* parent = nullptr);
    ~CCsvPreviewModel() override;

    // Shows `table` (taken over) under `headings`, one column for each heading.
    void SetTable(std::unique_ptr<CCsvTable> table, QStringList headings);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::unique_ptr<CCsvTable> m_pTable;
    // The table keeps its rows in a list; the view asks by number.
    std::vector<CCsvTable::ConstRowIterator> m_rows;
    QStringList m_headings;
};
