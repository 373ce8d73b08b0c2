#include "app/messages/ItemModelSms.h"

#include "store/MessageText.h"
#include "store/MsgChat.h"
#include "store/MsgMessage.h"
#include "store/StoredDate.h"

#include <QBrush>
#include <QColor>
#include <QLocale>
#include <QPixmap>
#include <QSize>

namespace {
constexpr int kColumnCount = 4;
constexpr int kRowHeight = 23;
constexpr int kIconWidth = 18;
// Characters of a message text the list hands to its view: more than the
// widest column shows, few enough for the view to lay out at once.
constexpr int kListTextLimit = 1000;

// The list shows one line per message and elides it; a very long text is cut
// before the view lays it out.
QString listText(const QString& text)
{
    if (text.size() <= kListTextLimit)
        return text;
    qsizetype cut = kListTextLimit;
    if (text.at(cut).isLowSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

QString iconPath(const _MsgMessage& m)
{
    const bool sent = m.is_from_me != 0;
    if (m.service().compare(QLatin1String("iMessage"), Qt::CaseInsensitive) == 0)
        return sent ? QStringLiteral(":/res/imsg-send.png") : QStringLiteral(":/res/imsg-rec.png");
    return sent ? QStringLiteral(":/res/icon_sms-sent.png") : QStringLiteral(":/res/icon_sms-receive.png");
}
} // namespace

ItemModelSms::ItemModelSms(QObject* parent) : QAbstractItemModel(parent) {}

QModelIndex ItemModelSms::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    return createIndex(row, column, column == 0 ? rows.at(row) : nullptr);
}

QModelIndex ItemModelSms::parent(const QModelIndex&) const
{
    return QModelIndex();
}

// A flat list: only the invisible root has rows (whatever the column of a child index).
int ItemModelSms::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int ItemModelSms::columnCount(const QModelIndex&) const
{
    return kColumnCount;
}

QVariant ItemModelSms::data(const QModelIndex& index, int role) const
{
    const _MsgMessage* m = messageFromIndex(index);
    if (!m)
        return QVariant();
    const bool sent = m->is_from_me != 0;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return displayData(*m, index.column());
    case Qt::DecorationRole:
        if (index.column() != 0)
            return QVariant();
        return QPixmap(iconPath(*m)).scaledToWidth(kIconWidth);
    case Qt::BackgroundRole:
        return QBrush(sent ? QColor(245, 255, 226) : QColor(255, 255, 255));
    case Qt::SizeHintRole:
        return QSize(0, kRowHeight);
    default:
        return QVariant();
    }
}

QVariant ItemModelSms::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QVariant();
    switch (section) {
    case 0:
        return QStringLiteral("Date");
    case 1:
        return QStringLiteral("Flag");
    case 2:
        return QStringLiteral("Contact");
    case 3:
        return QStringLiteral("Content");
    default:
        return QVariant();
    }
}

void ItemModelSms::setMessages(const QList<_MsgMessage*>& list)
{
    beginResetModel();
    rows = list;
    endResetModel();
}

void ItemModelSms::clear()
{
    setMessages({});
}

QModelIndex ItemModelSms::indexOfRow(int row) const
{
    return index(row, 0);
}

_MsgMessage* ItemModelSms::messageFromIndex(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this || index.row() < 0 || index.row() >= rows.size())
        return nullptr;
    return rows.at(index.row());
}

QVariant ItemModelSms::displayData(const _MsgMessage& m, int column) const
{
    const bool ordinary = m.item_type == 0;
    switch (column) {
    case 0:
        return QLocale::system().toString(storedDateToLocal(m.date), QLocale::ShortFormat);
    case 1:
        if (!ordinary)
            return QString();
        return m.is_from_me != 0 ? QStringLiteral("To") : QStringLiteral("From");
    case 2:
        if (!ordinary)
            return m.chat ? chatTitle(*m.chat, false) : QString();
        return messageChatLabel(m);
    case 3:
        return listText(displayText(m));
    default:
        return QVariant();
    }
}

// Compiled here so the meta-object code links with this class alone.
#include "moc_ItemModelSms.cpp"
