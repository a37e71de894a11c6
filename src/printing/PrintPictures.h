#pragma once
// The pictures of one print action: each question's picture decoded, laid on
// white, scaled for the page, and kept for the later variants of the same
// action (up to a memory budget), so that every job draws the same image.

#include <QImage>
#include <functional>
#include <map>
#include <string>

namespace printing {

// Reads a picture file (a code page 1250 path) into an image, or raises the
// error that says why not. The print screen gives the loader the screens
// share, so that whatever the test-taking screen shows also prints.
using TPictureLoader = std::function<QImage(const std::string& path)>;

class TPrintPictures {
 public:
  explicit TPrintPictures(TPictureLoader load) : load_(std::move(load)) {}

  // The file's picture scaled by the factor, and down to fit maxW x maxH
  // printer pixels where it would be larger. Any failure raises
  // platform::Exception with a message that names the file.
  const QImage& Get(const std::string& path, int factor, int maxW, int maxH);

 private:
  void Prepare(const std::string& path, int factor, int maxW, int maxH);

  TPictureLoader load_;
  std::map<std::string, QImage> scaled_;
  qsizetype bytes_ = 0;
  QImage bitmap_;  // the last picture, when it no longer fits the budget
};

}  // namespace printing
