#include "platform/stdctrls/StdCtrls.h"

#include "platform/classes/ClassRegistry.h"
#include "platform/forms/controls/Controls.h"
#include "platform/stdctrls/edits/MaskEdit.h"
#include "platform/stdctrls/edits/Memo.h"

namespace StdCtrls {

void Initialize()
{
  static bool done = false;
  if (done) return;
  done = true;
  Controls::Initialize();
  Classes::RegisterClasses({TEdit::StaticClass(), TMaskEdit::StaticClass(), TMemo::StaticClass()});
}

}  // namespace StdCtrls
