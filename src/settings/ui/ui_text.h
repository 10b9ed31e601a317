// The record holds bytes in the locale's code page; widgets hold UTF-16. Every
// byte string that a dialog shows goes through the lossless codec, so that a
// path or keyword comes back from a dialog with exactly the bytes it had.
#pragma once

#include <QString>

#include <string>

namespace plix {

QString ToDisplay(const std::string& bytes);
std::string FromDisplay(const QString& text);

// A file name from a file dialog as the bytes the file system knows it by, and
// back: what the dialogs return is not in the locale's code page but in the
// file system's encoding.
std::string PathFromFileDialog(const QString& path);
QString PathForFileDialog(const std::string& bytes);

}  // namespace plix
