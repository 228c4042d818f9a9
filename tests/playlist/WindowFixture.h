#pragma once
// A playlist dialog on real widgets over a shared state of its own: the
// engine started in a fresh folder, the built-in colour scheme.

#include <gtest/gtest.h>

#include <memory>

#include "app/AppState.h"
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

  TempDir home;
  AppState state;
  std::unique_ptr<Form> form;
};

}  // namespace orve::test
