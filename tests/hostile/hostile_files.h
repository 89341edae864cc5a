#pragma once
// Hostile files too large to keep in the tree, made at test time: a
// progressive JPEG whose last scan repeats thousands of times, and large
// single-colour PNG files that compress to a few hundred kilobytes.

#include <string>

namespace hostile {

// A progressive `side` x `side` grey JPEG (flat bands, so that a scan takes
// a few bytes) with its final scan repeated
// `repeats` times (each a full pass for the decoder).
std::string jpegWithRepeatedScans(int side, int repeats);

// A grey PNG of the given size, every pixel `level`.
std::string flatPng(int width, int height, int level);

}  // namespace hostile
