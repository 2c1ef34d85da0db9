#include "ui/qt_support/desktop_message_box.h"

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include "messages/scripted_messages.h"
#include "platform/file_error.h"
#include "ui/qt_support/message_box_style.h"

namespace {

// The script of KIV_MESSAGE_ANSWERS: the answers of a ScriptedMessages, each
// box also told on standard error so that the test sees what was asked.
class EnvironmentScript : public MessagePort {
 public:
  EnvironmentScript(const char* words, std::string fileErrorCaption) : fileErrorCaption_(std::move(fileErrorCaption)) {
    for (const QString& w : QString::fromUtf8(words).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      const QString word = w.trimmed().toLower();
      script_.Answer(word == QLatin1String("yes")      ? MsgResult::Yes
                     : word == QLatin1String("no")     ? MsgResult::No
                     : word == QLatin1String("cancel") ? MsgResult::Cancel
                                                       : MsgResult::Ok);
    }
  }

  MsgResult ShowMessage(const Message& message, MsgStyle style) override {
    const QString shown = QString::fromUtf8(message.text).replace(QLatin1Char('\n'), QLatin1String("\\n"));
    std::fprintf(stderr, "MESSAGE\t%s\t%s\n", message.caption.c_str(), shown.toUtf8().constData());
    std::fflush(stderr);
    return script_.ShowMessage(message, style);
  }
  // Told as the box the user would see.
  void ReportFileError(const std::string& file, int err) override {
    MsgStyle style;
    style.icon = MsgIcon::Exclamation;
    ShowMessage(Message{0, plat::FileErrorText(file, err), fileErrorCaption_}, style);
  }

 private:
  std::string fileErrorCaption_;
  ScriptedMessages script_;
};

}  // namespace

DesktopMessageBox::DesktopMessageBox(std::string fileErrorCaption, QWidget* owner)
    : fileErrorCaption_(std::move(fileErrorCaption)), owner_(owner) {}

DesktopMessageBox::~DesktopMessageBox() = default;

void DesktopMessageBox::TakeScriptFromEnvironment() {
  const char* words = std::getenv("KIV_MESSAGE_ANSWERS");
  if (!words) return;
  environmentScript_ = std::make_unique<EnvironmentScript>(words, fileErrorCaption_);
  script_ = environmentScript_.get();
}

QWidget* DesktopMessageBox::Owner(const MsgStyle& style) const {
  if (style.noOwner) return nullptr;
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return owner_;
}

MsgResult DesktopMessageBox::ShowMessage(const Message& message, MsgStyle style) {
  if (script_) return script_->ShowMessage(message, style);
  QMessageBox box(MessageBoxIcon(style.icon), QString::fromUtf8(message.caption), QString::fromUtf8(message.text),
                  MessageBoxButtons(style.buttons), Owner(style));
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

void DesktopMessageBox::ReportFileError(const std::string& file, int err) {
  if (script_) {
    script_->ReportFileError(file, err);
    return;
  }
  MsgStyle style;
  style.icon = MsgIcon::Exclamation;
  ShowMessage(Message{0, plat::FileErrorText(file, err), fileErrorCaption_}, style);
}
