// TaboutFrm ("关于..."): the product texts, the program's folder and the database address, with
// links to the web site, support and sales, and the company record read-only.
#pragma once

#include "core/forms/a.h"

class TButton;
class TControl;

class TaboutFrm : public TaFrm {
  PELTO_DECLARE_CLASS(TaboutFrm, TaFrm)
public:
  explicit TaboutFrm(TComponent* AOwner);

  TControl *LblProductName1 = nullptr, *LblVersion1 = nullptr, *LblProductCode1 = nullptr, *Label7 = nullptr,
           *Label10 = nullptr, *Label12 = nullptr, *lblExePath1 = nullptr, *lblDatabase1 = nullptr;
  TButton *OkBtn1 = nullptr, *Button1 = nullptr;

  // The texts the labels show, in the order above.
  AnsiString ProductName, Version, ProductCode, ExePath, DataSource;

  void Button1Click(TObject* Sender);
  void lblExePath1Click(TObject* Sender);
  void Label7Click(TObject* Sender);
  void Label10Click(TObject* Sender);
  void Label12Click(TObject* Sender);
};
