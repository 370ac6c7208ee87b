// Our helper classes driven the way a C host drives them: through Debian's travesty headers,
// an independent C description of the VST 3 binary interface. Every call goes through the
// interface IDs and function-pointer tables travesty declares, so a method in the wrong slot,
// a wrong interface pointer from queryInterface or a wrong record layout shows here.
#include "FakeHost.h"

#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/eventlist.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/vstaudioeffect.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include "travesty/audio_processor.h"
#include "travesty/bstream.h"
#include "travesty/component.h"
#include "travesty/edit_controller.h"
#include "travesty/events.h"
#include "travesty/message.h"
#include "travesty/unit.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvane::test {
namespace {

// The first word of every interface object is its table.
template <class Table> Table* tableOf(void* object) {
  return *static_cast<Table**>(object);
}

// Asks `object` for an interface the C way; null when it has none.
void* query(void* object, const v3_tuid iid) {
  void* result = nullptr;
  if (tableOf<v3_funknown>(object)->query_interface(object, iid, &result) != V3_OK)
    return nullptr;
  return result;
}

uint32_t unref(void* object) {
  return tableOf<v3_funknown>(object)->unref(object);
}

// travesty gives the stream no C++ table of its own; it is laid out like the others.
struct v3_bstream_cpp : v3_funknown {
  v3_bstream stream;
};

TEST(TravestyHost, MessageAndAttributesThroughTheCTables) {
  void* message = query(static_cast<IMessage*>(new HostMessage()), v3_message_iid);
  ASSERT_NE(message, nullptr);
  unref(message); // the query's reference; the one from new remains

  auto* msg = tableOf<v3_message_cpp>(message);
  msg->msg.set_message_id(message, "MidiMsg");
  EXPECT_STREQ(msg->msg.get_message_id(message), "MidiMsg");
  v3_attribute_list** list = msg->msg.get_attributes(message);
  ASSERT_NE(list, nullptr);
  auto* attrs = tableOf<v3_attribute_list_cpp>(list);
  const uint8_t bytes[8] = {0, 0, 0, 0, 0x90, 60, 100, 0};
  EXPECT_EQ(attrs->attrlist.set_binary(list, "data", bytes, 8), V3_OK);
  const void* data = nullptr;
  uint32_t size = 0;
  EXPECT_EQ(attrs->attrlist.get_binary(list, "data", &data, &size), V3_OK);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(std::memcmp(data, bytes, 8), 0);
  EXPECT_EQ(attrs->attrlist.set_float(list, "GAIN", 0.5), V3_OK);
  double gain = 0.0;
  EXPECT_EQ(attrs->attrlist.get_float(list, "GAIN", &gain), V3_OK);
  EXPECT_EQ(gain, 0.5);
  int64_t missing = 3;
  EXPECT_EQ(attrs->attrlist.get_int(list, "offset", &missing), V3_FALSE);
  EXPECT_EQ(unref(message), 0u);
}

TEST(TravestyHost, MemoryStreamAsAHostStream) {
  void* stream = query(static_cast<IBStream*>(new MemoryStream()), v3_bstream_iid);
  ASSERT_NE(stream, nullptr);
  unref(stream);
  auto* io = tableOf<v3_bstream_cpp>(stream);
  int32_t header[2] = {0x70666674, 0x20000};
  int32_t n = 0;
  EXPECT_EQ(io->stream.write(stream, header, sizeof(header), &n), V3_OK);
  EXPECT_EQ(n, 8);
  int64_t pos = -1;
  EXPECT_EQ(io->stream.seek(stream, 0, V3_SEEK_SET, &pos), V3_OK);
  EXPECT_EQ(pos, 0);
  int32_t back[3] = {};
  EXPECT_EQ(io->stream.read(stream, back, sizeof(back), &n), V3_OK);
  EXPECT_EQ(n, 8);
  EXPECT_EQ(back[0], 0x70666674);
  EXPECT_EQ(io->stream.tell(stream, &pos), V3_OK);
  EXPECT_EQ(pos, 8);
  EXPECT_EQ(unref(stream), 0u);
}

TEST(TravestyHost, ParameterChangesAndEventsAsTheProcessorSeesThem) {
  void* changes =
      query(static_cast<IParameterChanges*>(new ParameterChanges(4)), v3_param_changes_iid);
  ASSERT_NE(changes, nullptr);
  unref(changes);
  auto* pc = tableOf<v3_param_changes_cpp>(changes);
  v3_param_id id = 0x10000;
  int32_t index = -1;
  v3_param_value_queue** queue = pc->changes.add_param_data(changes, &id, &index);
  ASSERT_NE(queue, nullptr);
  EXPECT_EQ(index, 0);
  auto* q = tableOf<v3_param_value_queue_cpp>(queue);
  EXPECT_EQ(q->queue.get_param_id(queue), 0x10000u);
  EXPECT_EQ(q->queue.add_point(queue, 12, 1.0, &index), V3_OK);
  EXPECT_EQ(pc->changes.get_param_count(changes), 1);
  int32_t offset = 0;
  double value = 0.0;
  v3_param_value_queue** again = pc->changes.get_param_data(changes, 0);
  EXPECT_EQ(tableOf<v3_param_value_queue_cpp>(again)->queue.get_point(again, 0, &offset, &value),
            V3_OK);
  EXPECT_EQ(offset, 12);
  EXPECT_EQ(value, 1.0);
  EXPECT_EQ(unref(changes), 0u);

  void* events = query(static_cast<IEventList*>(new EventList(4)), v3_event_list_iid);
  ASSERT_NE(events, nullptr);
  unref(events);
  auto* el = tableOf<v3_event_list_cpp>(events);
  v3_event e{};
  e.type = V3_EVENT_NOTE_ON;
  e.sample_offset = 7;
  e.note_on.pitch = 60;
  e.note_on.velocity = 0.5f;
  EXPECT_EQ(el->list.add_event(events, &e), V3_OK);
  v3_event out{};
  EXPECT_EQ(el->list.get_event(events, 0, &out), V3_OK);
  EXPECT_EQ(out.sample_offset, 7);
  EXPECT_EQ(out.note_on.pitch, 60);
  EXPECT_EQ(out.note_on.velocity, 0.5f);
  EXPECT_EQ(el->list.get_event_count(events), 1u);
  EXPECT_EQ(unref(events), 0u);
}

class StereoEffect : public AudioEffect {
public:
  StereoEffect() {
    addAudioInput(u"Main Input", SpeakerArr::kStereo);
    addAudioOutput(u"Output", SpeakerArr::kStereo);
  }
};

TEST(TravestyHost, ComponentAndProcessorFromTheComponentsUnknown) {
  auto* effect = new StereoEffect();
  void* component = query(effect->unknownCast(), v3_component_iid);
  ASSERT_NE(component, nullptr);
  auto* comp = tableOf<v3_component_cpp>(component);
  EXPECT_EQ(comp->comp.get_bus_count(component, V3_AUDIO, V3_OUTPUT), 1);
  v3_bus_info info{};
  ASSERT_EQ(comp->comp.get_bus_info(component, V3_AUDIO, V3_INPUT, 0, &info), V3_OK);
  EXPECT_EQ(info.channel_count, 2);
  EXPECT_EQ(info.bus_name[0], 'M');
  EXPECT_EQ(comp->comp.activate_bus(component, V3_AUDIO, V3_INPUT, 0, 1), V3_OK);
  EXPECT_EQ(comp->comp.activate_bus(component, V3_AUDIO, V3_INPUT, 1, 1), V3_INVALID_ARG);

  void* processor = query(component, v3_audio_processor_iid);
  ASSERT_NE(processor, nullptr);
  auto* proc = tableOf<v3_audio_processor_cpp>(processor);
  EXPECT_EQ(proc->proc.can_process_sample_size(processor, V3_SAMPLE_32), V3_OK);
  EXPECT_EQ(proc->proc.can_process_sample_size(processor, V3_SAMPLE_64), V3_FALSE);
  v3_speaker_arrangement mono = 0x80000;
  EXPECT_EQ(proc->proc.set_bus_arrangements(processor, &mono, 1, &mono, 1), V3_OK);
  v3_speaker_arrangement arr = 0;
  EXPECT_EQ(proc->proc.get_bus_arrangement(processor, V3_OUTPUT, 0, &arr), V3_OK);
  EXPECT_EQ(arr, mono);

  unref(processor);
  unref(component);
  EXPECT_EQ(effect->release(), 0u);
}

TEST(TravestyHost, ControllerParametersAndUnits) {
  class Controller : public EditControllerEx1 {
  public:
    Controller() {
      parameters.addParameter(u"Gain", u"dB", 0, 0.25, ParameterInfo::kCanAutomate, 3);
      addUnit(new Unit(u"Root", kRootUnitId, kNoParentUnitId));
      auto* list = new ProgramList(u"Factory Presets", 0x10001, kRootUnitId);
      list->addProgram(u"Default");
      addProgramList(list);
    }
  };
  auto* controller = new Controller();
  void* edit = query(controller->unknownCast(), v3_edit_controller_iid);
  ASSERT_NE(edit, nullptr);
  auto* ctrl = tableOf<v3_edit_controller_cpp>(edit);
  EXPECT_EQ(ctrl->ctrl.get_parameter_count(edit), 1);
  v3_param_info info{};
  ASSERT_EQ(ctrl->ctrl.get_parameter_info(edit, 0, &info), V3_OK);
  EXPECT_EQ(info.param_id, 3u);
  EXPECT_EQ(info.default_normalised_value, 0.25);
  EXPECT_EQ(info.flags, V3_PARAM_CAN_AUTOMATE);
  EXPECT_EQ(info.units[0], 'd');
  EXPECT_EQ(ctrl->ctrl.set_parameter_normalised(edit, 3, 0.5), V3_OK);
  EXPECT_EQ(ctrl->ctrl.get_parameter_normalised(edit, 3), 0.5);
  EXPECT_EQ(ctrl->ctrl.create_view(edit, "editor"), nullptr);

  void* units = query(edit, v3_unit_information_iid);
  ASSERT_NE(units, nullptr);
  auto* unit = tableOf<v3_unit_information_cpp>(units);
  EXPECT_EQ(unit->unit.get_unit_count(units), 1);
  EXPECT_EQ(unit->unit.get_program_list_count(units), 1);
  v3_str_128 name = {};
  EXPECT_EQ(unit->unit.get_program_name(units, 0x10001, 0, name), V3_OK);
  EXPECT_EQ(name[0], 'D');
  EXPECT_EQ(unit->unit.get_program_name(units, 0x10001, 1, name), V3_FALSE);

  unref(units);
  unref(edit);
  EXPECT_EQ(controller->release(), 0u);
}

} // namespace
} // namespace orvane::test
