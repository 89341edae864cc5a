#pragma once
// Writes the default skin: Config.ini and every picture it names.

#include <QImage>
#include <QString>

namespace skingen {

class SkinPictures;

// The text of Config.ini: the layout of all 81 images at their built-in
// places, the fullscreen backdrop and logo, and the manual's size.
QString configText();

// Writes the skin into `folder` (created as needed). On failure returns false
// with a message naming the file.
bool writeSkin(const SkinPictures& skin, const QString& folder, QString* error);

// Writes a preview for the documentation: the face with every segment lit
// beside the face in a game, with the Right button held.
bool writePreview(const SkinPictures& skin, const QString& file, QString* error);

// The program's icon in each size the desktop uses (16 to 256 pixels):
// the face in a game, scaled into a square. Writes <folder>/<N>x<N>.png.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
QImage drawIcon(const SkinPictures& skin, int size);
bool writeIcons(const SkinPictures& skin, const QString& folder, QString* error);

}  // namespace skingen
