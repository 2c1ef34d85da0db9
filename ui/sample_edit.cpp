#include "ui/sample_edit.h"

CSampleEdit::CSampleEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setBackgroundVisible(false);
}

void CSampleEdit::SetColors(const QColor& text, const QColor& back) {
  text_ = text;
  back_ = back;
  QPalette p = palette();
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Base, back);
  p.setColor(QPalette::Window, back);
  setPalette(p);
  viewport()->setAutoFillBackground(true);
  viewport()->update();
}
