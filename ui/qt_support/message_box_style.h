#pragma once
#include <QMessageBox>

#include "ports/messages.h"

// How a message's icon and buttons look as a QMessageBox, the same in Kiv and
// in its companion programs.
QMessageBox::Icon MessageBoxIcon(MsgIcon icon);
QMessageBox::StandardButtons MessageBoxButtons(MsgButtons buttons);

// A box is as wide as its text, and the window manager cuts a longer
// caption in its title bar ("２回以上前へのやり直しの確認" over a short
// question): the box is widened to hold its caption beside the title bar's
// own icon and buttons.
void MakeRoomForCaption(QMessageBox& box);
// The width MakeRoomForCaption gives a box at least.
int CaptionRoom(const QString& caption);
