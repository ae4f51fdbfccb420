// What the graphics, forms and dialogs library tests share: the headless desktop with the
// application object, scripts of any language under the global script, the objects their
// variables hold, clicks through the input queue, and pictures written into the build folder.
#pragma once

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gdi/WinTypes.h"
#include "platform/rtl/Variants.h"

class TBitmap;
class TControl;
class TfsScript;
class TObject;
class TWinControl;

class UiScriptTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A script of Lang under the global script holding Text; compile errors fail the test.
  TfsScript* Compile(const AnsiString& Lang, const AnsiString& Text);
  // Compiles and runs Text; answers the message of the run-time error it ended with ("" none).
  AnsiString RunError(const AnsiString& Lang, const AnsiString& Text);
  // The value of a script's variable, and the object whose handle it holds.
  static Variant ValueOf(TfsScript* S, const AnsiString& Name);
  static TObject* ObjectOf(TfsScript* S, const AnsiString& Name);
  // Handles what is queued, as the application's loop does.
  static void Pump();
  // Queues a press and release of the left button at a point of C's client area.
  static void QueueClick(TControl* C, POINT Client);
  // Writes what the screen shows of the window of C as a PNG of that name in the build folder.
  static void SaveWindowPng(TWinControl* C, const char* Name);
  // Writes Bitmap as a PNG of that name in the build folder.
  static void SaveBitmapPng(TBitmap* Bitmap, const char* Name);

  std::vector<std::unique_ptr<TfsScript>> Scripts;
};
