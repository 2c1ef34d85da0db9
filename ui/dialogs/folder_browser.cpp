#include "ui/dialogs/folder_browser.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include "ui/qt_support/modal_run.h"

std::optional<QString> BrowseSharedFolder(QWidget* owner, const QString& title) {
  QFileDialog dialog(owner, title, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
  dialog.setObjectName(QStringLiteral("FolderBrowser"));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dialog.selectedFiles().front());
}

std::optional<QString> ChooseExternalProgram(QWidget* owner) {
  QFileDialog dialog(owner, QStringLiteral("外部プログラムの選択"));
  dialog.setObjectName(QStringLiteral("ProgramChooser"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  const QString programs = QStringLiteral("実行ファイル(*.exe,*.com) (*.EXE *.COM *.exe *.com)");
#ifdef Q_OS_WIN
  dialog.setNameFilter(programs);
#else
  // Programs here carry no extension: every file is offered, and shown first.
  const QString allFiles = QStringLiteral("すべてのファイル (*)");
  dialog.setNameFilters({programs, allFiles});
  dialog.selectNameFilter(allFiles);
#endif
  if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dialog.selectedFiles().front());
}
