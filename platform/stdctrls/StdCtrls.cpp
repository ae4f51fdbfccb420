#include "platform/stdctrls/StdCtrls.h"

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/controls/Controls.h"
#include "platform/stdctrls/buttons/BitBtn.h"
#include "platform/stdctrls/buttons/Button.h"
#include "platform/stdctrls/buttons/CheckBox.h"
#include "platform/stdctrls/buttons/RadioButton.h"
#include "platform/stdctrls/buttons/RadioGroup.h"
#include "platform/stdctrls/buttons/SpeedButton.h"
#include "platform/stdctrls/comctrls/DateTimePicker.h"
#include "platform/stdctrls/comctrls/ListView.h"
#include "platform/stdctrls/comctrls/MonthCalendar.h"
#include "platform/stdctrls/comctrls/PageControl.h"
#include "platform/stdctrls/comctrls/ProgressBar.h"
#include "platform/stdctrls/comctrls/StatusBar.h"
#include "platform/stdctrls/comctrls/TreeView.h"
#include "platform/stdctrls/comctrls/UpDown.h"
#include "platform/stdctrls/dialogs/CommDlg.h"
#include "platform/stdctrls/edits/MaskEdit.h"
#include "platform/stdctrls/edits/Memo.h"
#include "platform/stdctrls/grids/DrawGrid.h"
#include "platform/stdctrls/lists/ComboBox.h"
#include "platform/stdctrls/lists/ListBox.h"
#include "platform/stdctrls/panels/Bevel.h"
#include "platform/stdctrls/panels/Image.h"
#include "platform/stdctrls/panels/Label.h"
#include "platform/stdctrls/panels/Panel.h"
#include "platform/stdctrls/panels/ScrollBar.h"
#include "platform/stdctrls/panels/ScrollBox.h"
#include "platform/stdctrls/panels/Shape.h"
#include "platform/stdctrls/panels/Splitter.h"

namespace StdCtrls {

void Initialize()
{
  static bool done = false;
  if (done) return;
  done = true;
  Controls::Initialize();
  Classes::RegisterClasses({TEdit::StaticClass(), TMaskEdit::StaticClass(), TMemo::StaticClass(),
                            TButton::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                            TGroupBox::StaticClass(), TRadioGroup::StaticClass(), TBitBtn::StaticClass(),
                            TSpeedButton::StaticClass(), TListBox::StaticClass(), TComboBox::StaticClass()});
  // The common-control wrappers.
  Classes::RegisterClasses({TTreeView::StaticClass(), TListView::StaticClass(), TStatusBar::StaticClass(),
                            TUpDown::StaticClass(), TProgressBar::StaticClass(), TDateTimePicker::StaticClass(),
                            TMonthCalendar::StaticClass(), TTabControl::StaticClass(), TPageControl::StaticClass(),
                            TTabSheet::StaticClass()});
  // The grids.
  Classes::RegisterClasses({TDrawGrid::StaticClass(), TStringGrid::StaticClass()});
  // The panels and graphic controls.
  Classes::RegisterClasses({TLabel::StaticClass(), TPanel::StaticClass(), TBevel::StaticClass(), TShape::StaticClass(),
                            TImage::StaticClass(), TSplitter::StaticClass(), TScrollBox::StaticClass(),
                            TScrollBar::StaticClass()});
  CommDlg::Initialize();
}

}  // namespace StdCtrls
