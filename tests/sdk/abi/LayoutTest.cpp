// Struct sizes and field offsets of our declarations against travesty's: a host reads these
// records straight from memory, so every byte must be where it expects it.
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"

#include "travesty/audio_processor.h"
#include "travesty/component.h"
#include "travesty/edit_controller.h"
#include "travesty/events.h"
#include "travesty/factory.h"
#include "travesty/unit.h"
#include "travesty/view.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

// Same offset and same size, field by field.
#define EXPECT_FIELD(Ours, ourField, Theirs, theirField)                                           \
  do {                                                                                             \
    EXPECT_EQ(offsetof(Ours, ourField), offsetof(Theirs, theirField)) << #Ours "::" #ourField;     \
    EXPECT_EQ(sizeof(Ours::ourField), sizeof(Theirs::theirField)) << #Ours "::" #ourField;         \
  } while (0)

#define EXPECT_RECORD(Ours, Theirs)                                                                \
  do {                                                                                             \
    EXPECT_EQ(sizeof(Ours), sizeof(Theirs)) << #Ours;                                              \
    EXPECT_EQ(alignof(Ours), alignof(Theirs)) << #Ours;                                            \
  } while (0)

TEST(FactoryRecords, MatchTravesty) {
  EXPECT_RECORD(PFactoryInfo, v3_factory_info);
  EXPECT_FIELD(PFactoryInfo, vendor, v3_factory_info, vendor);
  EXPECT_FIELD(PFactoryInfo, url, v3_factory_info, url);
  EXPECT_FIELD(PFactoryInfo, email, v3_factory_info, email);
  EXPECT_FIELD(PFactoryInfo, flags, v3_factory_info, flags);

  EXPECT_RECORD(PClassInfo, v3_class_info);
  EXPECT_FIELD(PClassInfo, cid, v3_class_info, class_id);
  EXPECT_FIELD(PClassInfo, cardinality, v3_class_info, cardinality);
  EXPECT_FIELD(PClassInfo, category, v3_class_info, category);
  EXPECT_FIELD(PClassInfo, name, v3_class_info, name);

  EXPECT_RECORD(PClassInfo2, v3_class_info_2);
  EXPECT_FIELD(PClassInfo2, cid, v3_class_info_2, class_id);
  EXPECT_FIELD(PClassInfo2, cardinality, v3_class_info_2, cardinality);
  EXPECT_FIELD(PClassInfo2, category, v3_class_info_2, category);
  EXPECT_FIELD(PClassInfo2, name, v3_class_info_2, name);
  EXPECT_FIELD(PClassInfo2, classFlags, v3_class_info_2, class_flags);
  EXPECT_FIELD(PClassInfo2, subCategories, v3_class_info_2, sub_categories);
  EXPECT_FIELD(PClassInfo2, vendor, v3_class_info_2, vendor);
  EXPECT_FIELD(PClassInfo2, version, v3_class_info_2, version);
  EXPECT_FIELD(PClassInfo2, sdkVersion, v3_class_info_2, sdk_version);

  EXPECT_RECORD(PClassInfoW, v3_class_info_3);
  EXPECT_FIELD(PClassInfoW, cid, v3_class_info_3, class_id);
  EXPECT_FIELD(PClassInfoW, cardinality, v3_class_info_3, cardinality);
  EXPECT_FIELD(PClassInfoW, category, v3_class_info_3, category);
  EXPECT_FIELD(PClassInfoW, name, v3_class_info_3, name);
  EXPECT_FIELD(PClassInfoW, classFlags, v3_class_info_3, class_flags);
  EXPECT_FIELD(PClassInfoW, subCategories, v3_class_info_3, sub_categories);
  EXPECT_FIELD(PClassInfoW, vendor, v3_class_info_3, vendor);
  EXPECT_FIELD(PClassInfoW, version, v3_class_info_3, version);
  EXPECT_FIELD(PClassInfoW, sdkVersion, v3_class_info_3, sdk_version);
}

TEST(BusRecords, MatchTravesty) {
  EXPECT_RECORD(BusInfo, v3_bus_info);
  EXPECT_FIELD(BusInfo, mediaType, v3_bus_info, media_type);
  EXPECT_FIELD(BusInfo, direction, v3_bus_info, direction);
  EXPECT_FIELD(BusInfo, channelCount, v3_bus_info, channel_count);
  EXPECT_FIELD(BusInfo, name, v3_bus_info, bus_name);
  EXPECT_FIELD(BusInfo, busType, v3_bus_info, bus_type);
  EXPECT_FIELD(BusInfo, flags, v3_bus_info, flags);

  EXPECT_RECORD(RoutingInfo, v3_routing_info);
  EXPECT_FIELD(RoutingInfo, mediaType, v3_routing_info, media_type);
  EXPECT_FIELD(RoutingInfo, busIndex, v3_routing_info, bus_idx);
  EXPECT_FIELD(RoutingInfo, channel, v3_routing_info, channel);
}

