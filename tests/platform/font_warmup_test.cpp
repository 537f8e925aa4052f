#include "platform/font_warmup.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

namespace kv {
namespace {

// The start-up path: the thread reads the list while this thread goes on,
// and text measured after the configuration sees the same fonts as a start
// without the thread. A start that ends early (another instance took the
// document) never asks for the list; neither order may hang or read twice.
TEST(FontWarmup, StartsOfEveryKindEndAndMeasureTheSameText) {
  const QFont font(QStringLiteral("DejaVu Serif"), 11);
  const int width = QFontMetrics(font).horizontalAdvance(QStringLiteral("Kurvaline x^2"));
  const QStringList families = QFontDatabase::families();
  ASSERT_FALSE(families.isEmpty());
  for (int run = 0; run < 20; ++run) {
    FontWarmup fonts;
    if (run % 2 == 0) {  // the full start
      const FontWarmup::ListReading list = fonts.read_font_list();
      fonts.wait_for_configuration();
      EXPECT_EQ(QFontMetrics(font).horizontalAdvance(QStringLiteral("Kurvaline x^2")), width);
      EXPECT_EQ(QFontDatabase::families(), families);
    } else if (run % 4 == 1) {  // ended before the toolkit was ready
      fonts.wait_for_configuration();
    }  // and ended at once
  }
}

}  // namespace
}  // namespace kv
