// kiv-draw-icons OUTDIR: draws Kiv's own pictures (16 x 16, transparent) as
// PNG files; the ones in ui/icons were made by it and are built into Kiv.
// kiv-draw-icons --app-icon SIZE FILE: draws the program's picture at
// SIZE x SIZE for the desktop's icon theme (the build runs this).
#include <cstdio>
#include <functional>
#include <map>
#include <string_view>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "ui/icons/icon_names.h"

namespace {

using Draw = std::function<void(QPainter&)>;

const QColor kInk(40, 40, 48);
const QColor kPaper(255, 255, 250);
const QColor kLine(70, 110, 200);
const QColor kTitleLine(210, 90, 40);
const QColor kFolder(236, 196, 80);
const QColor kFolderDark(170, 130, 30);
const QColor kGreen(40, 150, 60);
const QColor kRed(200, 40, 40);
const QColor kSelection(60, 110, 210);

void Page(QPainter& p, const QColor& lines) {
  p.setPen(kInk);
  p.setBrush(kPaper);
  QPolygon page;
  page << QPoint(2, 1) << QPoint(10, 1) << QPoint(13, 4) << QPoint(13, 14) << QPoint(2, 14);
  p.drawPolygon(page);
  p.drawLine(10, 1, 10, 4);
  p.drawLine(10, 4, 13, 4);
  p.setPen(lines);
  for (int y = 6; y <= 12; y += 2) p.drawLine(4, y, y == 12 ? 8 : 11, y);
}

void TitlePage(QPainter& p) {
  Page(p, QColor(0, 0, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(kTitleLine);
  for (int y = 5; y <= 11; y += 3) p.drawRect(4, y, 7, 1);
}

// The mark of a log with splits to take back: a small green turn arrow.
void UndoBadge(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255));
  p.drawEllipse(QRect(8, 8, 8, 8));
  QPen pen(kGreen, 1.6);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(9.5, 9.5, 5, 5), 90 * 16, 270 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  QPolygonF head;
  head << QPointF(12, 8.2) << QPointF(14.6, 10) << QPointF(12, 11.8);
  p.drawPolygon(head);
}

void Folder(QPainter& p, bool open) {
  p.setPen(kFolderDark);
  p.setBrush(kFolder.darker(110));
  p.drawRect(1, 4, 13, 9);
  p.drawRect(1, 2, 5, 2);
  p.setBrush(kFolder);
  if (open) {
    QPolygon front;
    front << QPoint(3, 7) << QPoint(15, 7) << QPoint(13, 13) << QPoint(1, 13);
    p.drawPolygon(front);
  } else {
    p.drawRect(1, 5, 13, 8);
  }
}

void Rows(QPainter& p, const bool selected[3], bool question) {
  for (int i = 0; i < 3; ++i) {
    const int y = 2 + i * 5;
    p.setPen(kInk);
    p.setBrush(selected[i] ? kSelection : kPaper);
    p.drawRect(1, y, 13, 3);
  }
  if (question) {
    QFont f = p.font();
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kRed);
    p.drawText(QRect(8, 5, 8, 11), Qt::AlignCenter, QStringLiteral("?"));
  }
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
  QPen pen(color, 2);
  p.setPen(pen);
  p.drawLine(from, to);
  QLineF line(to, from);
  QLineF a = line;
  a.setLength(4);
  a.setAngle(line.angle() + 35);
  QLineF b = line;
  b.setLength(4);
  b.setAngle(line.angle() - 35);
  p.drawLine(a);
  p.drawLine(b);
}

