#pragma once
#include <QIcon>
#include <QPixmap>

// The pictures Kiv draws for itself (ui/icons, made by kiv-draw-icons),
// by the resource id they stand for.
QPixmap KivPixmap(int resourceId);
QIcon KivIcon(int resourceId);
