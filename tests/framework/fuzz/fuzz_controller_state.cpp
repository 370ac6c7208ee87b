// The VST 3 controller's two state roads as a whole, for both shipped plug-ins from their
// bundles: setState (the controller state) and setComponentState (the processor state handed
// over by the host). First byte: bit 0 picks the compressor over the EQ, bit 1 the controller
// state over the processor state; the rest is the stream. A state the controller refuses
// changes nothing: its own state and every parameter value stay as they were.
#include "tests/framework/fuzz/FuzzBytes.h"
#include "tests/framework/fuzz/ShippedPlugins.h"
#include "tests/hosts/vst3/MemoryStream.h"

#include <cmath>
#include <cstdlib>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using orvane::testhost::MemoryStream;

namespace {

orvane::testhost::Plugin* gPlugins[2];

std::vector<double> Values(IEditController& controller) {
  std::vector<double> values;
  for (int32 i = 0; i < controller.getParameterCount(); ++i) {
    ParameterInfo info{};
    controller.getParameterInfo(i, info);
    values.push_back(controller.getParamNormalized(info.id));
  }
  return values;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gPlugins[0] = &fuzzplugins::Load(ORVANE_EQ_BUNDLE, orvane::testhost::kEQProcessor);
  gPlugins[1] =
      &fuzzplugins::Load(ORVANE_COMPRESSOR_BUNDLE, orvane::testhost::kCompressorProcessor);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes in(data, size);
  const uint8_t how = in.Byte();
  orvane::testhost::Plugin& plugin = *gPlugins[how & 1];
  IEditController& controller = *plugin.controller();
  const bool controllerState = how & 2;

  const std::vector<uint8_t> stateBefore = plugin.controllerState();
  const std::vector<double> valuesBefore = Values(controller);
  auto* stream = new MemoryStream(in.Rest());
  const tresult result =
      controllerState ? controller.setState(stream) : controller.setComponentState(stream);
  stream->release();
  if (result != kResultOk) {
    if (plugin.controllerState() != stateBefore || Values(controller) != valuesBefore)
      std::abort(); // a refused state changed something
    return 0;
  }
  for (double v : Values(controller))
    if (!(v >= 0.0 && v <= 1.0))
      std::abort(); // an accepted state left a value outside [0, 1]
  return 0;
}