std::map<int, Draw> Drawings() {
  std::map<int, Draw> d;
  d[ids::kIconProgram] = [](QPainter& p) {  // the program: a log cut in two
    p.setPen(kInk);
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(1, 1, 13, 13);
    p.setPen(QColor(255, 255, 255));
    for (int y = 3; y <= 12; y += 3) p.drawLine(3, y, 12, y);
    QPen cut(kRed, 2, Qt::DashLine);
    p.setPen(cut);
    p.drawLine(0, 8, 15, 8);
  };
  d[ids::kIconCompanion] = [](QPainter& p) {  // the companion: a round, smiling face
    p.setPen(QColor(180, 60, 110));
    p.setBrush(QColor(255, 200, 220));
    p.drawEllipse(QRect(1, 1, 14, 14));
    p.setPen(kInk);
    p.drawPoint(5, 6);
    p.drawPoint(10, 6);
    p.drawArc(QRect(4, 6, 8, 6), 200 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 60, 120));
    p.drawEllipse(QRect(11, 0, 4, 4));
  };
  d[ids::kIconFolderSelected] = [](QPainter& p) { Folder(p, true); };
  d[ids::kIconFolder] = [](QPainter& p) { Folder(p, false); };
  d[ids::kIconBody] = [](QPainter& p) { Page(p, kLine); };
  d[ids::kIconBodyUndo] = [](QPainter& p) {
    Page(p, kLine);
    UndoBadge(p);
  };
  d[ids::kIconTitle] = [](QPainter& p) { TitlePage(p); };
  d[ids::kIconTitleUndo] = [](QPainter& p) {
    TitlePage(p);
    UndoBadge(p);
  };
  d[ids::kCmdAnalyze] = [](QPainter& p) {  // analyse: a glass over the page
    Page(p, kLine);
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(200, 230, 255, 200));
    p.drawEllipse(QRectF(6, 6, 6, 6));
    p.setPen(QPen(kInk, 2.2));
    p.drawLine(QPointF(11.5, 11.5), QPointF(15, 15));
  };
  d[ids::kCmdSplit] = [](QPainter& p) {  // split: the page cut across
    Page(p, kLine);
    QPen cut(kRed, 2, Qt::DashLine);
    p.setPen(cut);
    p.drawLine(0, 9, 15, 9);
  };
  d[ids::kCmdUndo] = [](QPainter& p) {  // undo: back along a curve
    QPen pen(kGreen, 2.2);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(4, 6);
    path.cubicTo(10, 2, 16, 8, 10, 14);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    QPolygonF head;
    head << QPointF(1, 6) << QPointF(6.5, 2) << QPointF(6.5, 10);
    p.drawPolygon(head);
  };
  d[ids::kCmdSelectAll] = [](QPainter& p) {
    const bool s[3] = {true, true, true};
    Rows(p, s, false);
  };
  d[ids::kCmdSelectInvert] = [](QPainter& p) {
    const bool s[3] = {true, false, true};
    Rows(p, s, false);
    Arrow(p, QPointF(15, 12), QPointF(15, 4), kRed);
  };
  d[ids::kCmdSelectUnanalyzed] = [](QPainter& p) {
    const bool s[3] = {false, true, false};
    Rows(p, s, true);
  };
  d[ids::kCmdSelectNone] = [](QPainter& p) {
    const bool s[3] = {false, false, false};
    Rows(p, s, false);
  };
  d[ids::kCmdExportHeaders] = [](QPainter& p) {  // export: headers out to the archive list
    Page(p, kTitleLine);
    Arrow(p, QPointF(6, 9), QPointF(15, 9), kGreen);
  };
  d[ids::kCmdExternalLaunch] = [](QPainter& p) {  // external launch: a window and an arrow out of it
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(1, 4, 10, 10);
    p.setBrush(kSelection);
    p.drawRect(1, 4, 10, 2);
    Arrow(p, QPointF(6, 10), QPointF(14, 2), kRed);
  };
  d[ids::kCmdAbout] = [](QPainter& p) {  // about: the information mark
    p.setPen(QColor(30, 60, 150));
    p.setBrush(QColor(70, 120, 220));
    p.drawEllipse(QRect(1, 1, 14, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(7, 7, 2, 6);
    p.drawRect(7, 3, 2, 2);
  };
  d[ids::kCmdContextHelp] = [](QPainter& p) {  // context help: the pointer and a question mark
    p.setPen(kInk);
    p.setBrush(Qt::white);
    QPolygon pointer;
    pointer << QPoint(1, 1) << QPoint(1, 12) << QPoint(4, 9) << QPoint(6, 14) << QPoint(8, 13) << QPoint(6, 8)
            << QPoint(9, 8);
    p.drawPolygon(pointer);
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(30, 60, 150));
    p.drawText(QRect(8, 0, 8, 12), Qt::AlignCenter, QStringLiteral("?"));
  };
  return d;
}

// The drawing of id on a square of size pixels: the drawings are made on a
// 16 x 16 grid, and larger sizes scale the grid, lines and all.
QImage Picture(const Draw& draw, int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.scale(size / 16.0, size / 16.0);
  draw(painter);
  painter.end();
  return image;
}

bool Save(const QImage& image, const QString& path) {
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "kiv-draw-icons: can't write %s\n", path.toLocal8Bit().constData());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const std::map<int, Draw> drawings = Drawings();
  if (argc == 4 && std::string_view(argv[1]) == "--app-icon") {
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&ok);
    if (!ok || size < 16 || size > 1024) {
      std::fprintf(stderr, "kiv-draw-icons: size %s is not 16 to 1024\n", argv[2]);
      return 2;
    }
    return Save(Picture(drawings.at(ids::kIconProgram), size), QString::fromLocal8Bit(argv[3])) ? 0 : 1;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: kiv-draw-icons OUTDIR\n       kiv-draw-icons --app-icon SIZE FILE\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  for (int id : kDrawnIconIds) {
    if (!Save(Picture(drawings.at(id), 16), out.filePath(QString::fromLatin1(IconFileName(id))))) return 1;
  }
  return 0;
}
