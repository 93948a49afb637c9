#pragma once
// Qt types behind the platform's plain headers; included by platform sources only.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>

#include "platform/form.h"
#include "platform/surface.h"

struct Surface::Image {
  QImage pixels;
};

inline QColor ToQColor(Color color) { return QColor::fromRgb(color); }
inline QRect ToQRect(const PixelRect& r) { return {r.x, r.y, r.width, r.height}; }
QFont ToQFont(const FontSpec& font);

// Paints what the player sees of the form inside clip (form pixel coordinates).
void ComposeForm(const Form& form, QPainter& painter, const QRect& clip);
