// The help on paper: several pages per copy, each copy complete.
#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "help/help_layout.h"
#include "help/help_texts.h"
#include "platform/help_print.h"

namespace kv {
namespace {

int pdf_page_count(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QString text = QString::fromLatin1(f.readAll());
  return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

TEST(HelpPrint, EveryCopyGetsAllPages) {
  QTemporaryDir dir;
  int one_copy = 0;
  for (int copies : {1, 2}) {
    const QString path = dir.filePath(QStringLiteral("help%1.pdf").arg(copies));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setCopyCount(copies);
    ASSERT_TRUE(print_help_text(printer, full_help_text(), kFullHelpWidth));
    if (copies == 1) one_copy = pdf_page_count(path);
    else EXPECT_EQ(pdf_page_count(path), 2 * one_copy);
  }
  EXPECT_GT(one_copy, 1);
}

}  // namespace
}  // namespace kv
