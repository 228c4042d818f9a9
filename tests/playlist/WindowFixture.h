#pragma once
// A playlist dialog on real widgets over a shared state of its own: the
// engine started in a fresh folder, the built-in colour scheme.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "session/AppState.h"
#include "widgets/GlassButton.h"
#include "support/TempDir.h"

namespace orve::test {

template <class Form>
class WindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    state.AppDir = home.path() + "/";
    state.Scheme = BuiltInColourScheme();
    state.Engine->Init(state.AppDir);
    form = std::make_unique<Form>(state);
  }
  void TearDown() override {
    form.reset();
    state.Engine->Shutdown();
  }
  auto Ui() const { return form->ControlsForTest(); }
  QColor Theme(ColourRole role) const { return state.Scheme.Colour(role); }
  // `check` holds with the colours the window was made with, and again
  // after every colour of the scheme changed and the window was recoloured.
  void ExpectColoursFollowTheScheme(const std::function<void()>& check) {
    check();
    for (int i = 0; i < kThemeColorCount; ++i) state.Scheme.ThemeColors[static_cast<size_t>(i)] = 0x010203u * (i + 1);
    form->ApplyScheme();
    check();
  }

  TempDir home;
  AppState state;
  std::unique_ptr<Form> form;
};

}  // namespace orve::test
