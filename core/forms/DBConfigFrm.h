// TDBConfigFrm: the connection dialog the start-up loop shows when the database can't be opened:
// the provider (0 a PostgreSQL server, 1 the embedded database file, 2 a server named by the
// connection broker) and its settings, saved to cfg.ini on OK.
//
// A port that is not a number is reported in the dialog, which stays open with nothing saved.
#pragma once

#include <memory>
#include <vector>

#include "core/DBConfig.h"
#include "platform/forms/forms/Form.h"

class TButton;
class TCheckBox;
class TComboBox;
class TControl;
class TEdit;

class TDBConfigFrm : public TForm {
  PELTO_DECLARE_CLASS(TDBConfigFrm, TForm)
public:
  // ProgramPath places cfg.ini (the running program when empty).
  TDBConfigFrm(TComponent* AOwner, const AnsiString& ProgramPath = AnsiString());
  ~TDBConfigFrm() override;

  // The provider list's texts, by index.
  static const char* const ProviderTexts[3];
  // The page names, by provider index.
  static const char* const PageNames[3];

  TComboBox* ComboBox1 = nullptr;
  TEdit *mssqlServerEdit1 = nullptr, *mssqlDbEdit1 = nullptr, *mssqlUserEdit1 = nullptr, *mssqlPwEdit1 = nullptr,
        *mssqlPortEdit1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TEdit *jetfileEdit1 = nullptr, *jetUserEdit1 = nullptr, *jetPwEdit1 = nullptr;
  TButton* jetFileButton1 = nullptr;
  TCheckBox* jetDefaultCheckBox1 = nullptr;
  TEdit *edtZorUrl1 = nullptr, *edtZorUser1 = nullptr;
  TButton *Button1 = nullptr, *Button2 = nullptr;

  WideString GetConnectionString();
  TDBConfiger& GetConfiger() { return *FConfig; }
  // The page shown (the provider index).
  int GetPageIndex() const { return FPage; }

  void ComboBox1Select(TObject* Sender);
  void jetDefaultCheckBox1Click(TObject* Sender);
  void Button1Click(TObject* Sender);

  // The dialog behind the connection loop.
  static std::unique_ptr<IDBConfigDialog> MakeDialog(const AnsiString& ProgramPath);

protected:
  void KeyDown(Word& Key, TShiftState Shift) override;

private:
  void ShowPage(int Index);

  std::unique_ptr<TDBConfiger> FConfig;
  std::vector<TControl*> FPages[3];
  int FPage = 0;
};
