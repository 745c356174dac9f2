#pragma once
// The toolbar's pictures (the image list ImgList1): 64 x 32 pixels each,
// drawn for this tool. Index: 0 search devices, 1 open with browser,
// 2 capture image, 3 ping, 4 reboot, 5 start server, 6 stop server,
// 7 setup IP address, 8 search one specific device.

#include <QList>
#include <QPixmap>

inline constexpr int ToolbarPictureWidth = 64;
inline constexpr int ToolbarPictureHeight = 32;
inline constexpr int ToolbarPictureCount = 9;

QList<QPixmap> ToolbarPictures();
