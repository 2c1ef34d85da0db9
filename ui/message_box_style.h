#pragma once
#include <QMessageBox>

#include "ports/messages.h"

// How a message's icon and buttons look as a QMessageBox, the same in Kiv and
// in its companion programs.
QMessageBox::Icon MessageBoxIcon(MsgIcon icon);
QMessageBox::StandardButtons MessageBoxButtons(MsgButtons buttons);
