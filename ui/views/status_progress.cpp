#include "ui/views/status_progress.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>
#include <cstdio>

#include "resources/ids.h"
#include "ui/qt_support/qt_text.h"
#include "ui/qt_support/window_pump.h"

namespace {
constexpr int kBarRight = 100;
}  // namespace

std::string ProgressLine(int percent, const std::string& action) {
  char number[16];
  std::snprintf(number, sizeof number, " %3u%%", static_cast<unsigned>(percent));
  return std::string(number) + " - " + action + "中...";
}

StatusBarProgress::StatusBarProgress(QStatusBar* statusBar) : statusBar_(statusBar) {
  statusBar_->installEventFilter(this);
}

StatusBarProgress::~StatusBarProgress() { EndProgress(); }

bool StatusBarProgress::eventFilter(QObject* watched, QEvent* event) {
  if (watched == statusBar_ && event->type() == QEvent::Resize && bar_) Place();
  return false;
}

void StatusBarProgress::Place() {
  QRect r = statusBar_->rect();
  r.setTop(r.top() + 4);
  bar_->setGeometry(QRect(QPoint(r.left(), r.top()), QPoint(kBarRight, r.bottom() - 2)));
  text_->setGeometry(QRect(QPoint(kBarRight, r.top()), QPoint(std::max(kBarRight, r.right() - 10), r.bottom())));
}

void StatusBarProgress::BeginProgress() {
  percent_ = 0;
  if (!bar_) {
    bar_ = new QProgressBar(statusBar_);
    bar_->setObjectName(IdName(ids::kCtlProgressBar));
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    text_ = new QLabel(statusBar_);
    text_->setObjectName(IdName(ids::kCtlProgressText));
    text_->setFont(statusBar_->font());
    text_->setAutoFillBackground(true);
    Place();
    bar_->show();
    text_->show();
  }
  bar_->setValue(0);
  text_->setText(Qs(ProgressLine(percent_, action_)));
  statusBar_->repaint();
  PumpWindow();
}

void StatusBarProgress::StepProgress(int percent) {
  if (!bar_) return;
  percent_ = std::clamp(percent, 0, 100);
  bar_->setValue(percent_);
  text_->setText(Qs(ProgressLine(percent_, action_)));
  bar_->repaint();
  text_->repaint();
  PumpWindow();
}

void StatusBarProgress::Pulse() { PumpWindow(); }

void StatusBarProgress::EndProgress() {
  delete bar_;
  delete text_;
  action_.clear();
  percent_ = 0;
}

QString StatusBarProgress::Text() const { return text_ ? text_->text() : QString(); }

int StatusBarProgress::BarValue() const { return bar_ ? bar_->value() : -1; }

bool StatusBarProgress::Shown() const { return !bar_.isNull(); }
