// The contract between the report objects and the designer: property editors and property
// lists over the published properties, component editors, and the five registries (objects,
// component editors, property editors, export filters, wizards).
//
// Sections: property editors, property lists, component editors, registries, unit routines.
// The registries are created by Initialize (or on first use) and freed by Finalize; the designer
// window, its menus and the dialogs of the editors come with the window layer, so the designer
// and the menu are passed as plain components here.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/rtl/Service.h"
#include "platform/rtl/StringList.h"

class TfrxComponent;
class TfrxCustomExportFilter;
class TFont;
class TBitmap;

// Attribute bits of GetAttributes.
enum : Byte {
  paValueList = 1,
  paSortList = 2,
  paDialog = 4,
  paMultiSelect = 8,
  paSubProperties = 16,
  paReadOnly = 32,
  paOwnerDraw = 64
};

// ---- Property editors ------------------------------------------------------------------------

class TfrxPropertyEditor : public TObject {
  PELTO_DECLARE_CLASS(TfrxPropertyEditor, TObject)
public:
  TfrxPropertyEditor() = default;
  ~TfrxPropertyEditor() override = default;
  TfrxPropertyEditor(const TfrxPropertyEditor&) = delete;
  TfrxPropertyEditor& operator=(const TfrxPropertyEditor&) = delete;

  // Adds one edited object with its own record of the property.
  void AddObject(TObject* Obj, const TPropInfo* Prop);
  TComponent* Designer = nullptr;
  Integer RowHeight = 0;
  TStringList* GetValuesList() { return &FValues; }

  // True when the value changed. The base steps to the next entry of GetValues, wrapping.
  virtual bool Edit();
  virtual Byte GetAttributes() { return paMultiSelect; }
  virtual AnsiString GetName();
  virtual Integer GetExtraListWidth() { return RowHeight + 2; }
  virtual AnsiString GetValue() { return "(Unknown)"; }
  // Clears Values (sorted with paSortList); editors with a list fill it.
  virtual void GetValues();
  // Raises Exception "prInvProp" (or a conversion error) for text it cannot accept; nothing
  // changes then.
  virtual void SetValue(const AnsiString& Value) {}

  TObject* GetComponent() const { return FObjects.empty() ? nullptr : FObjects[0]; }
  TfrxComponent* GetFrxComponent() const;
  const TPropInfo* GetPropInfo() const { return FProps.empty() ? nullptr : FProps[0]; }
  Int64 GetOrdValue() const;
  Extended GetFloatValue() const;
  AnsiString GetStrValue() const;
  // Write to every edited object through its own record.
  void SetOrdValue(Int64 Value);
  void SetFloatValue(Extended Value);
  void SetStrValue(const AnsiString& Value);
  void AddValue(const AnsiString& Text) { FValues.Add(Text); }

  const std::vector<TObject*>& GetObjects() const { return FObjects; }
  const std::vector<const TPropInfo*>& GetProps() const { return FProps; }

protected:
  TStringList FValues;

private:
  std::vector<TObject*> FObjects;
  std::vector<const TPropInfo*> FProps;
};

