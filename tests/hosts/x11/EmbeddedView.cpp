#include "tests/hosts/x11/EmbeddedView.h"

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace orvane::x11host {

using namespace Steinberg;

std::unique_ptr<EmbeddedView> EmbeddedView::open(Vst::IEditController* controller,
                                                 std::string& error, EmbedOptions options,
                                                 tresult* attachResult) {
  IPlugView* view = controller ? controller->createView(Vst::ViewType::kEditor) : nullptr;
  if (!view) {
    error = "the controller has no editor view";
    return nullptr;
  }
  std::unique_ptr<EmbeddedView> embedded(new EmbeddedView);
  embedded->loop_.setTimerStretch(options.timerStretch);
  embedded->view_ = view;
  if (view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) != kResultTrue) {
    error = "the view does not take an X11 window";
    return nullptr;
  }
  ViewRect rect;
  view->getSize(&rect);
  embedded->window_ = HostWindow::create(std::max(rect.getWidth(), 1),
                                         std::max(rect.getHeight(), 1), error, options.background);
  if (!embedded->window_)
    return nullptr;
  embedded->frame_ = new HostFrame(embedded->loop_, *embedded->window_, options.offersRunLoop);
  view->setFrame(embedded->frame_);
  if (options.contentScale > 0.f)
    embedded->setContentScale(options.contentScale);
  const tresult result =
      view->attached(embedded->window_->parentHandle(), kPlatformTypeX11EmbedWindowID);
  if (attachResult)
    *attachResult = result;
  if (result != kResultOk) {
    error = "attached refused the window";
    return nullptr;
  }
  embedded->attached_ = true;
  // A host sizes its window to what the view says once attached (a scale may have changed it).
  if (view->getSize(&rect) == kResultOk && rect.getWidth() > 0 && rect.getHeight() > 0)
    embedded->window_->resize(rect.getWidth(), rect.getHeight());
  return embedded;
}

EmbeddedView::~EmbeddedView() {
  close();
  if (frame_)
    frame_->release();
}

ViewRect EmbeddedView::size() const {
  ViewRect rect;
  if (view_)
    view_->getSize(&rect);
  return rect;
}

tresult EmbeddedView::setContentScale(float factor) {
  IPlugViewContentScaleSupport* scaling = nullptr;
  if (view_->queryInterface(IPlugViewContentScaleSupport::iid,
                            reinterpret_cast<void**>(&scaling)) != kResultOk ||
      !scaling)
    return kNoInterface;
  const tresult result = scaling->setContentScaleFactor(factor);
  scaling->release();
  return result;
}

tresult EmbeddedView::remove() {
  if (!view_ || !attached_)
    return kResultFalse;
  attached_ = false;
  return view_->removed();
}

void EmbeddedView::close() {
  if (view_) {
    if (attached_)
      view_->removed();
    view_->setFrame(nullptr);
    view_->release();
    view_ = nullptr;
    attached_ = false;
  }
}

} // namespace orvane::x11host
