#pragma once
// The handheld's printed manual, as eight page pictures for the manual viewer.

#include <QImage>
#include <QStringList>
#include <array>

namespace skingen {

class SkinPictures;

inline constexpr int kManualPageCount = 8;
inline constexpr int kManualWidth = 415;
inline constexpr int kManualHeight = 270;

// The pages, with the diagrams composed from the skin's own pictures. Text
// that does not fit its place on a page is added to `problems`.
std::array<QImage, kManualPageCount> drawManualPages(const SkinPictures& skin, QStringList* problems);

}  // namespace skingen
