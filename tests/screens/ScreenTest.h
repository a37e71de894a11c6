#pragma once
// Shared by the screen tests: the shipped language table in a temporary
// program directory, a fresh current test, and controls found by name.

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "TestSupport.h"
#include "Toolkit.h"
#include "appdir.h"
#include "uDApp.h"
#include "uDTest.h"

namespace screentest {

class ScreenTest : public ::testing::Test {
 protected:
  ScreenTest() {
    testsupport::WriteBytes(dir.File("jazyk.ini"),
                            testsupport::ReadBytes(testsupport::SourceDir() + "data/jazyk.ini"));
    platform::SetProgramDir(dir.Path());
    Settings = TNastaveni();
    CurrentTest = TDTest();
    toolkit::MessageBoxes::Clear();
    toolkit::FileDialogs::Clear();
    toolkit::TForm::ClearModals();
  }
  ~ScreenTest() override {
    CurrentTest = TDTest();
    Settings = TNastaveni();
    platform::SetProgramDir("");
  }

  testsupport::TempDir dir;
};

// The control of that name within the form; a missing one fails the test.
template <class T>
T* Find(const QWidget* form, const char* name) {
  T* control = form->findChild<T*>(QString::fromLatin1(name));
  if (!control) {
    ADD_FAILURE() << "no control " << name;
    throw std::runtime_error(name);
  }
  return control;
}

// A click as the user makes it: the button takes the focus, so the box left runs its exit.
inline void Click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

// Shows a form as its opener does, made the active window so focus moves work.
inline void Open(toolkit::TForm* form) {
  form->show();
  QApplication::setActiveWindow(form);
}

// Code page 1250 from a UTF-8 literal.
inline std::string C(const char* utf8) { return toolkit::Cp1250(utf8); }

}  // namespace screentest
