// A script of steps run on each modal form as it comes up, so that a test can fill in and answer
// dialogs shown deep inside a routine. Header only, for tests that link the forms layer.
#pragma once

#include <deque>
#include <functional>
#include <memory>

#include "platform/forms/app/Screen.h"
#include "platform/forms/app/Timer.h"
#include "platform/forms/forms/CustomForm.h"

class TModalSteps {
public:
  using TStep = std::function<void(TCustomForm*)>;

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

  // Each step runs once a modal form shows that has no modal result yet, in order; a step usually
  // ends by setting the form's ModalResult or clicking one of its buttons.
  void Add(TStep Step)
  {
    FSteps.push_back(std::move(Step));
    if (FTimer) return;
    FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetInterval(1);
    FTimer->SetOnTimer([this](TObject*) {
      TCustomForm* f = ModalForm();
      if (!f || FSteps.empty() || f->GetModalResult() != mrNone) return;
      TStep step = std::move(FSteps.front());
      FSteps.pop_front();
      step(f);
    });
  }
  size_t Left() const { return FSteps.size(); }
  // Drops the steps left and the timer; call before the application goes.
  void Clear()
  {
    FSteps.clear();
    FTimer.reset();
  }

private:
  std::deque<TStep> FSteps;
  std::unique_ptr<TTimer> FTimer;
};
