#include "ui/views/status_progress.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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
  const int buttonWidth = stopButton_->sizeHint().width();
  stopButton_->setGeometry(QRect(QPoint(r.right() - buttonWidth, r.top() + 1), QPoint(r.right(), r.bottom())));
  r.setTop(r.top() + 4);
  bar_->setGeometry(QRect(QPoint(r.left(), r.top()), QPoint(kBarRight, r.bottom() - 2)));
  const int textRight = std::max(kBarRight, r.right() - 10 - buttonWidth);
  text_->setGeometry(QRect(QPoint(kBarRight, r.top()), QPoint(textRight, r.bottom())));
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
    stopButton_ = new QPushButton(QStringLiteral("中止"), statusBar_);
    stopButton_->setObjectName(IdName(ids::kCtlStopButton));
    stopButton_->setFocusPolicy(Qt::NoFocus);
    QObject::connect(stopButton_, &QPushButton::clicked, statusBar_, [this] {
      stopButton_->setEnabled(false);
      if (stop_) stop_();
    });
    Place();
    bar_->show();
    text_->show();
    stopButton_->show();
  }
  bar_->setValue(0);
  text_->setText(Qs(ProgressLine(percent_, action_)));
  statusBar_->repaint();
  PumpWindow();
}

void StatusBarProgress::StepProgress(int percent) {
  if (!bar_) return;
  // Pulses may have moved it on already: it never goes back.
  percent_ = std::max(percent_, std::clamp(percent, 0, 100));
  bar_->setValue(percent_);
  text_->setText(Qs(ProgressLine(percent_, action_)));
  bar_->repaint();
  text_->repaint();
  PumpWindow();
}

void StatusBarProgress::Pulse(int permille) {
  if (bar_ && permille / 10 > percent_ && permille / 10 < 100) {
    percent_ = permille / 10;
    bar_->setValue(percent_);
    text_->setText(Qs(ProgressLine(percent_, action_)));
    bar_->repaint();
    text_->repaint();
  }
  PumpWindow();
}

void StatusBarProgress::EndProgress() {
  delete bar_;
  delete text_;
  delete stopButton_;
  action_.clear();
  percent_ = 0;
}

QPushButton* StatusBarProgress::StopButton() const { return stopButton_; }

QString StatusBarProgress::Text() const { return text_ ? text_->text() : QString(); }

int StatusBarProgress::BarValue() const { return bar_ ? bar_->value() : -1; }

bool StatusBarProgress::Shown() const { return !bar_.isNull(); }
