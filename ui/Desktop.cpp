#include "ui/Desktop.h"

#include "core/forms/FormParts.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/forms/Frame.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatText.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "ui/Main.h"

namespace Desktop {

TService<TListFrameHandler>& ListFrames()
{
  static TService<TListFrameHandler> Slot(
      std::make_unique<TListFrameHandler>([](TDesktopFrm&, const TDesktopNode&) {}));
  return Slot;
}

}  // namespace Desktop

TDesktopFrm::TDesktopFrm(TComponent* AOwner) : TaFrm(AOwner, fsMDIChild)
{
  SetName("DesktopFrm");
  SetColor(clWhite);
  FNodes = DesktopTree::Load();
  SetWindowState(wsMaximized);
  SelectNode(DesktopTree::RemindersIndex(FNodes));
}

TDesktopFrm::~TDesktopFrm()
{
  if (MainWindow::DesktopFrm == this) MainWindow::DesktopFrm = nullptr;
}

std::vector<int> TDesktopFrm::IconNodes() const
{
  std::vector<int> out;
  for (size_t i = 0; i < FNodes.size(); ++i)
    if (FNodes[i].Parent == 0) out.push_back(int(i));
  return out;
}

AnsiString TDesktopFrm::GetLabelText() const
{
  return SysUtils::Format("\\\\我的桌面 %d个项目", {int(IconNodes().size())});
}

void TDesktopFrm::SelectNode(int Index)
{
  if (Index < 0 || Index >= int(FNodes.size())) return;
  Forms::Application->ProcessMessages();
  const TDesktopNode& node = FNodes[size_t(Index)];
  {
    FormParts::THourglass wait;
    RunHandler(node);
  }
  FSelected = Index;
  SetCaption(node.Text);
}

void TDesktopFrm::Refresh()
{
  if (FSelected >= 0) SelectNode(FSelected);
}

void TDesktopFrm::RunHandler(const TDesktopNode& Node)
{
  switch (Node.Data.Handler) {
    case TNodeHandler::CloseListFrame: CloseListFrame(); break;
    case TNodeHandler::ConfirmExit: ConfirmExit(); break;
    default: Desktop::ListFrames().Current()(*this, Node); break;
  }
}

TFrame* TDesktopFrm::SetListFrame(TFrame* Frame)
{
  if (Frame == FFrame) return Frame;
  delete FFrame;
  FFrame = Frame;
  return Frame;
}

void TDesktopFrm::CloseListFrame() { SetListFrame(nullptr); }

void TDesktopFrm::ConfirmExit()
{
  if (Dialogs::MessageDlg("\n\r您确定要退出系统吗?\t", mtWarning, {mbOK, mbCancel}, 0) == mrOk) {
    if (TCustomForm* main = Forms::Application->GetMainForm()) main->Close();
  }
  throw EAbort("");
}

void TDesktopFrm::WndProc(TMessage& Message)
{
  if (Message.Msg == Desktop::WM_OPTIONSCHANGED) {
    // Only the contract frame has captions to reload; it answers through its own handler.
    if (FFrame) FFrame->Perform(Desktop::WM_OPTIONSCHANGED, Message.WParam, Message.LParam);
    return;
  }
  TaFrm::WndProc(Message);
}

void TDesktopFrm::DoClose(TCloseAction& Action)
{
  // No close handling of its own: as an MDI child it is only minimized.
  TaFrm::DoClose(Action);
}
