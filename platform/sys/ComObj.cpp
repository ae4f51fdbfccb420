#include "platform/sys/ComObj.h"

#include <map>
#include <mutex>

#include "platform/rtl/Exceptions.h"
#include "platform/sys/AdoAutomation.h"
#include "platform/sys/ExcelAutomation.h"

namespace ComObj {
namespace {

AnsiString Key(const AnsiString& s)
{
  AnsiString r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

std::mutex Lock;
std::map<AnsiString, TOleObjectFactory> Classes;
bool Initialized = false;

}  // namespace

void RegisterOleClass(const AnsiString& ClassName, TOleObjectFactory Factory)
{
  std::lock_guard<std::mutex> g(Lock);
  Classes[Key(ClassName)] = std::move(Factory);
}

void UnregisterOleClass(const AnsiString& ClassName)
{
  std::lock_guard<std::mutex> g(Lock);
  Classes.erase(Key(ClassName));
}

Variant CreateOleObject(const AnsiString& ClassName)
{
  TOleObjectFactory factory;
  {
    std::lock_guard<std::mutex> g(Lock);
    auto it = Classes.find(Key(ClassName));
    if (it == Classes.end()) throw EOleSysError("Invalid class string");
    factory = it->second;
  }
  return Variant(factory());
}

void Initialize()
{
  {
    std::lock_guard<std::mutex> g(Lock);
    if (Initialized) return;
    Initialized = true;
  }
  RegisterOleClass("excel.application", [] { return ExcelAutomation::CreateExcelApplication(); });
  RegisterOleClass("ADODB.Connection", [] { return AdoAutomation::CreateAdoConnection(); });
}

void Finalize()
{
  std::lock_guard<std::mutex> g(Lock);
  Classes.clear();
  Initialized = false;
}

}  // namespace ComObj
