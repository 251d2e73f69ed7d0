// Form1's rules on the controls' double: user actions go through `klicke`
// and `tippe`, which, as a real window does, refuse disabled controls and
// raise the handlers.
#pragma once

#include <string>

#include "test_doubles.h"
#include "window/form1_logik.h"

namespace form1_test {

using testing_doubles::Momentaufnahme;
using testing_doubles::Steuer;
using zweigschau::Steuerelement;

class TestFenster : public testing_doubles::TestSteuerelemente {
 public:
  TestFenster() {
    pfadGeändert = [this] { logik.txtPfadEingabe_Change(); };
  }

  // A user's click: toggles a check box or selects an option button and
  // raises its handler; pushes a button. Nothing happens on a disabled
  // control or while the window is disabled.
  void klicke(Steuerelement s);
  // The user types `zeichen` at the end of the path box, one change each.
  void tippe(const std::string& zeichen);

  testing_doubles::TestAblage zwischenablage;
  zweigschau::Form1Logik logik{*this, zwischenablage};
};

}  // namespace form1_test
