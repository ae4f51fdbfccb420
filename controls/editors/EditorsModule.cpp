#include "controls/editors/EditorsModule.h"

#include "controls/editors/checkbox/cxCheckBox.h"
#include "controls/editors/dropdown/cxPopupEdit.h"
#include "controls/editors/cxEditConsts.h"
#include "controls/editors/cxResourceStrings.h"
#include "controls/editors/edit/cxEditProperties.h"
#include "controls/editors/formats/cxFormats.h"
#include "controls/editors/paint/cxEditPaintUtils.h"
#include "controls/editors/paint/cxEditUtils.h"
#include "controls/editors/maskedit/cxMaskEdit.h"
#include "controls/editors/memo/cxMemo.h"
#include "controls/editors/spinedit/cxSpinEdit.h"
#include "controls/editors/textedit/cxTextEdit.h"

namespace EditorsModule {

namespace {
bool Initialized = false;
}

void Initialize()
{
  if (Initialized) return;
  cxResourceStrings::Initialize();
  cxEditConsts::Initialize();
  cxFormats::Initialize();
  cxEditPaintUtils::Initialize();
  cxEditUtils::Initialize();
  cxTextEdit::Initialize();
  cxMaskEdit::Initialize();
  cxCheckBox::Initialize();
  cxPopupEdit::Initialize();
  cxMemo::Initialize();
  cxSpinEdit::Initialize();
  Initialized = true;
}

void Finalize()
{
  if (!Initialized) return;
  cxCheckBox::Finalize();
  cxEdit::Finalize();
  cxEditUtils::Finalize();
  cxEditPaintUtils::Finalize();
  cxFormats::Finalize();
  cxEditConsts::Finalize();
  cxResourceStrings::Finalize();
  Initialized = false;
}

}  // namespace EditorsModule
