// Screenshots on the headless host.
#pragma once
#include <memory>
#include <optional>
#include <string>

class Form;
class Sjis;
class TextRaster;

// The driver's pictures of the window, drawn as the window draws it and written as PNG files. The
// fonts are opened at the first picture and kept.
class Screenshots {
 public:
  Screenshots();
  ~Screenshots();
  Screenshots(const Screenshots&) = delete;
  Screenshots& operator=(const Screenshots&) = delete;

  // Writes the form at the zoom (1 to 4) to `file`; returns what went wrong, if anything.
  std::optional<std::string> take(const Form& form, const Sjis& sjis, const std::string& file, int scale);

 private:
  std::unique_ptr<TextRaster> fonts_;
};
