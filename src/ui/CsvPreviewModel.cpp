#include "ui/CsvPreviewModel.h"

#include "ui/UiText.h"

CCsvPreviewModel::CCsvPreviewModel(QObject* parent) : QAbstractTableModel(parent) {}

CCsvPreviewModel::~CCsvPreviewModel() = default;

void CCsvPreviewModel::SetTable(std::unique_ptr<CCsvTable> table, QStringList headings)
{
    beginResetModel();
    m_pTable = std::move(table);
    m_headings = std::move(headings);
    m_rows.clear();
    if (m_pTable) {
        m_rows.reserve(m_pTable->GetRowCount());
        for (auto row = m_pTable->FirstRow(); row != m_pTable->EndOfRows(); ++row)
            m_rows.push_back(row);
    }
    endResetModel();
}

int CCsvPreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CCsvPreviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headings.size());
}

QVariant CCsvPreviewModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount() ||
        index.column() >= columnCount())
        return QVariant();
    return DwText(m_pTable->GetCellText(m_rows[static_cast<std::size_t>(index.row())], index.column()));
}

QVariant CCsvPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= m_headings.size())
        return QVariant();
    return m_headings[section];
}
