#pragma once
// The general library's start-up and end work, in the order of its units:
// strings, file utilities, system information, graphics utilities, graphics.
// The program runs the start before anything of its own and the end after.

namespace genlib {

void GenLibStart();
// In the reverse order.
void GenLibEnd();

// Runs the start when made and the end when it goes.
class GenLibScope {
 public:
  GenLibScope() { GenLibStart(); }
  ~GenLibScope() { GenLibEnd(); }
  GenLibScope(const GenLibScope&) = delete;
  GenLibScope& operator=(const GenLibScope&) = delete;
};

}  // namespace genlib
