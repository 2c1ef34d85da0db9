#include "checker/progress_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>

#include "checker/checker_icon.h"
#include "resources/ids.h"

namespace {

// The dialog font: a Japanese UI font made to the metrics of the one the
// window was laid out for, else the desktop's own CJK sans.
QFont DialogFont() {
  QFont font(QStringLiteral("IPAPGothic"), 9);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace

ProgressWindow::ProgressWindow()
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QString::number(ids::kCheckerProgressDialog));
  setWindowTitle(QStringLiteral("ゾルベン"));
  setWindowIcon(CheckerIcon());
  setFont(DialogFont());

  auto* fixedText = new QLabel(QStringLiteral("書庫リストファイルの検証を行っています..."), this);
  folderLine_ = new QLabel(this);
  folderLine_->setObjectName(QString::number(ids::kCheckerFolderLine));
  folderLine_->setAlignment(Qt::AlignCenter);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fixedText);
  layout->addWidget(folderLine_);

  // 186 x 81 dialog units: a unit is a quarter of the font's average
  // character width across and an eighth of its height down.
  QFontMetrics metrics(font());
  setFixedSize(186 * metrics.averageCharWidth() / 4, 81 * metrics.height() / 8);
}

void ProgressWindow::ShowProgress() {
  busy_ = true;
  show();
  // The window appears before the walk holds the one thread.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::CloseProgress() {
  busy_ = false;
  close();
}

void ProgressWindow::EnteringFolder(const std::string& name) {
  folderLine_->setText(QFile::decodeName(QByteArray::fromStdString(name)));
  folderLine_->repaint();
  // Keep the window painted (exposed, moved, uncovered) without letting
  // the user's input act in the middle of the walk.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}
