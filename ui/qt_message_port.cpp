#include "ui/qt_message_port.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/file_error.h"
#include "resources/ids.h"
#include "resources/string_table.h"
#include "ui/message_box_style.h"
#include "ui/qt_text.h"

QWidget* QtMessagePort::Owner(const MsgStyle& style) const {
  if (style.noOwner) return nullptr;
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return owner_;
}

MsgResult QtMessagePort::ShowMessage(const std::string& text, const std::string& caption, MsgStyle style) {
  if (script_) return script_->ShowMessage(text, caption, style);
  QMessageBox box(MessageBoxIcon(style.icon), Qs(caption), Qs(text), MessageBoxButtons(style.buttons), Owner(style));
  if (style.buttons == MsgButtons::YesNo || style.buttons == MsgButtons::YesNoCancel) {
    box.setDefaultButton(QMessageBox::Yes);
  }
  MakeRoomForCaption(box);
  switch (box.exec()) {
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Ok: return MsgResult::Ok;
    case QMessageBox::Cancel: return MsgResult::Cancel;
    default: break;
  }
  // Closed by its title bar: the answer that changes nothing.
  return style.buttons == MsgButtons::YesNo ? MsgResult::No
         : style.buttons == MsgButtons::Ok  ? MsgResult::Ok
                                            : MsgResult::Cancel;
}

void QtMessagePort::ReportFileError(const std::string& file, int err) {
  if (script_) {
    script_->ReportFileError(file, err);
    return;
  }
  MsgStyle style;
  style.icon = MsgIcon::Exclamation;
  ShowMessage(plat::FileErrorText(file, err), std::string(KivString(ids::kStrProgramName)), style);
}
