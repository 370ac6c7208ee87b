// Vtable slots of our interfaces against travesty's function-pointer tables: a host calls a
// method by its slot, so each method must sit in the slot the host uses, and no interface may
// have more slots than the host knows of.
//
// Under the Itanium C++ ABI (g++, clang on Linux) a pointer to a virtual member function holds
// 1 + the method's byte offset in the vtable; that gives the slot of each of our methods.
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
#include "pluginterfaces/vst/ivstunits.h"

#include "travesty/audio_processor.h"
#include "travesty/bstream.h"
#include "travesty/component.h"
#include "travesty/edit_controller.h"
#include "travesty/events.h"
#include "travesty/factory.h"
#include "travesty/host.h"
#include "travesty/message.h"
#include "travesty/unit.h"
#include "travesty/view.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

template <class Method> long slotOf(Method method) {
  static_assert(sizeof(Method) == 2 * sizeof(void*), "Itanium member-function pointer");
  struct {
    std::uintptr_t ptr;
    std::ptrdiff_t adjust;
  } rep;
  std::memcpy(&rep, &method, sizeof rep);
  if ((rep.ptr & 1) == 0)
    return -1; // not a virtual function
  return static_cast<long>((rep.ptr - 1) / sizeof(void*));
}

// One method more than I: its slot is I's slot count.
template <class I> struct Extended : I {
  virtual void extraSlot() {}
};

template <class I> long slotCount() {
  return slotOf(&Extended<I>::extraSlot);
}

template <class Table> constexpr long tableSlots() {
  return static_cast<long>(sizeof(Table) / sizeof(void*));
}

constexpr long kUnknownSlots = tableSlots<v3_funknown>();
constexpr long kPluginBaseSlots = kUnknownSlots + tableSlots<v3_plugin_base>();
constexpr long kFactorySlots = kUnknownSlots + tableSlots<v3_plugin_factory>();
constexpr long kFactory2Slots = kFactorySlots + tableSlots<v3_plugin_factory_2>();

#define EXPECT_SLOT(method, base, Table, field)                                                    \
  EXPECT_EQ(slotOf(method), (base) + static_cast<long>(offsetof(Table, field) / sizeof(void*)))    \
      << #method

#define EXPECT_SLOTS(I, base, Table) EXPECT_EQ(slotCount<I>(), (base) + tableSlots<Table>()) << #I

TEST(Vtable, FUnknownAndPluginBase) {
  EXPECT_SLOT(&FUnknown::queryInterface, 0, v3_funknown, query_interface);
  EXPECT_SLOT(&FUnknown::addRef, 0, v3_funknown, ref);
  EXPECT_SLOT(&FUnknown::release, 0, v3_funknown, unref);
  EXPECT_SLOTS(FUnknown, 0, v3_funknown);

  EXPECT_SLOT(&IPluginBase::initialize, kUnknownSlots, v3_plugin_base, initialize);
  EXPECT_SLOT(&IPluginBase::terminate, kUnknownSlots, v3_plugin_base, terminate);
  EXPECT_SLOTS(IPluginBase, kUnknownSlots, v3_plugin_base);
}

TEST(Vtable, Factories) {
  EXPECT_SLOT(&IPluginFactory::getFactoryInfo, kUnknownSlots, v3_plugin_factory, get_factory_info);
  EXPECT_SLOT(&IPluginFactory::countClasses, kUnknownSlots, v3_plugin_factory, num_classes);
  EXPECT_SLOT(&IPluginFactory::getClassInfo, kUnknownSlots, v3_plugin_factory, get_class_info);
  EXPECT_SLOT(&IPluginFactory::createInstance, kUnknownSlots, v3_plugin_factory, create_instance);
  EXPECT_SLOTS(IPluginFactory, kUnknownSlots, v3_plugin_factory);

  EXPECT_SLOT(&IPluginFactory2::getClassInfo2, kFactorySlots, v3_plugin_factory_2,
              get_class_info_2);
  EXPECT_SLOTS(IPluginFactory2, kFactorySlots, v3_plugin_factory_2);

  EXPECT_SLOT(&IPluginFactory3::getClassInfoUnicode, kFactory2Slots, v3_plugin_factory_3,
              get_class_info_utf16);
  EXPECT_SLOT(&IPluginFactory3::setHostContext, kFactory2Slots, v3_plugin_factory_3,
              set_host_context);
  EXPECT_SLOTS(IPluginFactory3, kFactory2Slots, v3_plugin_factory_3);
}

