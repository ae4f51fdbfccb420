// TPubFrm: the shared data module: the application's 32- and 16-pixel image lists (the project's
// own artwork, drawn at start-up) and the handler of every exception no window handles: a box
// offering to send an error report, then TBuggerFrm.
//
// An exception raised while that box or the report is open shows in a plain error box without a
// second offer, so a fault repeating at every repaint cannot stack boxes without end. A silent
// abort never reaches the box.
#pragma once

#include "platform/forms/forms/DataModule.h"
#include "platform/rtl/Exceptions.h"

class TImageList;

class TPubFrm : public TDataModule {
  PELTO_CLASS(TPubFrm, TDataModule)
public:
  explicit TPubFrm(TComponent* AOwner);
  ~TPubFrm() override;

  TImageList* ImageList32 = nullptr;
  TImageList* ImageList16 = nullptr;

  void ApplicationEvents1Exception(TObject* Sender, Exception* E);

  // How many images each list holds (indexes 0 to ImageCount - 1).
  static constexpr int ImageCount = 27;
};

namespace Pub {
// The one data module; null outside its lifetime.
extern TPubFrm* PubFrm;
// The first box's text for an exception with Message.
AnsiString ExceptionBoxText(const AnsiString& Message);
}  // namespace Pub
