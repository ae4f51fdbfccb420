// A headless fixture for the control classes, and a control that logs the messages a test
// watches ("Name:CM_ENTER") into one shared list.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/forms/controls/CustomControl.h"
#include "platform/forms/controls/GraphicControl.h"
#include "platform/forms/forms/Form.h"

class TPixelCanvas;

// The log of the watched messages, in order.
std::vector<std::string>& ControlLog();

class TLogControl : public TCustomControl {
public:
  explicit TLogControl(TComponent* AOwner, const char* AName = "");
  // Answers WM_GETDLGCODE with this (0: a plain control).
  LRESULT DlgCode = 0;

protected:
  void WndProc(TMessage& Message) override;
};

class TLogGraphic : public TGraphicControl {
public:
  explicit TLogGraphic(TComponent* AOwner, const char* AName = "");

protected:
  void WndProc(TMessage& Message) override;
};

// A push button as a dialog has one: Enter clicks the default one, Escape the cancel one, and
// a click gives the form its ModalResult.
class TTestButton : public TCustomControl {
public:
  explicit TTestButton(TComponent* AOwner);
  bool Default = false;
  bool Cancel = false;
  TModalResult ModalResult = mrNone;
  void Click() override;

protected:
  void Dispatch(TMessage& Message) override;
};

class FormsTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // A form owned by the fixture (freed at the end unless it was released).
  TForm* MakeForm(int W = 400, int H = 300);
  // Handles what is queued, as the application's loop does.
  int Pump();
  std::unique_ptr<TComponent> Owner;
};

// Pictures of the headless screen: a screen rectangle copied into a canvas at (X, Y), and a
// bitmap written as a PNG file of that name into the build folder.
void CopyScreen(TPixelCanvas& Into, RECT From, int X, int Y);
void SavePng(HBITMAP Bitmap, const char* Name);