#define FRX_EDITOR(Name, Parent)      \
  class Name : public Parent {        \
    PELTO_DECLARE_CLASS(Name, Parent) \
  public:

FRX_EDITOR(TfrxIntegerProperty, TfrxPropertyEditor)
AnsiString GetValue() override;
void SetValue(const AnsiString& Value) override;
}
;
FRX_EDITOR(TfrxFloatProperty, TfrxPropertyEditor)
AnsiString GetValue() override;
void SetValue(const AnsiString& Value) override;
}
;
FRX_EDITOR(TfrxCharProperty, TfrxPropertyEditor)
AnsiString GetValue() override;
void SetValue(const AnsiString& Value) override;
}
;
FRX_EDITOR(TfrxStringProperty, TfrxPropertyEditor)
AnsiString GetValue() override;
void SetValue(const AnsiString& Value) override;
}
;
FRX_EDITOR(TfrxEnumProperty, TfrxPropertyEditor)
Byte GetAttributes() override { return paMultiSelect | paSortList | paValueList; }
AnsiString GetValue() override;
void GetValues() override;
void SetValue(const AnsiString& Value) override;
}
;
FRX_EDITOR(TfrxSetProperty, TfrxPropertyEditor)
Byte GetAttributes() override { return paMultiSelect | paSubProperties | paReadOnly; }
AnsiString GetValue() override;
}
;
FRX_EDITOR(TfrxSetElementProperty, TfrxPropertyEditor)
Byte GetAttributes() override { return paMultiSelect | paSortList | paValueList; }
AnsiString GetName() override;
AnsiString GetValue() override;
void GetValues() override;
void SetValue(const AnsiString& Value) override;
Integer Element = 0;
}
;
FRX_EDITOR(TfrxClassProperty, TfrxPropertyEditor)
Byte GetAttributes() override { return paMultiSelect | paSubProperties | paReadOnly; }
AnsiString GetValue() override { return AnsiString(); }
}
;
FRX_EDITOR(TfrxComponentProperty, TfrxPropertyEditor)
Byte GetAttributes() override { return paMultiSelect | paSortList | paValueList; }
AnsiString GetValue() override;
void GetValues() override;
void SetValue(const AnsiString& Value) override;
}
;
FRX_EDITOR(TfrxNameProperty, TfrxStringProperty)
Byte GetAttributes() override { return 0; }
}
;
FRX_EDITOR(TfrxModalResultProperty, TfrxIntegerProperty)
Byte GetAttributes() override { return paMultiSelect | paValueList; }
AnsiString GetValue() override;
void GetValues() override;
void SetValue(const AnsiString& Value) override;
}
;
// Colours show as the platform's name, else "$" and eight hex digits of the value
// (0x00BBGGRR); text is a name or an integer ("$" hex accepted). Edit opens the colour dialog
// through frxDsgnIntf::ColorDialogService and answers False, changing nothing, when it is cancelled
// or no dialog is installed.
FRX_EDITOR(TfrxColorProperty, TfrxIntegerProperty)
Byte GetAttributes() override { return paMultiSelect | paValueList | paOwnerDraw; }
bool Edit() override;
AnsiString GetValue() override;
void GetValues() override;
void SetValue(const AnsiString& Value) override;
}
;
// The font of an object: no value text, the font's properties as sub-properties. Edit opens the
// font dialog through frxDsgnIntf::FontDialogService and gives the chosen font to every edited
// object; it answers False, changing nothing, when the dialog is cancelled or none is installed.
FRX_EDITOR(TfrxFontProperty, TfrxClassProperty)
Byte GetAttributes() override { return paMultiSelect | paSubProperties | paReadOnly | paDialog; }
bool Edit() override;
}
;
// The value list holds the installed font families (frxDsgnIntf::FontNamesService).
FRX_EDITOR(TfrxFontNameProperty, TfrxStringProperty)
Byte GetAttributes() override { return paMultiSelect | paSortList | paValueList; }
void GetValues() override;
}
;
FRX_EDITOR(TfrxFontCharsetProperty, TfrxIntegerProperty)
Byte GetAttributes() override { return paMultiSelect | paSortList | paValueList; }
AnsiString GetValue() override;
void GetValues() override;
void SetValue(const AnsiString& Value) override;
}
;
// Text that names no key raises "prInvProp" rather than clearing the shortcut.
FRX_EDITOR(TfrxShortCutProperty, TfrxPropertyEditor)
Byte GetAttributes() override { return paMultiSelect | paValueList; }
AnsiString GetValue() override;
void GetValues() override;
void SetValue(const AnsiString& Value) override;
}
;
FRX_EDITOR(TfrxCursorProperty, TfrxIntegerProperty)
Byte GetAttributes() override { return paMultiSelect | paSortList | paValueList; }
AnsiString GetValue() override;
void GetValues() override;
void SetValue(const AnsiString& Value) override;
}
;
#undef FRX_EDITOR

// ---- Property lists --------------------------------------------------------------------------

class TfrxPropertyList;

class TfrxPropertyItem : public TCollectionItem {
  PELTO_DECLARE_CLASS(TfrxPropertyItem, TCollectionItem)
public:
  explicit TfrxPropertyItem(TCollection* Collection) : TCollectionItem(Collection) {}
  ~TfrxPropertyItem() override;
  std::unique_ptr<TfrxPropertyEditor> Editor;
  bool Expanded = false;
  std::unique_ptr<TfrxPropertyList> SubProperty;
};

