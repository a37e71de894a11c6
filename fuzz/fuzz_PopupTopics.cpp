// Any bytes as the popup topic file of a help file, and as a contents or index
// list: the readers must end, never crash, and give text only for a topic
// that the file has. The first four bytes choose the context asked for.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "help/viewer/hxchm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t context = 1005;
  if (size >= 4) {
    std::memcpy(&context, data, 4);
    context %= 2048;
  }
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  if (const auto text = hxviewer::PopupTopicText(file, context))
    if (text->empty()) std::abort();
  const auto tree = hxviewer::ParseSitemap(file);
  // The nesting stays within its bound.
  int depth = 0;
  for (const hxviewer::TSitemapEntry* e = tree.empty() ? nullptr : &tree.back(); e && !e->Children.empty();
       e = &e->Children.back())
    if (++depth > hxviewer::kMaxSitemapDepth) std::abort();
  return 0;
}
