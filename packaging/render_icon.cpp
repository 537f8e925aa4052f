// Build tool: draws the program's scalable icon as PNG pictures for the
// fixed sizes of the icon theme.
//
//   kv_render_icon ICON.svg OUT_FOLDER SIZE...
//
// writes OUT_FOLDER/<SIZE>x<SIZE>/apps/kurvaline.png for each SIZE (1 to
// 1024). Exits with status 1 and a message when the icon cannot be read, a
// size is not a number in that range, or a picture cannot be written. The
// icon holds no text, so no fonts and no display are needed.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

namespace {

bool render(QSvgRenderer& icon, const QString& folder, const QString& size_text) {
  bool ok = false;
  const int size = size_text.toInt(&ok);
  if (!ok || size < 1 || size > 1024) {
    std::fprintf(stderr, "kv_render_icon: size %s is not a number from 1 to 1024\n",
                 qPrintable(size_text));
    return false;
  }
  QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  icon.render(&painter);
  painter.end();
  const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
  if (!QDir().mkpath(apps) || !picture.save(apps + QStringLiteral("/kurvaline.png"), "PNG")) {
    std::fprintf(stderr, "kv_render_icon: cannot write %s/kurvaline.png\n", qPrintable(apps));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: kv_render_icon ICON.svg OUT_FOLDER SIZE...\n", stderr);
    return 1;
  }
  QSvgRenderer icon(QString::fromLocal8Bit(argv[1]));
  if (!icon.isValid()) {
    std::fprintf(stderr, "kv_render_icon: cannot read %s\n", argv[1]);
    return 1;
  }
  const QString folder = QString::fromLocal8Bit(argv[2]);
  for (int i = 3; i < argc; ++i) {
    if (!render(icon, folder, QString::fromLocal8Bit(argv[i]))) return 1;
  }
  return 0;
}
