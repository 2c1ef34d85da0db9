#include "ui/dialogs/number_pad_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "commands/split_dialog_logic.h"
#include "resources/ids.h"
#include "ui/qt_support/dialog_font.h"
#include "ui/qt_support/qt_text.h"

namespace {
constexpr int kDigitWidth = 28;
constexpr int kDigitHeight = 24;
constexpr int kSpacing = 3;
}  // namespace

CNumberPadDlg::CNumberPadDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(IdName(ids::kDlgNumberPad));
  setFont(DialogFont());
  setModal(true);

  auto* grid = new QGridLayout(this);
  grid->setSpacing(kSpacing);
  grid->setContentsMargins(6, 6, 6, 6);

  display_ = new QLabel(this);
  display_->setObjectName(IdName(ids::kCtlPadDisplay));
  display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  display_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  display_->setAutoFillBackground(true);
  QPalette white = display_->palette();
  white.setColor(QPalette::Window, Qt::white);
  display_->setPalette(white);
  grid->addWidget(display_, 0, 0, 1, 4);

  auto digit = [this, grid](int d, int row, int column) {
    auto* button = new QPushButton(QString::number(d), this);
    button->setObjectName(IdName(ids::kCtlPadDigit0 + d));
    button->setAutoDefault(false);
    button->setFixedSize(kDigitWidth, kDigitHeight);
    connect(button, &QPushButton::clicked, this, [this, d] {
      PressNumberPadDigit(pad_, d);
      Show();
    });
    grid->addWidget(button, row, column);
  };
  for (int d = 1; d <= 9; ++d) digit(d, 1 + (9 - d) / 3, (d - 1) % 3);
  digit(0, 4, 0);

  auto* clear = new QPushButton(QStringLiteral("Clear"), this);
  clear->setObjectName(IdName(ids::kCtlPadClear));
  clear->setAutoDefault(false);
  connect(clear, &QPushButton::clicked, this, [this] {
    ClearNumberPad(pad_);
    Show();
  });
  // Exactly as wide as the two digit columns it spans: wider, it would push
  // the third column of digits away from the second.
  clear->setFixedSize(2 * kDigitWidth + kSpacing, kDigitHeight);
  grid->addWidget(clear, 4, 1, 1, 2);

  auto* off = new QPushButton(QStringLiteral("OFF"), this);
  off->setObjectName(QStringLiteral("OFF"));
  off->setAutoDefault(false);
  off->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  connect(off, &QPushButton::clicked, this, &QDialog::reject);
  grid->addWidget(off, 1, 3, 2, 1);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OK"));
  ok->setDefault(true);
  ok->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  grid->addWidget(ok, 3, 3, 2, 1);

  Show();
}

void CNumberPadDlg::Show() { display_->setText(Qs(pad_.display)); }
