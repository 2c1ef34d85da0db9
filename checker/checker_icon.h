#pragma once
#include <QIcon>

// TORBLEN's window icon (icon 128): a list sheet with a check mark, drawn
// at the sizes the desktop asks for.
QIcon CheckerIcon();
