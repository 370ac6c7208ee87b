// Every interface ID of our declarations must be byte-for-byte the one a Linux host sends.
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "pluginterfaces/vst/ivstattributes.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"

#include "travesty/audio_processor.h"
#include "travesty/component.h"
#include "travesty/edit_controller.h"
#include "travesty/events.h"
#include "travesty/factory.h"
#include "travesty/host.h"
#include "travesty/message.h"
#include "travesty/unit.h"
#include "travesty/view.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace Steinberg;

std::string hex(const void* bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string text;
  for (int i = 0; i < 16; ++i) {
    const auto byte = static_cast<const unsigned char*>(bytes)[i];
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}

struct IdCase {
  const char* name;
  const FUID& ours;
  const uint8_t* travesty;
};

void PrintTo(const IdCase& c, std::ostream* os) {
  *os << c.name;
}

class InterfaceIdTest : public ::testing::TestWithParam<IdCase> {};

TEST_P(InterfaceIdTest, MatchesTravesty) {
  const IdCase& c = GetParam();
  EXPECT_EQ(hex(c.ours.toTUID()), hex(c.travesty)) << c.name;
}

const IdCase kTravestyIds[] = {
    {"FUnknown", FUnknown::iid, v3_funknown_iid},
    {"IPluginBase", IPluginBase::iid, v3_plugin_base_iid},
    {"IPluginFactory", IPluginFactory::iid, v3_plugin_factory_iid},
    {"IPluginFactory2", IPluginFactory2::iid, v3_plugin_factory_2_iid},
    {"IPluginFactory3", IPluginFactory3::iid, v3_plugin_factory_3_iid},
    {"IBStream", IBStream::iid, v3_bstream_iid},
    {"IComponent", Vst::IComponent::iid, v3_component_iid},
    {"IAudioProcessor", Vst::IAudioProcessor::iid, v3_audio_processor_iid},
    {"IProcessContextRequirements", Vst::IProcessContextRequirements::iid,
     v3_process_context_requirements_iid},
    {"IEditController", Vst::IEditController::iid, v3_edit_controller_iid},
    {"IComponentHandler", Vst::IComponentHandler::iid, v3_component_handler_iid},
    {"IComponentHandler2", Vst::IComponentHandler2::iid, v3_component_handler2_iid},
    {"IMidiMapping", Vst::IMidiMapping::iid, v3_midi_mapping_iid},
    {"IUnitInfo", Vst::IUnitInfo::iid, v3_unit_information_iid},
    {"IConnectionPoint", Vst::IConnectionPoint::iid, v3_connection_point_iid},
    {"IMessage", Vst::IMessage::iid, v3_message_iid},
    {"IAttributeList", Vst::IAttributeList::iid, v3_attribute_list_iid},
    {"IHostApplication", Vst::IHostApplication::iid, v3_host_application_iid},
    {"IParameterChanges", Vst::IParameterChanges::iid, v3_param_changes_iid},
    {"IParamValueQueue", Vst::IParamValueQueue::iid, v3_param_value_queue_iid},
    {"IEventList", Vst::IEventList::iid, v3_event_list_iid},
    {"IPlugView", IPlugView::iid, v3_plugin_view_iid},
    {"IPlugFrame", IPlugFrame::iid, v3_plugin_frame_iid},
    {"IPlugViewContentScaleSupport", IPlugViewContentScaleSupport::iid,
     v3_plugin_view_content_scale_iid},
    {"Linux::IEventHandler", Linux::IEventHandler::iid, v3_event_handler_iid},
    {"Linux::ITimerHandler", Linux::ITimerHandler::iid, v3_timer_handler_iid},
    {"Linux::IRunLoop", Linux::IRunLoop::iid, v3_run_loop_iid},
};

INSTANTIATE_TEST_SUITE_P(Travesty, InterfaceIdTest, ::testing::ValuesIn(kTravestyIds),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (ch == ':')
                               ch = '_';
                           return name;
                         });

} // namespace