TEST(Vtable, Component) {
  const long b = kPluginBaseSlots;
  EXPECT_SLOT(&IComponent::getControllerClassId, b, v3_component, get_controller_class_id);
  EXPECT_SLOT(&IComponent::setIoMode, b, v3_component, set_io_mode);
  EXPECT_SLOT(&IComponent::getBusCount, b, v3_component, get_bus_count);
  EXPECT_SLOT(&IComponent::getBusInfo, b, v3_component, get_bus_info);
  EXPECT_SLOT(&IComponent::getRoutingInfo, b, v3_component, get_routing_info);
  EXPECT_SLOT(&IComponent::activateBus, b, v3_component, activate_bus);
  EXPECT_SLOT(&IComponent::setActive, b, v3_component, set_active);
  EXPECT_SLOT(&IComponent::setState, b, v3_component, set_state);
  EXPECT_SLOT(&IComponent::getState, b, v3_component, get_state);
  EXPECT_SLOTS(IComponent, b, v3_component);
}

TEST(Vtable, AudioProcessor) {
  const long b = kUnknownSlots;
  EXPECT_SLOT(&IAudioProcessor::setBusArrangements, b, v3_audio_processor, set_bus_arrangements);
  EXPECT_SLOT(&IAudioProcessor::getBusArrangement, b, v3_audio_processor, get_bus_arrangement);
  EXPECT_SLOT(&IAudioProcessor::canProcessSampleSize, b, v3_audio_processor,
              can_process_sample_size);
  EXPECT_SLOT(&IAudioProcessor::getLatencySamples, b, v3_audio_processor, get_latency_samples);
  EXPECT_SLOT(&IAudioProcessor::setupProcessing, b, v3_audio_processor, setup_processing);
  EXPECT_SLOT(&IAudioProcessor::setProcessing, b, v3_audio_processor, set_processing);
  EXPECT_SLOT(&IAudioProcessor::process, b, v3_audio_processor, process);
  EXPECT_SLOT(&IAudioProcessor::getTailSamples, b, v3_audio_processor, get_tail_samples);
  EXPECT_SLOTS(IAudioProcessor, b, v3_audio_processor);

  EXPECT_SLOT(&IProcessContextRequirements::getProcessContextRequirements, b,
              v3_process_context_requirements, get_process_context_requirements);
  EXPECT_SLOTS(IProcessContextRequirements, b, v3_process_context_requirements);
}

TEST(Vtable, ParameterChangesAndEvents) {
  const long b = kUnknownSlots;
  EXPECT_SLOT(&IParamValueQueue::getParameterId, b, v3_param_value_queue, get_param_id);
  EXPECT_SLOT(&IParamValueQueue::getPointCount, b, v3_param_value_queue, get_point_count);
  EXPECT_SLOT(&IParamValueQueue::getPoint, b, v3_param_value_queue, get_point);
  EXPECT_SLOT(&IParamValueQueue::addPoint, b, v3_param_value_queue, add_point);
  EXPECT_SLOTS(IParamValueQueue, b, v3_param_value_queue);

  EXPECT_SLOT(&IParameterChanges::getParameterCount, b, v3_param_changes, get_param_count);
  EXPECT_SLOT(&IParameterChanges::getParameterData, b, v3_param_changes, get_param_data);
  EXPECT_SLOT(&IParameterChanges::addParameterData, b, v3_param_changes, add_param_data);
  EXPECT_SLOTS(IParameterChanges, b, v3_param_changes);

  EXPECT_SLOT(&IEventList::getEventCount, b, v3_event_list, get_event_count);
  EXPECT_SLOT(&IEventList::getEvent, b, v3_event_list, get_event);
  EXPECT_SLOT(&IEventList::addEvent, b, v3_event_list, add_event);
  EXPECT_SLOTS(IEventList, b, v3_event_list);
}

