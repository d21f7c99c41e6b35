#include "app/TPlayerListModel.h"

int TPlayerListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant TPlayerListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    const TRow &row = FRows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case TextRole:
        return row.Text;
    case TagRole:
        return row.Tag;
    default:
        return {};
    }
}

QHash<int, QByteArray> TPlayerListModel::roleNames() const
{
    return {{TextRole, "text"}, {TagRole, "tag"}};
}

void TPlayerListModel::Clear()
{
    beginResetModel();
    FRows.clear();
    endResetModel();
}

void TPlayerListModel::Add(const QString &AText, int ATag)
{
    beginInsertRows({}, Count(), Count());
    FRows.push_back({AText, ATag});
    endInsertRows();
}

void TPlayerListModel::Delete(int AIndex)
{
    if (AIndex < 0 || AIndex >= Count())
        return;
    beginRemoveRows({}, AIndex, AIndex);
    FRows.erase(FRows.begin() + AIndex);
    endRemoveRows();
}
