// The fixture of the window tests of the control family: a headless desktop with the application,
// screen and mouse objects, one shown form, and input helpers in a control's client coordinates.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "platform/forms/controls/Control.h"
#include "platform/win/input/InputQueue.h"

class TForm;

struct cxWindowTest : ::testing::Test {
  std::unique_ptr<TComponent> Owner;
  TForm* Form = nullptr;

  void SetUp() override;
  void TearDown() override;
  void Pump();
  // Moves the clock on and handles what became due.
  void Wait(unsigned Ms);
  POINT Screen(TControl* C, int X, int Y) { return C->ClientToScreen(POINT{X, Y}); }
  void MoveTo(TControl* C, int X, int Y, bool Handle = true);
  void Press(TControl* C, int X, int Y, InputQueue::Button B = InputQueue::Button::Left, bool Handle = true);
  void Release(TControl* C, int X, int Y, InputQueue::Button B = InputQueue::Button::Left, bool Handle = true);
  void Click(TControl* C, int X, int Y);
  void Key(int VKey);
  // VKey pressed and released while the modifier keys are held.
  void KeyWith(int VKey, std::initializer_list<int> Modifiers);
  void KeyWith(int VKey, int Modifier) { KeyWith(VKey, {Modifier}); }
  // Text as the input method hands it over (CP936).
  void Type(const char* Text);
};