TEST(Vtable, EditControllerAndHandlers) {
  const long b = kPluginBaseSlots;
  EXPECT_SLOT(&IEditController::setComponentState, b, v3_edit_controller, set_component_state);
  EXPECT_SLOT(&IEditController::setState, b, v3_edit_controller, set_state);
  EXPECT_SLOT(&IEditController::getState, b, v3_edit_controller, get_state);
  EXPECT_SLOT(&IEditController::getParameterCount, b, v3_edit_controller, get_parameter_count);
  EXPECT_SLOT(&IEditController::getParameterInfo, b, v3_edit_controller, get_parameter_info);
  EXPECT_SLOT(&IEditController::getParamStringByValue, b, v3_edit_controller,
              get_parameter_string_for_value);
  EXPECT_SLOT(&IEditController::getParamValueByString, b, v3_edit_controller,
              get_parameter_value_for_string);
  EXPECT_SLOT(&IEditController::normalizedParamToPlain, b, v3_edit_controller,
              normalised_parameter_to_plain);
  EXPECT_SLOT(&IEditController::plainParamToNormalized, b, v3_edit_controller,
              plain_parameter_to_normalised);
  EXPECT_SLOT(&IEditController::getParamNormalized, b, v3_edit_controller,
              get_parameter_normalised);
  EXPECT_SLOT(&IEditController::setParamNormalized, b, v3_edit_controller,
              set_parameter_normalised);
  EXPECT_SLOT(&IEditController::setComponentHandler, b, v3_edit_controller, set_component_handler);
  EXPECT_SLOT(&IEditController::createView, b, v3_edit_controller, create_view);
  EXPECT_SLOTS(IEditController, b, v3_edit_controller);

  const long u = kUnknownSlots;
  EXPECT_SLOT(&IComponentHandler::beginEdit, u, v3_component_handler, begin_edit);
  EXPECT_SLOT(&IComponentHandler::performEdit, u, v3_component_handler, perform_edit);
  EXPECT_SLOT(&IComponentHandler::endEdit, u, v3_component_handler, end_edit);
  EXPECT_SLOT(&IComponentHandler::restartComponent, u, v3_component_handler, restart_component);
  EXPECT_SLOTS(IComponentHandler, u, v3_component_handler);

  EXPECT_SLOT(&IComponentHandler2::setDirty, u, v3_component_handler2, set_dirty);
  EXPECT_SLOT(&IComponentHandler2::requestOpenEditor, u, v3_component_handler2,
              request_open_editor);
  EXPECT_SLOT(&IComponentHandler2::startGroupEdit, u, v3_component_handler2, start_group_edit);
  EXPECT_SLOT(&IComponentHandler2::finishGroupEdit, u, v3_component_handler2, finish_group_edit);
  EXPECT_SLOTS(IComponentHandler2, u, v3_component_handler2);

  EXPECT_SLOT(&IMidiMapping::getMidiControllerAssignment, u, v3_midi_mapping,
              get_midi_controller_assignment);
  EXPECT_SLOTS(IMidiMapping, u, v3_midi_mapping);
}

