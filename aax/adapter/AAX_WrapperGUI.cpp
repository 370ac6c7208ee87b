#include "aax/adapter/AAX_WrapperGUI.h"

#include "gui/AAXView_Interface.h"
#include "aax/adapter/AAXWrapper_Parameters.h"

#include <new>

using namespace Steinberg;

IACFUnknown* AAX_WrapperGUI::Create() {
  auto* editor = new (std::nothrow) AAX_WrapperGUI;
  return editor ? editor->GetOuter() : nullptr;
}

AAX_WrapperGUI::~AAX_WrapperGUI() {
  DeleteViewContainer();
  if (mController)
    std::exchange(mController, nullptr)->release();
}

// The host hands out the effect-parameters interface of the same instance; anything else (a
// foreign object) gets no editor rather than a wrong cast.
AAXWrapper_Parameters* AAX_WrapperGUI::Wrapper() const {
  return dynamic_cast<AAXWrapper_Parameters*>(GetEffectParameters());
}

void AAX_WrapperGUI::CreateViewContents() {
  AAXWrapper_Parameters* wrapper = Wrapper();
  if (mController || !wrapper || !wrapper->EditController())
    return;
  mController = wrapper->EditController();
  mController->addRef();
}

void AAX_WrapperGUI::CreateViewContainer() {
  void* parent = GetViewContainerPtr();
  if (mPlugView || !mController)
    return;
  IPlugView* view = mController->createView(Vst::ViewType::kEditor);
  if (!view)
    return;
  mPlugView = view;
  mPlugView->setFrame(this);
  mPlugView->attached(parent, kPlatformTypeNSView);
  if (auto* aaxView = dynamic_cast<AAXView_Interface*>(mController))
    aaxView->SetViewContainer(GetViewContainer());
}

void AAX_WrapperGUI::DeleteViewContainer() {
  if (!mPlugView)
    return;
  if (auto* aaxView = dynamic_cast<AAXView_Interface*>(mController))
    aaxView->SetViewContainer(nullptr);
  mPlugView->setFrame(nullptr);
  mPlugView->removed();
  std::exchange(mPlugView, nullptr)->release();
}

AAX_Result AAX_WrapperGUI::GetViewSize(AAX_Point* size) const {
  ViewRect rect;
  if (mPlugView && size && mPlugView->getSize(&rect) == kResultOk) {
    size->vert = float(rect.bottom - rect.top);
    size->horz = float(rect.right - rect.left);
  }
  return AAX_SUCCESS;
}

AAX_Result AAX_WrapperGUI::ParameterUpdated(AAX_CParamID id) {
  if (AAXWrapper_Parameters* wrapper = Wrapper())
    wrapper->PushParameterToController(id);
  return AAX_SUCCESS;
}

AAX_Result AAX_WrapperGUI::SetControlHighlight(AAX_CParamID id, AAX_CBoolean highlighted,
                                               int32_t colour) {
  auto* aaxView = dynamic_cast<AAXView_Interface*>(mController);
  AAXWrapper_Parameters* wrapper = Wrapper();
  int32 index = -1;
  if (!aaxView || !wrapper || !wrapper->IndexFromAAXID(id, index))
    return AAX_ERROR_UNKNOWN_PARAMETER;
  aaxView->SetControlHighlight(index, highlighted != 0, colour);
  return AAX_SUCCESS;
}

// The host sizes its window from the container; the view is answered 1 whatever happens
// (it has not been resized by the frame).
tresult PLUGIN_API AAX_WrapperGUI::resizeView(IPlugView* view, ViewRect* newSize) {
  if (view && newSize && GetViewContainer()) {
    AAX_Point size{float(newSize->bottom - newSize->top), float(newSize->right - newSize->left)};
    GetViewContainer()->SetViewSize(size);
  }
  return kResultFalse;
}

tresult PLUGIN_API AAX_WrapperGUI::queryInterface(const TUID iid, void** obj) {
  if (!obj)
    return kInvalidArgument;
  const FUID wanted = FUID::fromTUID(iid);
  if (wanted == FUnknown::iid || wanted == IPlugFrame::iid) {
    *obj = static_cast<IPlugFrame*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}
