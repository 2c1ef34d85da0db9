// kiv-responsiveness SHARED_LOG_FOLDER FORUM ANALYSED_LOG SPLIT_LOG: how the
// main window keeps up while a command works on large logs. Kiv's commands
// run on the user-interface thread and pump the window as they go; this
// program analyses ANALYSED_LOG and then splits SPLIT_LOG (single room, at
// half its range) through the real window, resizing it every 100 ms, and
// prints per command the longest gap between two repaints of the window and
// between two moves of the progress display. Settings are kept in a
// temporary file; message boxes are answered Yes. Run by
// bench/responsiveness.sh on generated logs.
#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidgetItem>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <cstdio>
#include <string>

#include "messages/scripted_messages.h"
#include "model/directory.h"
#include "model/kiv_doc.h"
#include "ports/clock.h"
#include "profile/qsettings_profile.h"
#include "resources/ids.h"
#include "ui/app/kiv_app.h"
#include "ui/qt_support/modal_run.h"
#include "ui/qt_support/qt_text.h"
#include "ui/views/kiv_list_view.h"
#include "ui/views/kiv_tree_view.h"
#include "ui/views/main_frame.h"
#include "ui/views/status_progress.h"

namespace {

// Records, while armed, the moments the window repaints and the moments the
// progress display shows a new line.
class Gaps : public QObject {
 public:
  void Arm() {
    start_ = Now();
    lastPaint_ = lastMove_ = 0;
    longestPaintGap_ = longestMoveGap_ = longestResizeWait_ = 0;
    askedAt_ = -1;
    lastText_.clear();
    armed_ = true;
  }
  void Disarm() { armed_ = false; }
  // The window system asks for a resize (from another thread, as the
  // window system's input arrives whatever the program is doing): the first
  // repaint after it answers it.
  void ResizeAsked() {
    qint64 none = -1;
    askedAt_.compare_exchange_strong(none, Now() - start_);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!armed_ || event->type() != QEvent::Paint) return false;
    const qint64 now = Now() - start_;
    longestPaintGap_ = std::max(longestPaintGap_, now - lastPaint_);
    lastPaint_ = now;
    const qint64 asked = askedAt_.exchange(-1);
    if (asked >= 0) longestResizeWait_ = std::max(longestResizeWait_, now - asked);
    if (auto* label = qobject_cast<QLabel*>(watched);
        label && label->objectName() == IdName(ids::kCtlProgressText) && label->text() != lastText_) {
      longestMoveGap_ = std::max(longestMoveGap_, now - lastMove_);
      lastMove_ = now;
      lastText_ = label->text();
    }
    return false;
  }

  void Print(const char* what, const QString& file, qint64 bytes) const {
    const qint64 total = Now() - start_;
    std::printf(
        "%s of %s (%.2f GiB, %.1f s): longest wait from a resize to its repaint %lld ms, "
        "between repaints %lld ms, between progress moves %lld ms\n",
        what, qPrintable(file), static_cast<double>(bytes) / (1 << 30), static_cast<double>(total) / 1000,
        static_cast<long long>(longestResizeWait_),
        static_cast<long long>(std::max(longestPaintGap_, total - lastPaint_)),
        static_cast<long long>(longestMoveGap_));
  }

 private:
  static qint64 Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }

  qint64 start_ = 0;
  std::atomic<bool> armed_{false};
  std::atomic<qint64> askedAt_{-1};
  qint64 lastPaint_ = 0, lastMove_ = 0, longestPaintGap_ = 0, longestMoveGap_ = 0;
  qint64 longestResizeWait_ = 0;
  QString lastText_;
};

int RowOf(CKivListView& list, const QString& name) {
  for (int i = 0; i < list.topLevelItemCount(); ++i) {
    if (list.topLevelItem(i)->text(0) == name) return i;
  }
  return -1;
}

bool SelectOnly(CKivListView& list, const QString& name) {
  const int row = RowOf(list, name);
  list.OnSelectNone();
  if (row < 0) return false;
  list.topLevelItem(row)->setSelected(true);
  return true;
}

qint64 SizeOf(const std::string& forum, const QString& name) {
  return QFileInfo(QString::fromStdString(forum) + QLatin1Char('/') + name).size();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  if (argc != 5) {
    std::fprintf(stderr, "usage: kiv-responsiveness SHARED_LOG_FOLDER FORUM ANALYSED_LOG SPLIT_LOG\n");
    return 2;
  }
  const QString forumName = QString::fromLocal8Bit(argv[2]);
  const QString analysed = QString::fromLocal8Bit(argv[3]);
  const QString split = QString::fromLocal8Bit(argv[4]);
  QTemporaryDir settingsDir;
  QSettingsProfile profile(settingsDir.filePath(QStringLiteral("Tallowick.ini")).toStdString());
  SystemClock clock;
  StartOptions options;
  options.logFolder = argv[1];
  CKivApp app(profile, clock, options);
  ScriptedMessages answers;
  app.messages().SetScript(&answers);

  CMainFrame frame(app);
  frame.ShowFirstTime();
  QTreeWidgetItem* item = frame.tree()->FindItem(forumName);
  if (!item) {
    std::fprintf(stderr, "kiv-responsiveness: no forum folder %s in the tree\n", qPrintable(forumName));
    return 1;
  }
  frame.tree()->setCurrentItem(item);
  CKivListView& list = *frame.list();
  const std::string forum = app.doc().CurrentFolder()->path;
  if (!SelectOnly(list, analysed) || RowOf(list, split) < 0) {
    std::fprintf(stderr, "kiv-responsiveness: %s or %s is not in the forum's list\n", qPrintable(analysed),
                 qPrintable(split));
    return 1;
  }

  Gaps gaps;
  qtApp.installEventFilter(&gaps);
  // The user widening and narrowing the window all along: asked every 100 ms
  // from outside, carried out when the window next takes its events.
  const QSize base = frame.size();
  std::atomic<bool> resizing{true};
  std::thread user([&] {
    for (int n = 0; resizing; ++n) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      gaps.ResizeAsked();
      QMetaObject::invokeMethod(
          &frame, [&frame, base, n] { frame.resize(base + QSize(n % 2 ? 60 : 0, 0)); }, Qt::QueuedConnection);
    }
  });

  gaps.Arm();
  list.OnAnalyze();
  gaps.Disarm();
  gaps.Print("analysis", analysed, SizeOf(forum, analysed));

  // The split of the other log (its room's analysis first), at half its range.
  list.OnSelectAll();
  list.OnAnalyze();
  SelectOnly(list, split);
  QueueModalAction([](QDialog& d) {
    auto* number = d.findChild<QLineEdit*>(IdName(ids::kCtlSingleNumber));
    if (number) number->setText(QString::number(number->text().toInt() / 2));
    if (auto* ok = d.findChild<QPushButton*>(QStringLiteral("OK"))) ok->click();
  });
  const qint64 splitSize = SizeOf(forum, split);
  gaps.Arm();
  list.OnSplit();
  gaps.Disarm();
  gaps.Print("split", split, splitSize);
  resizing = false;
  user.join();
  frame.close();
  app.Exit();
  return 0;
}