TEST(Vtable, UnitInfo) {
  const long b = kUnknownSlots;
  EXPECT_SLOT(&IUnitInfo::getUnitCount, b, v3_unit_information, get_unit_count);
  EXPECT_SLOT(&IUnitInfo::getUnitInfo, b, v3_unit_information, get_unit_info);
  EXPECT_SLOT(&IUnitInfo::getProgramListCount, b, v3_unit_information, get_program_list_count);
  EXPECT_SLOT(&IUnitInfo::getProgramListInfo, b, v3_unit_information, get_program_list_info);
  EXPECT_SLOT(&IUnitInfo::getProgramName, b, v3_unit_information, get_program_name);
  EXPECT_SLOT(&IUnitInfo::getProgramInfo, b, v3_unit_information, get_program_info);
  EXPECT_SLOT(&IUnitInfo::hasProgramPitchNames, b, v3_unit_information, has_program_pitch_names);
  EXPECT_SLOT(&IUnitInfo::getProgramPitchName, b, v3_unit_information, get_program_pitch_name);
  EXPECT_SLOT(&IUnitInfo::getSelectedUnit, b, v3_unit_information, get_selected_unit);
  EXPECT_SLOT(&IUnitInfo::selectUnit, b, v3_unit_information, select_unit);
  EXPECT_SLOT(&IUnitInfo::getUnitByBus, b, v3_unit_information, get_unit_by_bus);
  EXPECT_SLOT(&IUnitInfo::setUnitProgramData, b, v3_unit_information, set_unit_program_data);
  EXPECT_SLOTS(IUnitInfo, b, v3_unit_information);
}

TEST(Vtable, MessagesAndHost) {
  const long b = kUnknownSlots;
  EXPECT_SLOT(&IAttributeList::setInt, b, v3_attribute_list, set_int);
  EXPECT_SLOT(&IAttributeList::getInt, b, v3_attribute_list, get_int);
  EXPECT_SLOT(&IAttributeList::setFloat, b, v3_attribute_list, set_float);
  EXPECT_SLOT(&IAttributeList::getFloat, b, v3_attribute_list, get_float);
  EXPECT_SLOT(&IAttributeList::setString, b, v3_attribute_list, set_string);
  EXPECT_SLOT(&IAttributeList::getString, b, v3_attribute_list, get_string);
  EXPECT_SLOT(&IAttributeList::setBinary, b, v3_attribute_list, set_binary);
  EXPECT_SLOT(&IAttributeList::getBinary, b, v3_attribute_list, get_binary);
  EXPECT_SLOTS(IAttributeList, b, v3_attribute_list);

  EXPECT_SLOT(&IMessage::getMessageID, b, v3_message, get_message_id);
  EXPECT_SLOT(&IMessage::setMessageID, b, v3_message, set_message_id);
  EXPECT_SLOT(&IMessage::getAttributes, b, v3_message, get_attributes);
  EXPECT_SLOTS(IMessage, b, v3_message);

  EXPECT_SLOT(&IConnectionPoint::connect, b, v3_connection_point, connect);
  EXPECT_SLOT(&IConnectionPoint::disconnect, b, v3_connection_point, disconnect);
  EXPECT_SLOT(&IConnectionPoint::notify, b, v3_connection_point, notify);
  EXPECT_SLOTS(IConnectionPoint, b, v3_connection_point);

  EXPECT_SLOT(&IHostApplication::getName, b, v3_host_application, get_name);
  EXPECT_SLOT(&IHostApplication::createInstance, b, v3_host_application, create_instance);
  EXPECT_SLOTS(IHostApplication, b, v3_host_application);

  EXPECT_SLOT(&IBStream::read, b, v3_bstream, read);
  EXPECT_SLOT(&IBStream::write, b, v3_bstream, write);
  EXPECT_SLOT(&IBStream::seek, b, v3_bstream, seek);
  EXPECT_SLOT(&IBStream::tell, b, v3_bstream, tell);
  EXPECT_SLOTS(IBStream, b, v3_bstream);
}

