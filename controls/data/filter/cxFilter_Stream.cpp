// The criteria stream: the criteria as the one published property of a wrapper component,
// written and read by the component stream.
#include "controls/data/filter/cxFilter.h"
#include "platform/classes/Component.h"
#include "platform/classes/Filer.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Guards.h"

namespace {

class TFilterWrapper : public TComponent {
  PELTO_CLASS(TFilterWrapper, TComponent)
public:
  explicit TFilterWrapper(TComponent* AOwner) : TComponent(AOwner) {}
  TcxFilterCriteria* GetFilter() const { return FFilter; }
  void SetFilter(TcxFilterCriteria* Value) { FFilter = Value; }

  PELTO_PUBLISHED(p) { p.Property("Filter", &TFilterWrapper::GetFilter, &TFilterWrapper::SetFilter); }

private:
  TcxFilterCriteria* FFilter = nullptr;  // not owned
};

}  // namespace

void TcxFilterCriteria::SaveToStream(TStream* AStream)
{
  TFilterWrapper wrapper(nullptr);
  wrapper.SetFilter(this);
  Classes::WriteComponent(AStream, &wrapper);
}

void TcxFilterCriteria::LoadFromStream(TStream* AStream)
{
  TUpdateGuard lock(*this);
  ResetForLoading();
  TFilterWrapper wrapper(nullptr);
  wrapper.SetFilter(this);
  Classes::ReadComponent(AStream, &wrapper);
}

void TcxFilterCriteria::DefineCriteriaData(TFiler* Filer)
{
  Filer->DefineBinaryProperty(
      "Criteria", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, HasContent());
}

void TcxFilterCriteria::ResetForLoading()
{
  Clear();
  SetMaxValueListCount(0);
  SetOptions({});
  SetPercentWildcard('%');
  SetUnderscoreWildcard('_');
}
