#pragma once
#include <QIcon>

// TORBLEN's window icon (kCheckerIcon): a list sheet with a check mark, drawn
// at the sizes the desktop asks for.
QIcon CheckerIcon();
