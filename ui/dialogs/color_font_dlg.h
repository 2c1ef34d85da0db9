#pragma once
#include <string>

#include <QColor>
#include <QDialog>
#include <QFont>

class CSampleEdit;

// The body of both samples: six lines of digits, letters and kana in their
// narrow and wide forms, joined by CR LF.
std::string ColorFontSampleBody();

// CColorFontDlg (kDlgColorFont, "色・フォントの設定"): the tree's and the list's fonts
// and the list's colours, each shown at once in a sample. The dialog works
// on copies; the caller takes them back on OK. The tree's colours are
// fixed, so its colour buttons are always disabled.
class CColorFontDlg : public QDialog {
  Q_OBJECT

 public:
  CColorFontDlg(const QFont& treeFont, const QFont& listFont, const QColor& listText, const QColor& listBack,
                QWidget* parent = nullptr);

  const QFont& treeFont() const { return treeFont_; }
  const QFont& listFont() const { return listFont_; }
  const QColor& listText() const { return listText_; }
  const QColor& listBack() const { return listBack_; }

 private:
  void ChooseFont(CSampleEdit* sample, QFont& font);
  void ChooseColor(QColor& color);

  CSampleEdit* treeSample_;
  CSampleEdit* listSample_;
  QFont treeFont_;
  QFont listFont_;
  QColor listText_;
  QColor listBack_;
};
