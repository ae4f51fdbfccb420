#include "core/forms/a.h"

#include "core/qxProj.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/app/Mouse.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/graphics/Font.h"
#include "platform/rtl/FormatText.h"
#include "platform/sys/ShellApi.h"

namespace a {

TService<std::function<void(const AnsiString& CmdLine)>>& ProgramStarter()
{
  static TService<std::function<void(const AnsiString&)>> Slot(std::make_unique<std::function<void(const AnsiString&)>>(
      [](const AnsiString& CmdLine) { ShellApi::WinExec(CmdLine, ShellApi::SW_SHOWNORMAL); }));
  return Slot;
}

}  // namespace a

TaFrm::TaFrm(TComponent* AOwner, TFormStyle Style) : TForm(AOwner)
{
  SetFormStyle(Style);
  SetColor(clBtnFace);
  GetFont()->SetName("宋体");
  GetFont()->SetHeight(-12);
  GetFont()->SetCharset(GB2312_CHARSET);
  SetKeyPreview(true);
  if (Style == fsNormal || Style == fsStayOnTop) PlaceNearCursor();
}

POINT TaFrm::NearCursor(POINT Cursor, int W, int H, int ScreenW, int ScreenH)
{
  POINT p{Cursor.x - W / 2, Cursor.y - H / 2};
  if (p.x < 0)
    p.x = 20;
  else if (p.x > ScreenW - W - 20)
    p.x = ScreenW - W - 20;
  if (p.y < 0)
    p.y = 20;
  else if (p.y > ScreenH - H - 50)
    p.y = ScreenH - H - 50;
  return p;
}

void TaFrm::PlaceNearCursor()
{
  POINT cursor = Controls::Mouse ? Controls::Mouse->GetCursorPos() : POINT{0, 0};
  int sw = Forms::Screen ? Forms::Screen->GetWidth() : 1024;
  int sh = Forms::Screen ? Forms::Screen->GetHeight() : 768;
  POINT p = NearCursor(cursor, GetWidth(), GetHeight(), sw, sh);
  SetBounds(p.x, p.y, GetWidth(), GetHeight());
}

AnsiString TaFrm::HelpTopic(const AnsiString& Topic) const
{
  if (!Topic.empty()) return Topic;
  const AnsiString& name = GetName();
  return name.size() > 3 ? name.substr(0, name.size() - 3) : AnsiString();
}

void TaFrm::ShowHelp(const AnsiString& Topic)
{
  AnsiString helpFile = Forms::Application ? Forms::Application->GetHelpFile() : AnsiString();
  AnsiString cmd =
      SysUtils::Format("hh.exe mk:@MSITStore:%s/%s::%s.htm", {TProject::GetProgramDir(), helpFile, HelpTopic(Topic)});
  a::ProgramStarter().Current()(cmd);
}

void TaFrm::KeyDown(Word& Key, TShiftState Shift)
{
  TForm::KeyDown(Key, Shift);
  if (Key == VK_F1) ShowHelp(AnsiString());
}

LRESULT TaFrm::EdgeHitTest(POINT P, int W, int H)
{
  int x = P.x, y = P.y;
  if (x < 10 && y < 10) return HTTOPLEFT;
  if (x > W - 10 && y < 10) return HTTOPRIGHT;
  if (x > W - 10 && y > H - 10) return HTBOTTOMRIGHT;
  if (x < 10 && y > H - 10) return HTBOTTOMLEFT;
  if (x <= 4) return HTLEFT;
  if (y <= 4) return HTTOP;
  if (x > W - 5) return HTRIGHT;
  if (y > H - 5) return HTBOTTOM;
  return 0;
}

void TaFrm::WndProc(TMessage& Message)
{
  if (Message.Msg == WM_NCHITTEST && GetBorderStyle() == bsNone) {
    POINT p = ScreenToClient(POINT{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
    if (LRESULT hit = EdgeHitTest(p, GetWidth(), GetHeight())) {
      Message.Result = hit;
      return;
    }
  }
  TForm::WndProc(Message);
}

PELTO_DEFINE_CLASS(TaFrm)
