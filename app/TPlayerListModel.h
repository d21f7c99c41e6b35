// The rows of the player list (ListViewPlayerList): text = a player's name,
// tag = the player's id. The QML delegate shows the text as plain text.
#pragma once

#include <QAbstractListModel>
#include <QString>
#include <vector>

class TPlayerListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles { TextRole = Qt::UserRole + 1, TagRole };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int Count() const { return static_cast<int>(FRows.size()); }
    QString Text(int AIndex) const { return FRows.at(AIndex).Text; }
    int Tag(int AIndex) const { return FRows.at(AIndex).Tag; }
    void Clear();
    void Add(const QString &AText, int ATag);
    // Removes the row when AIndex is a row; otherwise does nothing.
    Q_INVOKABLE void Delete(int AIndex);

private:
    struct TRow
    {
        QString Text;
        int Tag;
    };
    std::vector<TRow> FRows;
};
