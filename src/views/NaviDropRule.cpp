#include "views/NaviDropRule.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

namespace NaviDrag {

QByteArray encode(const QList<NaviKey>& keys)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << qint32(keys.size());
    for (const NaviKey& key : keys)
        out << key.aid << key.bidId << key.number;
    return data;
}

QList<NaviKey> decode(const QByteArray& data)
{
    QDataStream in(data);
    qint32 count = 0;
    in >> count;
    QList<NaviKey> keys;
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        NaviKey key;
        in >> key.aid >> key.bidId >> key.number;
        if (in.status() != QDataStream::Ok)
            break;
        keys.append(key);
    }
    return keys;
}

bool isMessageRows(const QMimeData* data)
{
    return data && data->hasFormat(QString::fromLatin1(mimeType));
}

} // namespace NaviDrag

bool naviDropAccepted(const DropFolder* target, const DropFolder& listed)
{
    return target && !target->id.isEmpty() && target->kind == listed.kind &&
           target->id != listed.id;
}
