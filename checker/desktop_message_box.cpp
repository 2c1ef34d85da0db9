#include "checker/desktop_message_box.h"

#include <cstdio>
#include <cstdlib>
#include <deque>

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include "platform/file_error.h"
#include "ui/message_box_style.h"

namespace {

struct ScriptedAnswers {
  bool active = false;
  std::deque<QString> words;
};

ScriptedAnswers& Script() {
  static ScriptedAnswers script = [] {
    ScriptedAnswers s;
    const char* env = std::getenv("KIV_MESSAGE_ANSWERS");
    if (!env) return s;
    s.active = true;
    for (const QString& w : QString::fromUtf8(env).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      s.words.push_back(w.trimmed().toLower());
    }
    return s;
  }();
  return script;
}

MsgResult FirstButton(MsgButtons buttons) {
  return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::Yes
                                                                            : MsgResult::Ok;
}

MsgResult ScriptedAnswer(const std::string& text, const std::string& caption, MsgStyle style) {
  QString shown = QString::fromUtf8(text).replace(QLatin1Char('\n'), QLatin1String("\\n"));
  std::fprintf(stderr, "MESSAGE\t%s\t%s\n", caption.c_str(), shown.toUtf8().constData());
  std::fflush(stderr);
  ScriptedAnswers& s = Script();
  if (s.words.empty()) return FirstButton(style.buttons);
  QString w = s.words.front();
  s.words.pop_front();
  if (w == QLatin1String("yes")) return MsgResult::Yes;
  if (w == QLatin1String("no")) return MsgResult::No;
  if (w == QLatin1String("cancel")) return MsgResult::Cancel;
  return MsgResult::Ok;
}

}  // namespace

MsgResult DesktopMessageBox::ShowMessage(const std::string& text, const std::string& caption,
                                         MsgStyle style) {
  if (Script().active) return ScriptedAnswer(text, caption, style);
  QMessageBox box(MessageBoxIcon(style.icon), QString::fromUtf8(caption), QString::fromUtf8(text),
                  MessageBoxButtons(style.buttons), style.noOwner ? nullptr : owner_);
  MakeRoomForCaption(box);
  switch (box.exec()) {
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Ok: return MsgResult::Ok;
    default: break;
  }
  // Closed without a button: the answer that changes nothing.
  return style.buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel;
}

void DesktopMessageBox::ReportFileError(const std::string& file, int err) {
  MsgStyle style;
  style.icon = MsgIcon::Exclamation;
  ShowMessage(plat::FileErrorText(file, err), QCoreApplication::applicationName().toStdString(), style);
}
