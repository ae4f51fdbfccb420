// TaFrm: the base of the program's editors and of its main window. A normal or stay-on-top form
// is placed centred on the mouse cursor when it is made (kept on the screen); F1 opens the form's
// help topic; a borderless form is resized by its edges.
#pragma once

#include <functional>

#include "platform/forms/forms/Form.h"
#include "platform/rtl/Service.h"

class TaFrm : public TForm {
  PELTO_DECLARE_CLASS(TaFrm, TForm)
public:
  // Style is the form's stored style: an MDI child or the MDI main form is not placed.
  explicit TaFrm(TComponent* AOwner, TFormStyle Style = fsNormal);

  // Centred on the cursor; a form that would leave the screen keeps 20 pixels from its left,
  // top and right edges and 50 from the bottom.
  void PlaceNearCursor();
  // Opens Topic of the help file in the desktop's help viewer; an empty topic is the form's
  // name without its last three letters ("HetongEditFrm" gives "HetongEdit").
  virtual void ShowHelp(const AnsiString& Topic);
  // The topic ShowHelp opens for Topic.
  AnsiString HelpTopic(const AnsiString& Topic) const;

  // Where PlaceNearCursor puts a W x H form for the cursor at Cursor on a ScreenW x ScreenH
  // screen.
  static POINT NearCursor(POINT Cursor, int W, int H, int ScreenW, int ScreenH);
  // The answer of the borderless hit test at client point P of a W x H form; 0 when the point
  // is inside and the inherited answer stands.
  static LRESULT EdgeHitTest(POINT P, int W, int H);

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;
  void WndProc(TMessage& Message) override;
};

namespace a {
// Runs CmdLine as the platform's program-start call does: the program, then its parameters.
// Replaceable so that a test sees the command instead of a started viewer.
TService<std::function<void(const AnsiString& CmdLine)>>& ProgramStarter();
}  // namespace a
