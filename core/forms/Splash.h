// TSplashFrm: the borderless window shown while the program connects: the picture "splash.jpg"
// of the program's folder (none when the file is missing or unreadable) and a status line drawn
// over it in silver. It is repainted at once on each change, since no message loop runs yet.
#pragma once

#include <memory>

#include "platform/forms/forms/Form.h"

class TPicture;

class TSplashFrm : public TForm {
  PELTO_CLASS(TSplashFrm, TForm)
public:
  // Loads "splash.jpg" from ProgramDir (the program's folder when empty).
  explicit TSplashFrm(TComponent* AOwner, const AnsiString& ProgramDir = AnsiString());
  ~TSplashFrm() override;

  // A non-empty text replaces the status line; an empty one appends ".".
  void ShowHint(const AnsiString& Text);
  const AnsiString& GetStatusText() const { return FStatus; }
  // Null when no picture was loaded.
  TPicture* GetPicture() const { return FPicture.get(); }

  static constexpr int StatusLeft = 5, StatusTop = 207;

protected:
  void Paint() override;

private:
  std::unique_ptr<TPicture> FPicture;
  AnsiString FStatus = "正在创建数据连接...";
};
