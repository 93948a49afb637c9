// Writes the application icon enlarged to a desktop icon size. Each pixel becomes a square block
// (nearest neighbour), so the pixel art stays sharp.
// Usage: noruka_scale_icon ICON.bmp SIZE OUTPUT.png

#include <QImage>
#include <QString>
#include <charconv>
#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s ICON.bmp SIZE OUTPUT.png\n", argv[0]);
    return 2;
  }
  const QImage icon(QString::fromLocal8Bit(argv[1]));
  if (icon.isNull()) {
    std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
    return 1;
  }
  const std::string_view size_text = argv[2];
  int size = 0;
  auto [end, error] = std::from_chars(size_text.data(), size_text.data() + size_text.size(), size);
  if (error != std::errc() || end != size_text.data() + size_text.size() || size <= 0 ||
      size % icon.width() != 0 || size % icon.height() != 0) {
    std::fprintf(stderr, "%s: the size must be a whole multiple of the icon's %d x %d pixels\n",
                 argv[0], icon.width(), icon.height());
    return 2;
  }
  const QImage scaled = icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  if (!scaled.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
    return 1;
  }
  return 0;
}
