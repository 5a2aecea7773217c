#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QMimeData;

// A message of the message list by its key: auction id, winner id and message number.
struct NaviKey
{
    QString aid;
    QString bidId;
    QString number;
    bool operator==(const NaviKey& other) const = default;
};

// The drag of message rows out of ListViewNavi: a private MIME type holding the rows' keys.
namespace NaviDrag {

inline constexpr const char* mimeType = "application/x-tessaly-navi-rows";

QByteArray encode(const QList<NaviKey>& keys);
QList<NaviKey> decode(const QByteArray& data);
// Whether the data is a drag of message rows.
bool isMessageRows(const QMimeData* data);

} // namespace NaviDrag

// A folder as the drop rule sees it.
struct DropFolder
{
    QString id;
    int kind = -1;
};

// Message rows may be dropped on a folder under the point that is of the same kind as the listed
// folder and is not the listed folder itself. target is null for empty space.
bool naviDropAccepted(const DropFolder* target, const DropFolder& listed);
