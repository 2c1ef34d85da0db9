#include "ui/dialogs/sample_edit.h"

#include <algorithm>
#include <cmath>

#include <QEvent>
#include <QTextBlock>
#include <QTextDocument>

CSampleEdit::CSampleEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setBackgroundVisible(false);
  // It is sized to its whole text (sizeHint): nothing to scroll.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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

QSize CSampleEdit::sizeHint() const {
  // The text as the edit lays it out, fonts that fill in for missing
  // characters included; each block's rectangle holds the document's side
  // margins, the last one also the bottom margin.
  double width = 0;
  double height = document()->documentMargin();
  for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
    const QRectF r = blockBoundingRect(block);
    width = std::max(width, r.width());
    height += r.height();
  }
  const int frame = 2 * frameWidth();
  return {static_cast<int>(std::ceil(width)) + frame + cursorWidth() + 1,
          static_cast<int>(std::ceil(height)) + frame + 1};
}

QSize CSampleEdit::minimumSizeHint() const { return sizeHint(); }

void CSampleEdit::changeEvent(QEvent* event) {
  QPlainTextEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) updateGeometry();
}