class TfrxPropertyList : public TCollection {
  PELTO_DECLARE_CLASS(TfrxPropertyList, TCollection)
public:
  explicit TfrxPropertyList(TComponent* ADesigner);
  TfrxPropertyItem* Add() { return static_cast<TfrxPropertyItem*>(TCollection::Add()); }
  TfrxPropertyItem* GetItems(int Index) const { return static_cast<TfrxPropertyItem*>(GetItem(Index)); }
  // Describes Obj (not owned): one item per published property that has an editor, by name.
  void SetComponent(TObject* Obj);
  TObject* GetComponent() const { return FComponent; }
  TfrxPropertyList* Parent = nullptr;
  TComponent* Designer;

private:
  void FillProperties(TObject* Obj);
  TObject* FComponent = nullptr;
};

// ---- Component editors -----------------------------------------------------------------------

class TfrxComponentEditor : public TObject {
  PELTO_DECLARE_CLASS(TfrxComponentEditor, TObject)
public:
  TfrxComponentEditor() = default;
  void Init(TfrxComponent* AComponent, TComponent* ADesigner, TComponent* AMenu);
  virtual bool Edit() { return false; }
  virtual bool HasEditor() { return false; }
  virtual void GetMenuItems() {}
  virtual bool Execute(Integer Tag, bool Checked) { return false; }
  TfrxComponent* Component = nullptr;
  TComponent* Designer = nullptr;
  TComponent* Menu = nullptr;
};

// ---- Registries ------------------------------------------------------------------------------

class TfrxObjectItem : public TCollectionItem {
  PELTO_DECLARE_CLASS(TfrxObjectItem, TCollectionItem)
public:
  explicit TfrxObjectItem(TCollection* C);
  ~TfrxObjectItem() override;
  TClass ClassRef = nullptr;           // none for a category entry
  std::unique_ptr<TBitmap> ButtonBmp;  // the palette button's picture; none when not given
  Integer ButtonImageIndex = -1;
  AnsiString ButtonHint;  // a resource key
  AnsiString CategoryName;
  Word Flags = 0;
};

class TfrxObjectCollection : public TCollection {
  PELTO_DECLARE_CLASS(TfrxObjectCollection, TCollection)
public:
  TfrxObjectCollection() : TCollection(TfrxObjectItem::StaticClass()) {}
  // A class with the same flags registered before is not added again; a class is also made
  // known to the class registry so that report files can create it.
  // The entry keeps a copy of Bitmap (nullptr: no picture).
  void Register(TClass ClassRef, TBitmap* Bitmap, const AnsiString& Hint = AnsiString(),
                const AnsiString& CategoryName = AnsiString(), Word Flags = 0, Integer ImageIndex = -1);
  void Register(TClass ClassRef, const AnsiString& Hint = AnsiString(), const AnsiString& CategoryName = AnsiString(),
                Word Flags = 0, Integer ImageIndex = -1)
  {
    Register(ClassRef, nullptr, Hint, CategoryName, Flags, ImageIndex);
  }
  void RegisterCategory(const AnsiString& CategoryName, TBitmap* Bitmap, const AnsiString& Hint, Integer ImageIndex);
  void RegisterCategory(const AnsiString& CategoryName, const AnsiString& Hint, Integer ImageIndex)
  {
    RegisterCategory(CategoryName, nullptr, Hint, ImageIndex);
  }
  TfrxObjectItem* GetItems(int Index) const { return static_cast<TfrxObjectItem*>(GetItem(Index)); }
};

class TfrxComponentEditorItem : public TCollectionItem {
  PELTO_DECLARE_CLASS(TfrxComponentEditorItem, TCollectionItem)
public:
  explicit TfrxComponentEditorItem(TCollection* C) : TCollectionItem(C) {}
  TClass ComponentClass = nullptr;
  TClass ComponentEditor = nullptr;
};