TEST(ProcessRecords, MatchTravesty) {
  EXPECT_RECORD(ProcessSetup, v3_process_setup);
  EXPECT_FIELD(ProcessSetup, processMode, v3_process_setup, process_mode);
  EXPECT_FIELD(ProcessSetup, symbolicSampleSize, v3_process_setup, symbolic_sample_size);
  EXPECT_FIELD(ProcessSetup, maxSamplesPerBlock, v3_process_setup, max_block_size);
  EXPECT_FIELD(ProcessSetup, sampleRate, v3_process_setup, sample_rate);

  EXPECT_RECORD(AudioBusBuffers, v3_audio_bus_buffers);
  EXPECT_FIELD(AudioBusBuffers, numChannels, v3_audio_bus_buffers, num_channels);
  EXPECT_FIELD(AudioBusBuffers, silenceFlags, v3_audio_bus_buffers, channel_silence_bitset);
  EXPECT_FIELD(AudioBusBuffers, channelBuffers32, v3_audio_bus_buffers, channel_buffers_32);
  EXPECT_FIELD(AudioBusBuffers, channelBuffers64, v3_audio_bus_buffers, channel_buffers_64);

  EXPECT_RECORD(ProcessData, v3_process_data);
  EXPECT_FIELD(ProcessData, processMode, v3_process_data, process_mode);
  EXPECT_FIELD(ProcessData, symbolicSampleSize, v3_process_data, symbolic_sample_size);
  EXPECT_FIELD(ProcessData, numSamples, v3_process_data, nframes);
  EXPECT_FIELD(ProcessData, numInputs, v3_process_data, num_input_buses);
  EXPECT_FIELD(ProcessData, numOutputs, v3_process_data, num_output_buses);
  EXPECT_FIELD(ProcessData, inputs, v3_process_data, inputs);
  EXPECT_FIELD(ProcessData, outputs, v3_process_data, outputs);
  EXPECT_FIELD(ProcessData, inputParameterChanges, v3_process_data, input_params);
  EXPECT_FIELD(ProcessData, outputParameterChanges, v3_process_data, output_params);
  EXPECT_FIELD(ProcessData, inputEvents, v3_process_data, input_events);
  EXPECT_FIELD(ProcessData, outputEvents, v3_process_data, output_events);
  EXPECT_FIELD(ProcessData, processContext, v3_process_data, ctx);

  EXPECT_RECORD(Chord, v3_chord);
  EXPECT_FIELD(Chord, keyNote, v3_chord, key_note);
  EXPECT_FIELD(Chord, rootNote, v3_chord, root_note);
  EXPECT_FIELD(Chord, chordMask, v3_chord, chord_mask);
  EXPECT_RECORD(FrameRate, v3_frame_rate);
  EXPECT_FIELD(FrameRate, framesPerSecond, v3_frame_rate, fps);
  EXPECT_FIELD(FrameRate, flags, v3_frame_rate, flags);

  EXPECT_RECORD(ProcessContext, v3_process_context);
  EXPECT_FIELD(ProcessContext, state, v3_process_context, state);
  EXPECT_FIELD(ProcessContext, sampleRate, v3_process_context, sample_rate);
  EXPECT_FIELD(ProcessContext, projectTimeSamples, v3_process_context, project_time_in_samples);
  EXPECT_FIELD(ProcessContext, systemTime, v3_process_context, system_time_ns);
  EXPECT_FIELD(ProcessContext, continousTimeSamples, v3_process_context,
               continuous_time_in_samples);
  EXPECT_FIELD(ProcessContext, projectTimeMusic, v3_process_context, project_time_quarters);
  EXPECT_FIELD(ProcessContext, barPositionMusic, v3_process_context, bar_position_quarters);
  EXPECT_FIELD(ProcessContext, cycleStartMusic, v3_process_context, cycle_start_quarters);
  EXPECT_FIELD(ProcessContext, cycleEndMusic, v3_process_context, cycle_end_quarters);
  EXPECT_FIELD(ProcessContext, tempo, v3_process_context, bpm);
  EXPECT_FIELD(ProcessContext, timeSigNumerator, v3_process_context, time_sig_numerator);
  EXPECT_FIELD(ProcessContext, timeSigDenominator, v3_process_context, time_sig_denom);
  EXPECT_FIELD(ProcessContext, chord, v3_process_context, chord);
  EXPECT_FIELD(ProcessContext, smpteOffsetSubframes, v3_process_context, smpte_offset_subframes);
  EXPECT_FIELD(ProcessContext, frameRate, v3_process_context, frame_rate);
  EXPECT_FIELD(ProcessContext, samplesToNextClock, v3_process_context, samples_to_next_clock);
}

