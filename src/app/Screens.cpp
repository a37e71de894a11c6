#include "app/Screens.h"

#include <functional>
#include <vector>

#include "screens/uAktualizace.h"
#include "screens/uHodnoceni.h"
#include "screens/uMain.h"
#include "screens/uMenu.h"
#include "screens/uNastaveni.h"
#include "screens/uNTest.h"
#include "screens/uPZTest.h"
#include "screens/uPomucky.h"
#include "screens/uSTRTF.h"
#include "screens/uTisk.h"
#include "screens/uUpravitT.h"
#include "screens/uVyberAdr.h"
#include "screens/uZHeslo.h"
#include "screens/uZTest.h"
#include "screens/uZjistiA.h"
#include "toolkit/Application.h"

namespace {

struct TScreen {
  std::function<void(toolkit::TApplication&)> create;
  std::function<void()> destroy;
};

template <class T>
TScreen Screen(T*& instance) {
  return {[&instance](toolkit::TApplication& app) { app.CreateForm(instance); },
          [&instance] {
            delete instance;
            instance = nullptr;
          }};
}

// Creation order. A new screen is one line here, in its place of the full
// order: fMenu, fMain, fZjistiA, fNTest, fUpravitT, fZTest, fHodnoceni, fTisk,
// fNastaveni, fPomucek, fSTRTF, fAktualizace, fVyberAdr, fPZTest, fZHeslo.
const std::vector<TScreen>& ScreenList() {
  static const std::vector<TScreen> list = {
      Screen(fMenu),  Screen(fMain),        Screen(fZjistiA),  Screen(fNTest),     Screen(fUpravitT),
      Screen(fZTest), Screen(fHodnoceni),   Screen(fTisk),     Screen(fNastaveni), Screen(fPomucek),
      Screen(fSTRTF), Screen(fAktualizace), Screen(fVyberAdr), Screen(fPZTest),    Screen(fZHeslo),
  };
  return list;
}

}  // namespace

void CreateScreens(toolkit::TApplication& app) {
  for (const TScreen& screen : ScreenList()) screen.create(app);
}

void DestroyScreens() {
  const auto& list = ScreenList();
  for (auto it = list.rbegin(); it != list.rend(); ++it) it->destroy();
}