class TfrxComponentEditorCollection : public TCollection {
  PELTO_DECLARE_CLASS(TfrxComponentEditorCollection, TCollection)
public:
  TfrxComponentEditorCollection() : TCollection(TfrxComponentEditorItem::StaticClass()) {}
  void Register(TClass ComponentClass, TClass EditorClass);
  // The entry of the component's own class, else the last one of an ancestor; nullptr when
  // none. The caller owns the editor.
  std::unique_ptr<TfrxComponentEditor> CreateEditor(TfrxComponent* Component, TComponent* Designer, TComponent* Menu);
  TfrxComponentEditorItem* GetItems(int Index) const { return static_cast<TfrxComponentEditorItem*>(GetItem(Index)); }
};

class TfrxPropertyEditorItem : public TCollectionItem {
  PELTO_DECLARE_CLASS(TfrxPropertyEditorItem, TCollectionItem)
public:
  explicit TfrxPropertyEditorItem(TCollection* C) : TCollectionItem(C) {}
  const TTypeInfo* PropertyType = nullptr;
  TClass ComponentClass = nullptr;  // none: any object
  AnsiString PropertyName;          // empty: any property of the type
  TClass EditorClass = nullptr;     // none: the property is hidden
};

class TfrxPropertyEditorCollection : public TCollection {
  PELTO_DECLARE_CLASS(TfrxPropertyEditorCollection, TCollection)
public:
  TfrxPropertyEditorCollection() : TCollection(TfrxPropertyEditorItem::StaticClass()) {}
  void Register(const TTypeInfo* PropertyType, TClass ComponentClass, const AnsiString& PropertyName,
                TClass EditorClass);
  void RegisterEventEditor(TClass EditorClass);
  // The entry that decides the editor of the property, -1 when none does.
  int GetEditorIndex(const TTypeInfo* PropertyType, const TObject* Obj, const AnsiString& PropertyName) const;
  TfrxPropertyEditorItem* GetItems(int Index) const { return static_cast<TfrxPropertyEditorItem*>(GetItem(Index)); }
  int EventEditorIndex = -1;
};

class TfrxExportFilterItem : public TCollectionItem {
  PELTO_DECLARE_CLASS(TfrxExportFilterItem, TCollectionItem)
public:
  explicit TfrxExportFilterItem(TCollection* C) : TCollectionItem(C) {}
  TfrxCustomExportFilter* Filter = nullptr;  // not owned
};

class TfrxExportFilterCollection : public TCollection {
  PELTO_DECLARE_CLASS(TfrxExportFilterCollection, TCollection)
public:
  TfrxExportFilterCollection() : TCollection(TfrxExportFilterItem::StaticClass()) {}
  // nullptr and a filter already listed are ignored.
  void Register(TfrxCustomExportFilter* Filter);
  void Unregister(TfrxCustomExportFilter* Filter);
  TfrxExportFilterItem* GetItems(int Index) const { return static_cast<TfrxExportFilterItem*>(GetItem(Index)); }
};

class TfrxWizardItem : public TCollectionItem {
  PELTO_DECLARE_CLASS(TfrxWizardItem, TCollectionItem)
public:
  explicit TfrxWizardItem(TCollection* C);
  ~TfrxWizardItem() override;
  TClass ClassRef = nullptr;
  std::unique_ptr<TBitmap> ButtonBmp;  // none when not given
  Integer ButtonImageIndex = -1;       // set when the designer adds the picture to its images
  bool IsToolbarWizard = false;
};

class TfrxWizardCollection : public TCollection {
  PELTO_DECLARE_CLASS(TfrxWizardCollection, TCollection)
public:
  TfrxWizardCollection() : TCollection(TfrxWizardItem::StaticClass()) {}
  // A class already listed is ignored. The entry keeps a copy of Bitmap (nullptr: no picture).
  void Register(TClass ClassRef, TBitmap* Bitmap, bool OnToolbar = false);
  void Register(TClass ClassRef, bool OnToolbar = false) { Register(ClassRef, nullptr, OnToolbar); }
  void Unregister(TClass ClassRef);
  TfrxWizardItem* GetItems(int Index) const { return static_cast<TfrxWizardItem*>(GetItem(Index)); }
};

// ---- Unit routines ---------------------------------------------------------------------------

