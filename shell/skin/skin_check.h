#pragma once
// `zarvik --check-skin [FOLDER]`: a skin folder loaded by the program's own
// loaders, without a window, and every problem listed for the skin's author.

#include <QString>
#include <QStringList>
#include <filesystem>

namespace zarvik {

// The problems of the skin in `folder`, one a line, in a stable order: what
// the loaders report in either window mode and for the manual (each once),
// the named pictures they did not find, then what the program accepts
// without a word: an Image<N> section missing, an integer value that is no
// number, a picture whose size differs from its box, an image outside the
// face and a segment outside the LCD overlay. Each line names its file and
// its Image<N> section, manual page or key. Empty for a clean skin.
QStringList checkSkin(const std::filesystem::path& folder);

// Checks `folder`, or when it is empty the data folder the program would
// use (`dataDirOption` is --data-dir), and prints the problems to standard
// output. Returns the exit status: 0 for a clean skin, 1 otherwise (and for
// a folder that does not exist, with a message on standard error).
int printSkinProblems(const QString& folder, const QString& dataDirOption);

}  // namespace zarvik