TEST(ControllerRecords, MatchTravesty) {
  EXPECT_RECORD(ParameterInfo, v3_param_info);
  EXPECT_FIELD(ParameterInfo, id, v3_param_info, param_id);
  EXPECT_FIELD(ParameterInfo, title, v3_param_info, title);
  EXPECT_FIELD(ParameterInfo, shortTitle, v3_param_info, short_title);
  EXPECT_FIELD(ParameterInfo, units, v3_param_info, units);
  EXPECT_FIELD(ParameterInfo, stepCount, v3_param_info, step_count);
  EXPECT_FIELD(ParameterInfo, defaultNormalizedValue, v3_param_info, default_normalised_value);
  EXPECT_FIELD(ParameterInfo, unitId, v3_param_info, unit_id);
  EXPECT_FIELD(ParameterInfo, flags, v3_param_info, flags);

  EXPECT_RECORD(UnitInfo, v3_unit_info);
  EXPECT_FIELD(UnitInfo, id, v3_unit_info, id);
  EXPECT_FIELD(UnitInfo, parentUnitId, v3_unit_info, parent_unit_id);
  EXPECT_FIELD(UnitInfo, name, v3_unit_info, name);
  EXPECT_FIELD(UnitInfo, programListId, v3_unit_info, program_list_id);

  EXPECT_RECORD(ProgramListInfo, v3_program_list_info);
  EXPECT_FIELD(ProgramListInfo, id, v3_program_list_info, id);
  EXPECT_FIELD(ProgramListInfo, name, v3_program_list_info, name);
  EXPECT_FIELD(ProgramListInfo, programCount, v3_program_list_info, programCount);

  EXPECT_RECORD(ViewRect, v3_view_rect);
  EXPECT_FIELD(ViewRect, left, v3_view_rect, left);
  EXPECT_FIELD(ViewRect, top, v3_view_rect, top);
  EXPECT_FIELD(ViewRect, right, v3_view_rect, right);
  EXPECT_FIELD(ViewRect, bottom, v3_view_rect, bottom);
}

