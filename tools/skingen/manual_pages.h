#pragma once
// The handheld's printed manual, as eight page pictures for the manual viewer.

#include <QImage>
#include <array>

namespace skingen {

class SkinPictures;

inline constexpr int kManualPageCount = 8;
inline constexpr int kManualWidth = 415;
inline constexpr int kManualHeight = 270;

std::array<QImage, kManualPageCount> drawManualPages(const SkinPictures& skin);

}  // namespace skingen
