// Draws the transport buttons' artwork into resources/gui/transport/: the bevelled frames
// (128×32 for PLAY, 64×32 for the others; normal and pressed) and the 20×15 icons (normal,
// pressed, disabled, PLAY's lit lamp, PAUSE's paused faces). The icons are opaque on the face
// colour of the frame they sit on, since the button copies them onto the frame unscaled.
//
//   velvasto-make-transport-art resources/gui/transport

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cstdio>
#include <string>

namespace {

const QColor kFaceNormal(0xC9, 0xCD, 0xD3);
const QColor kFacePressed(0xB2, 0xB7, 0xBF);
const QColor kBorder(0x1E, 0x22, 0x26);
const QColor kHighlight(0xFF, 0xFF, 0xFF);
const QColor kLight(0xE6, 0xE9, 0xED);
const QColor kShadow(0x8A, 0x90, 0x98);
const QColor kDarkShadow(0x55, 0x5B, 0x63);
const QColor kGlyph(0x22, 0x26, 0x2B);
const QColor kDisabledGlyph(0x8E, 0x94, 0x9B);
const QColor kLampFill(0x3C, 0xF0, 0x64);
const QColor kLampEdge(0x0A, 0x78, 0x28);
const QColor kPausedFill(0xFF, 0xB0, 0x1E);
const QColor kPausedEdge(0x9A, 0x58, 0x00);

constexpr int kIconWidth = 20;
constexpr int kIconHeight = 15;

// One pixel line from (x0, y0) to (x1, y1), both ends included.
void Line(QImage& image, int x0, int y0, int x1, int y1, const QColor& colour) {
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) image.setPixelColor(x, y, colour);
}

// A plate with a dark border and a two-pixel bevel: raised (light top and left, dark bottom and
// right) or sunk (the other way round, on a darker face).
QImage Frame(int width, int height, bool pressed) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(pressed ? kFacePressed : kFaceNormal);
  const int r = width - 1;
  const int b = height - 1;
  const QColor& outerTopLeft = pressed ? kDarkShadow : kHighlight;
  const QColor& innerTopLeft = pressed ? kShadow : kLight;
  const QColor& outerBottomRight = pressed ? kLight : kDarkShadow;
  const QColor& innerBottomRight = pressed ? kFaceNormal : kShadow;
  Line(image, 1, 1, r - 1, 1, outerTopLeft);
  Line(image, 1, 1, 1, b - 1, outerTopLeft);
  Line(image, 2, 2, r - 2, 2, innerTopLeft);
  Line(image, 2, 2, 2, b - 2, innerTopLeft);
  Line(image, 1, b - 1, r - 1, b - 1, outerBottomRight);
  Line(image, r - 1, 1, r - 1, b - 1, outerBottomRight);
  Line(image, 2, b - 2, r - 2, b - 2, innerBottomRight);
  Line(image, r - 2, 2, r - 2, b - 2, innerBottomRight);
  Line(image, 0, 0, r, 0, kBorder);
  Line(image, 0, b, r, b, kBorder);
  Line(image, 0, 0, 0, b, kBorder);
  Line(image, r, 0, r, b, kBorder);
  return image;
}

// The glyphs, drawn into the 20×15 icon with their top-left corner moved by `offset`.
QPainterPath Triangle(QPointF a, QPointF b, QPointF c) {
  QPainterPath path;
  path.moveTo(a);
  path.lineTo(b);
  path.lineTo(c);
  path.closeSubpath();
  return path;
}

QPainterPath PlayGlyph() { return Triangle({6, 2}, {6, 13}, {15, 7.5}); }

QPainterPath StopGlyph() {
  QPainterPath path;
  path.addRect(QRectF(5, 3, 10, 9));
  return path;
}

QPainterPath FastForwardGlyph() {
  QPainterPath path = Triangle({2, 3}, {2, 12}, {10, 7.5});
  path.addPath(Triangle({10, 3}, {10, 12}, {18, 7.5}));
  return path;
}

QPainterPath RewindGlyph() {
  QPainterPath path = Triangle({18, 3}, {18, 12}, {10, 7.5});
  path.addPath(Triangle({10, 3}, {10, 12}, {2, 7.5}));
  return path;
}

QPainterPath PauseGlyph() {
  QPainterPath path;
  path.addRect(QRectF(5, 2, 3.5, 11));
  path.addRect(QRectF(11.5, 2, 3.5, 11));
  return path;
}

enum class Look { Normal, Pressed, Disabled, Lit, LitPressed };

QImage Icon(const QPainterPath& glyph, Look look, const QColor& litFill = {}, const QColor& litEdge = {}) {
  const bool pressed = look == Look::Pressed || look == Look::LitPressed;
  QImage image(kIconWidth, kIconHeight, QImage::Format_RGB32);
  image.fill(pressed ? kFacePressed : kFaceNormal);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  // A pressed glyph sinks one pixel to the right and down, as the pressed frame does.
  if (pressed) painter.translate(1, 1);
  switch (look) {
    case Look::Normal:
    case Look::Pressed:
      painter.fillPath(glyph, kGlyph);
      break;
    case Look::Disabled:
      // Engraved: a white copy one pixel lower right, the grey glyph over it.
      painter.fillPath(glyph.translated(1, 1), kHighlight);
      painter.fillPath(glyph, kDisabledGlyph);
      break;
    case Look::Lit:
    case Look::LitPressed:
      painter.setPen(QPen(litEdge, 1.0));
      painter.setBrush(litFill);
      painter.drawPath(glyph);
      break;
  }
  return image;
}

bool Save(const QImage& image, const QString& folder, const char* name) {
  const QString path = folder + '/' + QString::fromLatin1(name);
  if (image.save(path, "PNG")) return true;
  std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  struct Glyph {
    const char* stem;
    QPainterPath path;
  };
  const Glyph glyphs[] = {{"play", PlayGlyph()},
                          {"stop", StopGlyph()},
                          {"ff", FastForwardGlyph()},
                          {"rewind", RewindGlyph()},
                          {"pause", PauseGlyph()}};
  bool ok = Save(Frame(128, 32, false), folder, "frame_wide.png") &&
            Save(Frame(128, 32, true), folder, "frame_wide_pressed.png") &&
            Save(Frame(64, 32, false), folder, "frame.png") &&
            Save(Frame(64, 32, true), folder, "frame_pressed.png");
  for (const Glyph& glyph : glyphs) {
    const std::string stem = glyph.stem;
    ok = ok && Save(Icon(glyph.path, Look::Normal), folder, (stem + ".png").c_str()) &&
         Save(Icon(glyph.path, Look::Pressed), folder, (stem + "_pressed.png").c_str()) &&
         Save(Icon(glyph.path, Look::Disabled), folder, (stem + "_disabled.png").c_str());
  }
  ok = ok && Save(Icon(PlayGlyph(), Look::Lit, kLampFill, kLampEdge), folder, "play_lamp.png") &&
       Save(Icon(PauseGlyph(), Look::Lit, kPausedFill, kPausedEdge), folder, "pause_paused.png") &&
       Save(Icon(PauseGlyph(), Look::LitPressed, kPausedFill, kPausedEdge), folder,
            "pause_paused_pressed.png");
  return ok ? 0 : 1;
}
