#pragma once

#include <QAbstractItemModel>
#include <QList>

struct _MsgMessage;

// The message list: a flat four-column model (Date, Flag, Contact, Content),
// one row per message, in the order given. The messages are not owned; they
// belong to the MessageSet of the selected source, which must outlive them here.
//
// Column-0 indexes carry the message pointer as internal pointer.
class ItemModelSms : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit ItemModelSms(QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    // The number of messages at the top level; no row has children.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Replaces the rows (model reset).
    void setMessages(const QList<_MsgMessage*>& list);
    // Removes every row (model reset).
    void clear();
    // The column-0 index of a row, invalid when out of range.
    QModelIndex indexOfRow(int row) const;
    // The message of an index's row (any column), null for an invalid index.
    _MsgMessage* messageFromIndex(const QModelIndex& index) const;
    const QList<_MsgMessage*>& messages() const { return rows; }

private:
    QVariant displayData(const _MsgMessage& m, int column) const;

    QList<_MsgMessage*> rows; // not owned
};
