// Draws the program's icons as PNG files into the folder given as the first
// argument: 16-pixel list images of the six node kinds and 32-pixel command
// icons. Run it by hand after changing a drawing:
//   cmake --build BUILD --target gridmoor_draw_icons && BUILD/app/gridmoor_draw_icons app/icons
// With --hicolor FOLDER it draws the program's icon at the sizes of the
// desktop's hicolor theme instead (FOLDER/NxN/apps/gridmoorpro.png); the
// build does that for installing.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QColor kInk(0x33, 0x3d, 0x4a);
const QColor kBlue(0x2f, 0x6f, 0xc0);
const QColor kGreen(0x3a, 0x9a, 0x4a);
const QColor kRed(0xc8, 0x3a, 0x32);
const QColor kOrange(0xe8, 0x9a, 0x2a);
const QColor kPaper(0xfb, 0xfb, 0xf6);
const QColor kYellow(0xf2, 0xc9, 0x4c);

struct Icon {
  const char* name;
  int size;
  std::function<void(QPainter&)> draw;  // draws in a 32 x 32 (or 16 x 16) space
};

QPen Pen(const QColor& c, double w) { return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// A sheet of paper with a folded corner.
void Sheet(QPainter& p, const QRectF& r) {
  QPainterPath path;
  const double fold = r.width() * 0.3;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - fold, r.top());
  path.lineTo(r.right(), r.top() + fold);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(Pen(kInk, 1.2));
  p.setBrush(kPaper);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
  p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void Folder(QPainter& p, const QColor& c) {
  QPainterPath path;
  path.moveTo(3, 8);
  path.lineTo(12, 8);
  path.lineTo(15, 11);
  path.lineTo(29, 11);
  path.lineTo(29, 27);
  path.lineTo(3, 27);
  path.closeSubpath();
  p.setPen(Pen(kInk, 1.2));
  p.setBrush(c);
  p.drawPath(path);
}

void Plus(QPainter& p, QPointF c, double r, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(c, r, r);
  p.setPen(Pen(Qt::white, 2));
  p.drawLine(QPointF(c.x() - r / 2, c.y()), QPointF(c.x() + r / 2, c.y()));
  p.drawLine(QPointF(c.x(), c.y() - r / 2), QPointF(c.x(), c.y() + r / 2));
}

void Letter(QPainter& p, const QRectF& r, const QString& text, const QColor& c, int pixelSize, bool bold = true) {
  QFont f;
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  p.setFont(f);
  p.setPen(c);
  p.drawText(r, Qt::AlignCenter, text);
}

void Rows(QPainter& p, double x, double y, int n, double w, const QColor& c) {
  p.setPen(Pen(c, 2));
  for (int i = 0; i < n; ++i) p.drawLine(QPointF(x, y + i * 5), QPointF(x + w, y + i * 5));
}

void Checks(QPainter& p, bool ticked) {
  for (int i = 0; i < 3; ++i) {
    const double y = 6 + i * 8;
    p.setPen(Pen(kInk, 1.2));
    p.setBrush(ticked ? kBlue : kPaper);
    p.drawRect(QRectF(4, y, 6, 6));
    if (ticked) {
      p.setPen(Pen(Qt::white, 1.4));
      p.drawLine(QPointF(5, y + 3), QPointF(7, y + 5));
      p.drawLine(QPointF(7, y + 5), QPointF(9.5, y + 1));
    }
    p.setPen(Pen(kInk, 2));
    p.drawLine(QPointF(14, y + 3), QPointF(28, y + 3));
  }
}

void Gear(QPainter& p, QPointF c, double r) {
  p.setPen(Pen(kInk, 1.2));
  p.setBrush(QColor(0x9a, 0xa6, 0xb2));
  QPainterPath path;
  const int teeth = 8;
  for (int i = 0; i < teeth * 2; ++i) {
    const double a = i * M_PI / teeth;
    const double rr = (i % 2 == 0) ? r : r * 0.75;
    const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
    if (i == 0) path.moveTo(pt); else path.lineTo(pt);
  }
  path.closeSubpath();
  p.drawPath(path);
  p.setBrush(kPaper);
  p.drawEllipse(c, r * 0.3, r * 0.3);
}

std::vector<Icon> Icons() {
  return {
      // Node kinds, 16 pixels.
      {"kind-project", 16, [](QPainter& p) {
         p.setPen(Pen(kInk, 1));
         p.setBrush(kYellow);
         p.drawRect(QRectF(1.5, 3.5, 13, 10));
         p.setBrush(kPaper);
         p.drawRect(QRectF(3.5, 1.5, 9, 4));
         p.setPen(Pen(kBlue, 1.5));
         p.drawLine(QPointF(4, 8), QPointF(12, 8));
         p.drawLine(QPointF(4, 11), QPointF(10, 11));
       }},
      {"kind-point", 16, [](QPainter& p) {
         p.setPen(Qt::NoPen);
         p.setBrush(kRed);
         p.drawEllipse(QPointF(4, 11), 2.2, 2.2);
         p.drawEllipse(QPointF(11, 5), 2.2, 2.2);
         p.drawEllipse(QPointF(12, 12), 2.2, 2.2);
       }},
      {"kind-line", 16, [](QPainter& p) {
         p.setPen(Pen(kBlue, 2));
         p.setBrush(Qt::NoBrush);
         QPolygonF line;
         line << QPointF(1.5, 13) << QPointF(5, 5) << QPointF(10, 10) << QPointF(14.5, 2.5);
         p.drawPolyline(line);
       }},
      {"kind-polygon", 16, [](QPainter& p) {
         p.setPen(Pen(QColor(0x2a, 0x70, 0x36), 1.2));
         p.setBrush(QColor(0x8f, 0xd1, 0x8a));
         QPolygonF poly;
         poly << QPointF(2, 4) << QPointF(10, 1.5) << QPointF(14.5, 8) << QPointF(11, 14.5) << QPointF(3, 12.5);
         p.drawPolygon(poly);
       }},
      {"kind-table", 16, [](QPainter& p) {
         p.setPen(Pen(kInk, 1));
         p.setBrush(kPaper);
         p.drawRect(QRectF(1.5, 2.5, 13, 11));
         p.fillRect(QRectF(2, 3, 12, 3), kBlue);
         p.drawLine(QPointF(1.5, 9.5), QPointF(14.5, 9.5));
         p.drawLine(QPointF(6.5, 6), QPointF(6.5, 13.5));
       }},
      {"kind-network", 16, [](QPainter& p) {
         p.setPen(Pen(kOrange, 1.5));
         p.drawLine(QPointF(3, 3), QPointF(8, 8));
         p.drawLine(QPointF(13, 3), QPointF(8, 8));
         p.drawLine(QPointF(8, 8), QPointF(8, 14));
         p.drawLine(QPointF(3, 3), QPointF(13, 3));
         p.setPen(Pen(kInk, 1));
         p.setBrush(kPaper);
         for (QPointF c : {QPointF(3, 3), QPointF(13, 3), QPointF(8, 8), QPointF(8, 13.5)}) p.drawEllipse(c, 2, 2);
       }},

      // Commands, 32 pixels.
      {"folder", 32, [](QPainter& p) {
         Folder(p, kYellow);
         p.setPen(Pen(kInk, 2));
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QPointF(19, 19), 5, 5);
         p.drawLine(QPointF(23, 23), QPointF(28, 28));
       }},
      {"open", 32, [](QPainter& p) {
         Sheet(p, QRectF(5, 3, 18, 24));
         Rows(p, 8, 12, 3, 11, kBlue);
         Plus(p, QPointF(24, 24), 6.5, kGreen);
       }},
      {"quick", 32, [](QPainter& p) {
         QPolygonF bolt;
         bolt << QPointF(18, 2) << QPointF(7, 18) << QPointF(15, 18) << QPointF(12, 30) << QPointF(25, 12)
              << QPointF(17, 12) << QPointF(21, 2);
         p.setPen(Pen(QColor(0x9a, 0x60, 0x10), 1.2));
         p.setBrush(kYellow);
         p.drawPolygon(bolt);
       }},
      {"label", 32, [](QPainter& p) {
         Sheet(p, QRectF(4, 3, 22, 26));
         Letter(p, QRectF(4, 6, 22, 22), QStringLiteral("A"), kRed, 18);
       }},
      {"wizard", 32, [](QPainter& p) {
         p.setPen(Pen(kInk, 3));
         p.drawLine(QPointF(6, 27), QPointF(22, 11));
         p.setPen(Pen(kYellow, 3));
         p.drawLine(QPointF(20, 13), QPointF(23, 10));
         p.setPen(Pen(kOrange, 1.5));
         for (QPointF c : {QPointF(24, 4), QPointF(28, 9), QPointF(17, 5)}) {
           p.drawLine(c - QPointF(2, 0), c + QPointF(2, 0));
           p.drawLine(c - QPointF(0, 2), c + QPointF(0, 2));
         }
       }},
      {"select-all", 32, [](QPainter& p) { Checks(p, true); }},
      {"select-none", 32, [](QPainter& p) { Checks(p, false); }},
      {"remove", 32, [](QPainter& p) {
         Sheet(p, QRectF(4, 3, 18, 24));
         Rows(p, 7, 12, 3, 11, kBlue);
         p.setPen(Pen(kRed, 3));
         p.drawLine(QPointF(19, 19), QPointF(28, 28));
         p.drawLine(QPointF(28, 19), QPointF(19, 28));
       }},
      {"clear", 32, [](QPainter& p) {
         p.setPen(Pen(kInk, 1.2));
         p.setBrush(QColor(0xb8, 0xc2, 0xcc));
         QPolygonF bin;
         bin << QPointF(8, 10) << QPointF(24, 10) << QPointF(22, 29) << QPointF(10, 29);
         p.drawPolygon(bin);
         p.drawRect(QRectF(6, 6, 20, 4));
         p.drawRect(QRectF(13, 3, 6, 3));
         p.setPen(Pen(kInk, 1.2));
         for (double x : {12.5, 16.0, 19.5}) p.drawLine(QPointF(x, 13), QPointF(x, 26));
       }},
      {"export", 32, [](QPainter& p) {
         Sheet(p, QRectF(4, 3, 18, 25));
         Rows(p, 7, 11, 3, 11, kInk);
         p.setPen(Pen(kGreen, 3));
         p.drawLine(QPointF(16, 22), QPointF(28, 22));
         p.drawLine(QPointF(24, 18), QPointF(28, 22));
         p.drawLine(QPointF(24, 26), QPointF(28, 22));
       }},
      {"log", 32, [](QPainter& p) {
         p.setPen(Pen(kInk, 1.2));
         p.setBrush(kPaper);
         p.drawRect(QRectF(3, 5, 26, 22));
         p.fillRect(QRectF(3.6, 5.6, 25, 4), kBlue);
         p.setPen(Pen(kInk, 1.5));
         for (int i = 0; i < 3; ++i) {
           p.drawText(QRectF(5, 11 + i * 5, 4, 5), Qt::AlignCenter, QStringLiteral(">"));
           p.drawLine(QPointF(10, 13.5 + i * 5), QPointF(25 - i * 4, 13.5 + i * 5));
         }
       }},
      {"colour", 32, [](QPainter& p) {
         p.setPen(Qt::NoPen);
         p.setBrush(QColor(255, 0, 0, 200));
         p.drawEllipse(QPointF(12, 12), 8, 8);
         p.setBrush(QColor(0, 180, 0, 200));
         p.drawEllipse(QPointF(20, 12), 8, 8);
         p.setBrush(QColor(0, 80, 255, 200));
         p.drawEllipse(QPointF(16, 20), 8, 8);
       }},
      {"rotate", 32, [](QPainter& p) {
         p.setPen(Pen(kBlue, 2.5));
         p.setBrush(Qt::NoBrush);
         p.drawArc(QRectF(6, 6, 20, 20), 90 * 16, 270 * 16);
         p.setBrush(kBlue);
         p.setPen(Qt::NoPen);
         QPolygonF head;
         head << QPointF(16, 2) << QPointF(22, 6) << QPointF(16, 10);
         p.drawPolygon(head);
         p.setPen(Pen(kRed, 2));
         p.drawLine(QPointF(16, 16), QPointF(22, 10));
       }},
      {"settings", 32, [](QPainter& p) { Gear(p, QPointF(16, 16), 13); }},
      {"web", 32, [](QPainter& p) {
         p.setPen(Pen(kBlue, 1.6));
         p.setBrush(QColor(0xdd, 0xea, 0xf8));
         p.drawEllipse(QPointF(16, 16), 12, 12);
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QPointF(16, 16), 5, 12);
         p.drawLine(QPointF(4, 16), QPointF(28, 16));
         p.drawLine(QPointF(6, 10), QPointF(26, 10));
         p.drawLine(QPointF(6, 22), QPointF(26, 22));
       }},
      {"online", 32, [](QPainter& p) {
         p.setPen(Pen(kInk, 1.2));
         p.setBrush(QColor(0xdd, 0xea, 0xf8));
         QPainterPath bubble;
         bubble.addRoundedRect(QRectF(3, 4, 26, 18), 5, 5);
         bubble.moveTo(9, 21);
         bubble.lineTo(8, 28);
         bubble.lineTo(15, 21);
         p.drawPath(bubble.simplified());
         Letter(p, QRectF(3, 4, 26, 18), QStringLiteral("?"), kBlue, 15);
       }},
      {"help", 32, [](QPainter& p) {
         p.setPen(Pen(kInk, 1.2));
         p.setBrush(kBlue);
         p.drawRect(QRectF(6, 3, 20, 26));
         p.setBrush(kPaper);
         p.drawRect(QRectF(8, 25, 18, 4));
         Letter(p, QRectF(6, 3, 20, 22), QStringLiteral("?"), Qt::white, 16);
       }},
      {"about", 32, [](QPainter& p) {
         p.setPen(Pen(kBlue, 1.5));
         p.setBrush(QColor(0xdd, 0xea, 0xf8));
         p.drawEllipse(QPointF(16, 16), 13, 13);
         Letter(p, QRectF(3, 3, 26, 26), QStringLiteral("i"), kBlue, 18);
       }},
      {"exit", 32, [](QPainter& p) {
         p.setPen(Pen(kInk, 1.2));
         p.setBrush(QColor(0xc9, 0x9a, 0x6a));
         p.drawRect(QRectF(5, 3, 14, 26));
         p.setPen(Pen(kRed, 3));
         p.drawLine(QPointF(15, 16), QPointF(28, 16));
         p.drawLine(QPointF(24, 12), QPointF(28, 16));
         p.drawLine(QPointF(24, 20), QPointF(28, 16));
       }},
      {"expand", 32, [](QPainter& p) {
         p.setPen(Pen(kInk, 1.2));
         p.setBrush(kPaper);
         p.drawRect(QRectF(4, 4, 10, 10));
         p.drawLine(QPointF(6.5, 9), QPointF(11.5, 9));
         p.drawLine(QPointF(9, 6.5), QPointF(9, 11.5));
         p.setPen(QPen(kInk, 1, Qt::DotLine));
         p.drawLine(QPointF(9, 14), QPointF(9, 25));
         p.drawLine(QPointF(9, 19), QPointF(15, 19));
         p.drawLine(QPointF(9, 25), QPointF(15, 25));
         Rows(p, 17, 19, 2, 11, kBlue);
         p.setPen(Pen(kBlue, 2));
         p.drawLine(QPointF(17, 25), QPointF(28, 25));
       }},
      {"collapse", 32, [](QPainter& p) {
         p.setPen(Pen(kInk, 1.2));
         p.setBrush(kPaper);
         for (double y : {4.0, 18.0}) {
           p.drawRect(QRectF(4, y, 10, 10));
           p.drawLine(QPointF(6.5, y + 5), QPointF(11.5, y + 5));
           p.setPen(Pen(kBlue, 2));
           p.drawLine(QPointF(17, y + 5), QPointF(28, y + 5));
           p.setPen(Pen(kInk, 1.2));
         }
       }},
      {"locate", 32, [](QPainter& p) {
         Folder(p, kYellow);
         p.setPen(Pen(kInk, 1.2));
         p.setBrush(kRed);
         QPainterPath pin;
         pin.moveTo(20, 26);
         pin.cubicTo(QPointF(12, 16), QPointF(14, 8), QPointF(20, 8));
         pin.cubicTo(QPointF(26, 8), QPointF(28, 16), QPointF(20, 26));
         p.drawPath(pin);
         p.setBrush(kPaper);
         p.drawEllipse(QPointF(20, 14), 2.5, 2.5);
       }},
      {"app", 32, [](QPainter& p) {
         p.setPen(Pen(kInk, 1.2));
         p.setBrush(QColor(0x8f, 0xd1, 0x8a));
         QPolygonF poly;
         poly << QPointF(3, 8) << QPointF(14, 3) << QPointF(20, 12) << QPointF(12, 22) << QPointF(4, 19);
         p.drawPolygon(poly);
         p.setPen(Pen(kGreen, 3));
         p.drawLine(QPointF(16, 22), QPointF(26, 22));
         p.drawLine(QPointF(22, 18), QPointF(26, 22));
         p.drawLine(QPointF(22, 26), QPointF(26, 22));
         p.setPen(Pen(kBlue, 1.2));
         p.setBrush(kPaper);
         p.drawRect(QRectF(20, 4, 9, 11));
         Rows(p, 22, 7, 2, 5, kBlue);
       }},
  };
}

}  // namespace

// Draws `icon` at `size` pixels (its drawing scaled) and saves it.
bool Save(const Icon& icon, int size, const QString& path) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(static_cast<double>(size) / icon.size, static_cast<double>(size) / icon.size);
  icon.draw(painter);
  painter.end();
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const bool hicolor = argc == 3 && QByteArray(argv[1]) == "--hicolor";
  if (argc != 2 && !hicolor) {
    std::fprintf(stderr, "usage: gridmoor_draw_icons FOLDER | --hicolor FOLDER\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[argc - 1]));
  int failed = 0;
  for (const Icon& icon : Icons()) {
    if (!hicolor) {
      failed += Save(icon, icon.size, dir.filePath(QString::fromLatin1(icon.name) + QStringLiteral(".png"))) ? 0 : 1;
      continue;
    }
    if (QByteArray(icon.name) != "app") continue;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
      const QString folder = dir.filePath(QStringLiteral("%1x%1/apps").arg(size));
      QDir().mkpath(folder);
      failed += Save(icon, size, QDir(folder).filePath(QStringLiteral("gridmoorpro.png"))) ? 0 : 1;
    }
  }
  return failed == 0 ? 0 : 1;
}
