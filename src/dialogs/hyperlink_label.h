// A static text that opens a web page or a mail address when clicked.
//
// A left press arms the link; moving out of the label disarms it; releasing
// the button over the armed label opens the target. The text is underlined,
// the cursor a pointing hand. Once the target opened, the text takes the
// visited colour; a target that cannot be opened leaves everything as it was.
#pragma once

#include <QColor>
#include <QLabel>
#include <QUrl>
#include <functional>

namespace kv {

class HyperlinkLabel final : public QLabel {
  Q_OBJECT

 public:
  // opens the target; the default goes through QDesktopServices.
  using Opener = std::function<bool(const QUrl&)>;

  HyperlinkLabel(const QString& text, const QUrl& target, QColor colour, QColor visited,
                 QWidget* parent = nullptr);

  const QUrl& target() const { return target_; }
  QColor colour() const { return colour_; }
  void set_opener(Opener opener) { opener_ = std::move(opener); }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void set_colour(QColor c);
  void activate();

  QUrl target_;
  QColor colour_;
  QColor visited_;
  Opener opener_;
  bool armed_ = false;
};

}  // namespace kv
