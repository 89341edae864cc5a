#pragma once
// The splash window's pictures: the background bands, the retail box with
// the handheld, and the picture buttons.

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace zarvik::splash {

inline constexpr int kWidth = 460;
inline constexpr int kHeight = 420;
inline const QColor kDarkBlue(8, 41, 82);
inline const QColor kLightBlue(188, 208, 232);
inline constexpr QSize kButtonSize(107, 30);
inline constexpr QSize kBoxSize(200, 116);

QPixmap drawBackground();
// The retail box: a front with the handheld's picture (a drawn handheld when
// it is null) and the name, a side and a lid in a simple oblique view.
QPixmap drawBox(const QImage& handheldPicture);
// A rounded button face: `top` to `bottom` gradient, caption in `text`;
// pressed, the gradient turns and the caption moves one pixel.
QPixmap drawButton(QColor top, QColor bottom, QColor text, const QString& caption, bool pressed);

}  // namespace zarvik::splash
