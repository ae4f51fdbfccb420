#include "platform/commctrl/CommCtrl.h"

#include "platform/commctrl/edit/Edit.h"

namespace CommCtrl {

void Initialize() { Edit::Register(); }

}  // namespace CommCtrl
