#include "report/engine/model/frxCustomPreview.h"

#include "report/engine/model/frxReport.h"

TfrxCustomPreview::~TfrxCustomPreview()
{
  if (Report && Report->GetPreview() == this) Report->SetPreview(nullptr);
}

namespace frxCustomPreview {

namespace {
class TNoWindows : public IfrxReportWindows {
public:
  void ShowPreviewForm(TfrxReport*) override {}
  std::unique_ptr<IfrxProgressWindow> NewProgress() override { return nullptr; }
};
class TNoDesigner : public IfrxDesignerLink {
public:
  bool IsLinked() const override { return false; }
  void ShowDesigner(TfrxReport*) override {}
  bool DesignPreviewPage(TfrxReport*) override { return false; }
};
}  // namespace

TService<IfrxDesignerLink>& DesignerLink()
{
  static TService<IfrxDesignerLink> slot(std::make_unique<TNoDesigner>());
  return slot;
}

TService<IfrxReportWindows>& ReportWindows()
{
  static TService<IfrxReportWindows> slot(std::make_unique<TNoWindows>());
  return slot;
}

}  // namespace frxCustomPreview

PELTO_DEFINE_CLASS(TfrxCustomPreview)
