#include "ui/qt_support/message_box_style.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

QMessageBox::Icon MessageBoxIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Stop: return QMessageBox::Critical;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons MessageBoxButtons(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::Ok: break;
  }
  return QMessageBox::Ok;
}

namespace {
// The title bar's icon and its three buttons, with the bar's margins.
constexpr int kTitleBarFurniture = 4 * 28 + 24;
}  // namespace

int CaptionRoom(const QString& caption) {
  QFont titleFont = QApplication::font();
  titleFont.setBold(true);  // the usual title bar's font
  return QFontMetrics(titleFont).horizontalAdvance(caption) + kTitleBarFurniture;
}

void MakeRoomForCaption(QMessageBox& box) {
  // QMessageBox sizes itself to its text and ignores a minimum width; a
  // spacer across its grid holds it open.
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid) return;
  grid->addItem(new QSpacerItem(CaptionRoom(box.windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                grid->rowCount(), 0, 1, grid->columnCount());
}
