// The application core's windows on the headless desktop: a program folder with a new database
// (CoreFixture), the application object and the standard controls, and a script of steps run on
// each modal form as it comes up, so that dialogs shown deep inside a routine can be filled in and
// answered.
#pragma once

#include "core/qxProj.h"
#include "core/tests/CoreTestSupport.h"
#include "platform/forms/app/Application.h"
#include "platform/forms/app/Screen.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/controls/Controls.h"
#include "platform/stdctrls/StdCtrls.h"
#include "platform/stdctrls/dialogs/Dialogs.h"
#include "platform/stdctrls/menus/Menus.h"
#include "platform/testsupport/ModalSteps.h"
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
    ModalSteps.Clear();
    qxProj::Finalize();
    CoreFixture::TearDown();
    Dialogs::Finalize();
    Forms::FinalizeApplication();
    Headless::Start(1024, 768);
  }

  static TCustomForm* ModalForm() { return TModalSteps::ModalForm(); }
  template <class T>
  static T* Modal()
  {
    return TModalSteps::Modal<T>();
  }
  // Steps run on each modal form as it comes up; steps left over fail the test at tear-down.
  void OnModal(TModalSteps::TStep Step) { ModalSteps.Add(std::move(Step)); }
  size_t StepsLeft() const { return ModalSteps.Left(); }

  TModalSteps ModalSteps;
};
