#pragma once
// Web pages and e-mails handed to the desktop: the user's browser or mail
// program opens them.

#include <QUrl>
#include <functional>

namespace platform {

// Hands the link over and returns at once; false when the desktop refused it.
bool OpenUrl(const QUrl& url);

// Test seam: links go to this handler instead of the desktop; an empty one restores it.
void SetOpenUrlHandler(std::function<bool(const QUrl&)> handler);

}  // namespace platform
