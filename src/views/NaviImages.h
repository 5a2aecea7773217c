#pragma once

#include <QIcon>

// The pictures of the folder tree and the message lists, by the image indexes that the folder
// rows and list rows carry.
namespace NaviImages {

// 0 received root, 1 folder, 2 folder while selected, 3 sent root.
QIcon treeImage(int imageIndex);
// A tree node's icon: the image, and the selected image while the node is selected.
QIcon treeIcon(int imageIndex, int selectImageIndex);
// 0 unread received, 1 read received, 2 sent (message list), 3 sent (listing's message list).
QIcon listImage(int picture);

} // namespace NaviImages
