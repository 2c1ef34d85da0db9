#pragma once
#include <functional>
#include <optional>

#include <QDialog>

struct CompanionMode;
class QPushButton;

// CAboutDlg (kDlgAbout, "バージョン情報"): the icon, the title with the version
// and the notice line, in the current voice. OK pressed with Ctrl and
// Shift held opens the companion dialog first; modeChanged is called when
// that dialog's OK has changed the mode.
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  CAboutDlg(CompanionMode& mode, std::function<void()> modeChanged, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnOk();

  CompanionMode& mode_;
  std::function<void()> modeChanged_;
  QPushButton* ok_;
  std::optional<Qt::KeyboardModifiers> pressModifiers_;
};
