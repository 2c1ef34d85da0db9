#pragma once
#include <QFont>

// The font of the dialogs and panes: IPAPGothic 9 pt (made to the metrics
// of the Japanese desktop font the dialogs were laid out for), else the
// desktop's CJK sans font.
QFont DialogFont();
