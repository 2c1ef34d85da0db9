#pragma once
#include <QPlainTextEdit>

// CSampleEdit: a read-only, multi-line sample that paints itself in its
// own text and background colours, the whole area and not only behind the
// text. It asks for room for its whole text in its font, also after the
// font is changed.
class CSampleEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit CSampleEdit(QWidget* parent = nullptr);
  void SetColors(const QColor& text, const QColor& back);
  QColor textColor() const { return text_; }
  QColor backColor() const { return back_; }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  QColor text_;
  QColor back_;
};
