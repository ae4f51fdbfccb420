// The application core's windows on the headless desktop: a program folder with a new database
// (CoreFixture), the application object and the standard controls, and a script of steps run on
// each modal form as it comes up, so that dialogs shown deep inside a routine can be filled in and
// answered.
#pragma once

#include <deque>
#include <functional>
#include <memory>

#include "core/qxProj.h"
#include "core/tests/CoreTestSupport.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/controls/Controls.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/win/backend/Headless.h"

class CoreFormsFixture : public CoreFixture {
protected:
  void SetUp() override
  {
    Headless::Start(1024, 768);
    Forms::FinalizeApplication();
    Controls::Initialize();
    Forms::InitializeApplication();
    StdCtrls::Initialize();
    Menus::Initialize();
    CoreFixture::SetUp();
    qxProj::Initialize();
  }
  void TearDown() override
  {
    Steps.clear();
    Stepper.reset();
    qxProj::Finalize();
    CoreFixture::TearDown();
    Dialogs::Finalize();
    Forms::FinalizeApplication();
    Headless::Start(1024, 768);
  }

  // The modal form showing now (the innermost), or null.
  static TCustomForm* ModalForm()
  {
    TCustomForm* found = nullptr;
    for (int i = 0; i < Forms::Screen->GetCustomFormCount(); ++i) {
      TCustomForm* f = Forms::Screen->GetCustomForms(i);
      if (f->GetFormState().Contains(fsModal)) found = f;
    }
    return found;
  }
  template <class T>
  static T* Modal()
  {
    return dynamic_cast<T*>(ModalForm());
  }

  // Each step runs once a modal form shows, in order; a step usually ends by setting the form's
  // ModalResult (or clicking a button). Steps left over fail the test at tear-down.
  void OnModal(std::function<void(TCustomForm*)> Step)
  {
    Steps.push_back(std::move(Step));
    if (!Stepper) {
      Stepper = std::make_unique<TTimer>(nullptr);
      Stepper->SetInterval(1);
      Stepper->SetOnTimer([this](TObject*) {
        TCustomForm* f = ModalForm();
        if (!f || Steps.empty() || f->GetModalResult() != mrNone) return;
        auto step = std::move(Steps.front());
        Steps.pop_front();
        step(f);
      });
    }
  }
  size_t StepsLeft() const { return Steps.size(); }

  std::deque<std::function<void(TCustomForm*)>> Steps;
  std::unique_ptr<TTimer> Stepper;
};