TEST(Vtable, ViewsAndRunLoop) {
  const long b = kUnknownSlots;
  EXPECT_SLOT(&IPlugView::isPlatformTypeSupported, b, v3_plugin_view, is_platform_type_supported);
  EXPECT_SLOT(&IPlugView::attached, b, v3_plugin_view, attached);
  EXPECT_SLOT(&IPlugView::removed, b, v3_plugin_view, removed);
  EXPECT_SLOT(&IPlugView::onWheel, b, v3_plugin_view, on_wheel);
  EXPECT_SLOT(&IPlugView::onKeyDown, b, v3_plugin_view, on_key_down);
  EXPECT_SLOT(&IPlugView::onKeyUp, b, v3_plugin_view, on_key_up);
  EXPECT_SLOT(&IPlugView::getSize, b, v3_plugin_view, get_size);
  EXPECT_SLOT(&IPlugView::onSize, b, v3_plugin_view, on_size);
  EXPECT_SLOT(&IPlugView::onFocus, b, v3_plugin_view, on_focus);
  EXPECT_SLOT(&IPlugView::setFrame, b, v3_plugin_view, set_frame);
  EXPECT_SLOT(&IPlugView::canResize, b, v3_plugin_view, can_resize);
  EXPECT_SLOT(&IPlugView::checkSizeConstraint, b, v3_plugin_view, check_size_constraint);
  EXPECT_SLOTS(IPlugView, b, v3_plugin_view);

  EXPECT_SLOT(&IPlugFrame::resizeView, b, v3_plugin_frame, resize_view);
  EXPECT_SLOTS(IPlugFrame, b, v3_plugin_frame);

  EXPECT_SLOT(&IPlugViewContentScaleSupport::setContentScaleFactor, b,
              v3_plugin_view_content_scale, set_content_scale_factor);
  EXPECT_SLOTS(IPlugViewContentScaleSupport, b, v3_plugin_view_content_scale);

  EXPECT_SLOT(&Linux::IEventHandler::onFDIsSet, b, v3_event_handler, on_fd_is_set);
  EXPECT_SLOTS(Linux::IEventHandler, b, v3_event_handler);
  EXPECT_SLOT(&Linux::ITimerHandler::onTimer, b, v3_timer_handler, on_timer);
  EXPECT_SLOTS(Linux::ITimerHandler, b, v3_timer_handler);

  EXPECT_SLOT(&Linux::IRunLoop::registerEventHandler, b, v3_run_loop, register_event_handler);
  EXPECT_SLOT(&Linux::IRunLoop::unregisterEventHandler, b, v3_run_loop, unregister_event_handler);
  EXPECT_SLOT(&Linux::IRunLoop::registerTimer, b, v3_run_loop, register_timer);
  EXPECT_SLOT(&Linux::IRunLoop::unregisterTimer, b, v3_run_loop, unregister_timer);
  EXPECT_SLOTS(Linux::IRunLoop, b, v3_run_loop);
}

// Interfaces travesty does not declare: slots in the published method order, after FUnknown's.
TEST(Vtable, InterfacesBeyondTravesty) {
  EXPECT_EQ(slotOf(&IComponentHandler3::createContextMenu), 3);
  EXPECT_EQ(slotCount<IComponentHandler3>(), 4);

  EXPECT_EQ(slotOf(&IContextMenuTarget::executeMenuItem), 3);
  EXPECT_EQ(slotCount<IContextMenuTarget>(), 4);

  EXPECT_EQ(slotOf(&IContextMenu::getItemCount), 3);
  EXPECT_EQ(slotOf(&IContextMenu::getItem), 4);
  EXPECT_EQ(slotOf(&IContextMenu::addItem), 5);
  EXPECT_EQ(slotOf(&IContextMenu::removeItem), 6);
  EXPECT_EQ(slotOf(&IContextMenu::popup), 7);
  EXPECT_EQ(slotCount<IContextMenu>(), 8);

  EXPECT_EQ(slotOf(&IUnitHandler::notifyUnitSelection), 3);
  EXPECT_EQ(slotOf(&IUnitHandler::notifyProgramListChange), 4);
  EXPECT_EQ(slotCount<IUnitHandler>(), 5);

  EXPECT_EQ(slotOf(&IEditController2::setKnobMode), 3);
  EXPECT_EQ(slotOf(&IEditController2::openHelp), 4);
  EXPECT_EQ(slotOf(&IEditController2::openAboutBox), 5);
  EXPECT_EQ(slotCount<IEditController2>(), 6);
}

} // namespace