namespace frxDsgnIntf {

// Creates the registries (object, component editor, property editor, export filter, wizard)
// and the standard editor registrations once; the accessors below call it.
void Initialize();
// Frees the registries.
void Finalize();
TfrxObjectCollection* ObjectRegistry();
TfrxComponentEditorCollection* ComponentEditorRegistry();
TfrxPropertyEditorCollection* PropertyEditorRegistry();
TfrxExportFilterCollection* ExportFilterRegistry();
TfrxWizardCollection* WizardRegistry();
// The registry if it exists (nullptr after Finalize), for destructors.
TfrxExportFilterCollection* ExportFilterRegistryIfAny();

// Type records of the platform types that have editors of their own. Registrations match a
// property's type by record or by name, so another unit's record named "TColor" is served too.
const TTypeInfo* TypeInfo_TFontName();
const TTypeInfo* TypeInfo_TModalResult();
const TTypeInfo* TypeInfo_TShortCut();
const TTypeInfo* TypeInfo_TCursor();

// Services the window layer replaces with its dialogs. The colour dialog gets the current colour
// and answers True with the chosen one in Color. The font dialog gets a copy of the current
// font, accepts only installed fonts and answers True with the chosen one in Font. By default
// there is no dialog (Edit answers False). The font names service adds the family names to
// offer; by default the installed screen fonts (the classic faces included), each name once.
using TColorDialogFunc = bool(Integer& Color);
using TFontDialogFunc = bool(TFont& Font);
using TFontNamesFunc = void(TStrings* Names);
TService<std::function<TColorDialogFunc>>& ColorDialogService();
TService<std::function<TFontDialogFunc>>& FontDialogService();
TService<std::function<TFontNamesFunc>>& FontNamesService();

// Colour names ("clRed", "clBtnFace", "clNone" ...). ColorToString falls back to "$%.8X";
// StringToColor takes a name (case ignored) or an integer and raises EConvertError otherwise.
bool ColorToIdent(Integer Color, AnsiString& Ident);
bool IdentToColor(const AnsiString& Ident, Integer& Color);
AnsiString ColorToString(Integer Color);
Integer StringToColor(const AnsiString& Text);
void GetColorValues(const std::function<void(const AnsiString&)>& Proc);
// Charset identifiers ("GB2312_CHARSET" ...).
bool CharsetToIdent(Integer Charset, AnsiString& Ident);
bool IdentToCharset(const AnsiString& Ident, Integer& Charset);
void GetCharsetValues(const std::function<void(const AnsiString&)>& Proc);
// Cursor identifiers ("crHourGlass" ...).
bool CursorToIdent(Integer Cursor, AnsiString& Ident);
bool IdentToCursor(const AnsiString& Ident, Integer& Cursor);
void GetCursorValues(const std::function<void(const AnsiString&)>& Proc);
// Shortcut words: key code | 0x2000 Shift | 0x4000 Ctrl | 0x8000 Alt. The text is the
// modifiers "Shift+", "Ctrl+", "Alt+" in that order and the key's name; empty for a key
// without a name. TextToShortCut takes the modifiers in any order and case; 0 for no key.
AnsiString ShortCutToText(Word ShortCut);
Word TextToShortCut(const AnsiString& Text);

// Hides the ';'-separated properties of ComponentClass and its descendants.
void HideProperties(TClass ComponentClass, const AnsiString& Names);
// Every ',' and '.' read as the locale's separator, blanks trimmed; raises EConvertError.
Extended StrToFloatAnySep(const AnsiString& Text);
// The editor for one property of Obj: the registered one, DefaultClass when none is
// registered, nullptr when the property is hidden. The caller owns it.
std::unique_ptr<TfrxPropertyEditor> CreatePropertyEditor(TClass DefaultClass, TObject* Obj, const TPropInfo* Prop,
                                                         TComponent* Designer);
// The properties a selection shares, whose editors write to every selected object; nullptr
// for an empty selection. The caller owns the list.
std::unique_ptr<TfrxPropertyList> CreateCommonPropertyList(const std::vector<TObject*>& Objects, TComponent* Designer);

}  // namespace frxDsgnIntf
