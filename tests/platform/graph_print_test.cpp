// Printing a recorded picture: where it lands on the page, one page per copy
// in a PDF file, and failure when the file cannot be written.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "platform/graph_print.h"

namespace kv {
namespace {

// A picture of a w x h graph area filled red.
QPicture red_area(int w, int h) {
  QPicture picture;
  QPainter p(&picture);
  p.fillRect(0, 0, w, h, Qt::red);
  p.end();
  return picture;
}

bool red(const QImage& page, int x, int y) { return page.pixel(x, y) == qRgb(255, 0, 0); }

TEST(GraphPrint, ReplayKeepsTheAspectAtTheMarginCorner) {
  // A 1000 x 800 page: margins of 32; the wide picture takes the full width
  // (936) and 936 * 100 / 200 = 468 rows, the tall one the full height (736)
  // and 736 * 100 / 400 = 184 columns.
  struct Case {
    int w, h, right, bottom;
  };
  // A page of printer resolution: the recording must not grow with it.
  for (const int dpi : {96, 1200}) {
    for (const Case c : {Case{200, 100, 968, 500}, Case{100, 400, 216, 768}}) {
      QImage page(1000, 800, QImage::Format_RGB32);
      page.setDotsPerMeterX(dpi * 10000 / 254);
      page.setDotsPerMeterY(dpi * 10000 / 254);
      page.fill(Qt::white);
      QPainter p(&page);
      replay_on_page(p, red_area(c.w, c.h), c.w, c.h);
      p.end();
      EXPECT_FALSE(red(page, 31, 32)) << c.w << " at " << dpi;
      EXPECT_FALSE(red(page, 32, 31)) << c.w << " at " << dpi;
      EXPECT_TRUE(red(page, 32, 32)) << c.w << " at " << dpi;
      EXPECT_TRUE(red(page, c.right - 1, c.bottom - 1)) << c.w << " at " << dpi;
      EXPECT_FALSE(red(page, c.right + 1, c.bottom - 1)) << c.w << " at " << dpi;
      EXPECT_FALSE(red(page, c.right - 1, c.bottom + 1)) << c.w << " at " << dpi;
    }
  }
}

int pdf_pages(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QString text = QString::fromLatin1(f.readAll());
  return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

TEST(GraphPrint, APdfFileGetsOnePagePerCopy) {
  QTemporaryDir dir;
  for (int copies : {1, 3}) {
    const QString path = dir.filePath(QStringLiteral("graph%1.pdf").arg(copies));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setCopyCount(copies);
    ASSERT_TRUE(print_graph_picture(printer, red_area(300, 200), 300, 200));
    EXPECT_EQ(pdf_pages(path), copies);
    EXPECT_EQ(printer.docName(), QStringLiteral("Kurvaline: Druckvorgang"));
  }
}

TEST(GraphPrint, AnUnwritableFileIsAFailure) {
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath(QStringLiteral("missing/graph.pdf")));
  EXPECT_FALSE(print_graph_picture(printer, red_area(300, 200), 300, 200));
}

}  // namespace
}  // namespace kv