TEST(EventRecords, MatchTravesty) {
  EXPECT_RECORD(Event, v3_event);
  EXPECT_FIELD(Event, busIndex, v3_event, bus_index);
  EXPECT_FIELD(Event, sampleOffset, v3_event, sample_offset);
  EXPECT_FIELD(Event, ppqPosition, v3_event, ppq_position);
  EXPECT_FIELD(Event, flags, v3_event, flags);
  EXPECT_FIELD(Event, type, v3_event, type);
  EXPECT_FIELD(Event, noteOn, v3_event, note_on);
  EXPECT_FIELD(Event, noteOff, v3_event, note_off);
  EXPECT_FIELD(Event, data, v3_event, data);
  EXPECT_FIELD(Event, polyPressure, v3_event, poly_pressure);
  EXPECT_FIELD(Event, chord, v3_event, chord);
  EXPECT_FIELD(Event, scale, v3_event, scale);
  EXPECT_FIELD(Event, midiCCOut, v3_event, midi_cc_out);
  EXPECT_FIELD(Event, noteExpressionValue, v3_event, note_exp_value);
  // Same place; its size differs (below) and is covered by the union's size.
  EXPECT_EQ(offsetof(Event, noteExpressionText), offsetof(v3_event, note_exp_text));

  EXPECT_RECORD(NoteOnEvent, v3_event_note_on);
  EXPECT_FIELD(NoteOnEvent, channel, v3_event_note_on, channel);
  EXPECT_FIELD(NoteOnEvent, pitch, v3_event_note_on, pitch);
  EXPECT_FIELD(NoteOnEvent, tuning, v3_event_note_on, tuning);
  EXPECT_FIELD(NoteOnEvent, velocity, v3_event_note_on, velocity);
  EXPECT_FIELD(NoteOnEvent, length, v3_event_note_on, length);
  EXPECT_FIELD(NoteOnEvent, noteId, v3_event_note_on, note_id);

  EXPECT_RECORD(NoteOffEvent, v3_event_note_off);
  EXPECT_FIELD(NoteOffEvent, channel, v3_event_note_off, channel);
  EXPECT_FIELD(NoteOffEvent, pitch, v3_event_note_off, pitch);
  EXPECT_FIELD(NoteOffEvent, velocity, v3_event_note_off, velocity);
  EXPECT_FIELD(NoteOffEvent, noteId, v3_event_note_off, note_id);
  EXPECT_FIELD(NoteOffEvent, tuning, v3_event_note_off, tuning);

  EXPECT_RECORD(DataEvent, v3_event_data);
  EXPECT_FIELD(DataEvent, size, v3_event_data, size);
  EXPECT_FIELD(DataEvent, type, v3_event_data, type);
  EXPECT_FIELD(DataEvent, bytes, v3_event_data, bytes);

  EXPECT_RECORD(PolyPressureEvent, v3_event_poly_pressure);
  EXPECT_FIELD(PolyPressureEvent, channel, v3_event_poly_pressure, channel);
  EXPECT_FIELD(PolyPressureEvent, pitch, v3_event_poly_pressure, pitch);
  EXPECT_FIELD(PolyPressureEvent, pressure, v3_event_poly_pressure, pressure);
  EXPECT_FIELD(PolyPressureEvent, noteId, v3_event_poly_pressure, note_id);

  EXPECT_RECORD(ChordEvent, v3_event_chord);
  EXPECT_FIELD(ChordEvent, root, v3_event_chord, root);
  EXPECT_FIELD(ChordEvent, bassNote, v3_event_chord, bass_note);
  EXPECT_FIELD(ChordEvent, mask, v3_event_chord, mask);
  EXPECT_FIELD(ChordEvent, textLen, v3_event_chord, text_len);
  EXPECT_FIELD(ChordEvent, text, v3_event_chord, text);

  EXPECT_RECORD(ScaleEvent, v3_event_scale);
  EXPECT_FIELD(ScaleEvent, root, v3_event_scale, root);
  EXPECT_FIELD(ScaleEvent, mask, v3_event_scale, mask);
  EXPECT_FIELD(ScaleEvent, textLen, v3_event_scale, text_len);
  EXPECT_FIELD(ScaleEvent, text, v3_event_scale, text);

  EXPECT_RECORD(LegacyMIDICCOutEvent, v3_event_legacy_midi_cc_out);
  EXPECT_FIELD(LegacyMIDICCOutEvent, controlNumber, v3_event_legacy_midi_cc_out, cc_number);
  EXPECT_FIELD(LegacyMIDICCOutEvent, channel, v3_event_legacy_midi_cc_out, channel);
  EXPECT_FIELD(LegacyMIDICCOutEvent, value, v3_event_legacy_midi_cc_out, value);
  EXPECT_FIELD(LegacyMIDICCOutEvent, value2, v3_event_legacy_midi_cc_out, value2);

  EXPECT_RECORD(NoteExpressionValueEvent, v3_event_note_expression_value);
  EXPECT_FIELD(NoteExpressionValueEvent, typeId, v3_event_note_expression_value, type_id);
  EXPECT_FIELD(NoteExpressionValueEvent, noteId, v3_event_note_expression_value, note_id);
  EXPECT_FIELD(NoteExpressionValueEvent, value, v3_event_note_expression_value, value);
}

// travesty's text event lacks the type ID that the published record starts with; we keep the
// published layout, {typeId, noteId, textLen, text}. It still fits the 24-byte union that the
// note-on event sets, so Event stays 48 bytes either way.
TEST(EventRecords, NoteExpressionTextEventHasItsTypeId) {
  EXPECT_EQ(sizeof(Event), 48u);
  EXPECT_EQ(offsetof(Event, noteOn), 24u);
  EXPECT_EQ(offsetof(NoteExpressionTextEvent, typeId), 0u);
  EXPECT_EQ(offsetof(NoteExpressionTextEvent, noteId), 4u);
  EXPECT_EQ(offsetof(NoteExpressionTextEvent, textLen), 8u);
  EXPECT_EQ(offsetof(NoteExpressionTextEvent, text), 16u);
  EXPECT_EQ(sizeof(NoteExpressionTextEvent), 24u);
}

TEST(ContextMenuItem, IsNameTagFlags) {
  EXPECT_EQ(offsetof(IContextMenuItem, name), 0u);
  EXPECT_EQ(sizeof(IContextMenuItem::name), 256u);
  EXPECT_EQ(offsetof(IContextMenuItem, tag), 256u);
  EXPECT_EQ(offsetof(IContextMenuItem, flags), 260u);
  EXPECT_EQ(sizeof(IContextMenuItem), 264u);
}

} // namespace
