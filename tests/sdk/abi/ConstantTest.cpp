// Result codes, flags and enumerations: numbers that cross the interface.
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include "travesty/audio_processor.h"
#include "travesty/bstream.h"
#include "travesty/component.h"
#include "travesty/edit_controller.h"
#include "travesty/events.h"
#include "travesty/factory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST(Constants, ResultCodesAreTheLinuxValues) {
  EXPECT_EQ(kNoInterface, V3_NO_INTERFACE);
  EXPECT_EQ(kResultOk, V3_OK);
  EXPECT_EQ(kResultTrue, V3_TRUE);
  EXPECT_EQ(kResultFalse, V3_FALSE);
  EXPECT_EQ(kInvalidArgument, V3_INVALID_ARG);
  EXPECT_EQ(kNotImplemented, V3_NOT_IMPLEMENTED);
  EXPECT_EQ(kInternalError, V3_INTERNAL_ERR);
  EXPECT_EQ(kNotInitialized, V3_NOT_INITIALIZED);
  EXPECT_EQ(kOutOfMemory, V3_NOMEM);
}

TEST(Constants, ComponentEnumerations) {
  EXPECT_EQ(kAudio, V3_AUDIO);
  EXPECT_EQ(kEvent, V3_EVENT);
  EXPECT_EQ(kInput, V3_INPUT);
  EXPECT_EQ(kOutput, V3_OUTPUT);
  EXPECT_EQ(kMain, V3_MAIN);
  EXPECT_EQ(kAux, V3_AUX);
  EXPECT_EQ(BusInfo::kDefaultActive, static_cast<uint32>(V3_DEFAULT_ACTIVE));
  EXPECT_EQ(BusInfo::kIsControlVoltage, static_cast<uint32>(V3_IS_CONTROL_VOLTAGE));
  EXPECT_EQ(kSimple, V3_SIMPLE);
  EXPECT_EQ(kAdvanced, V3_ADVANCED);
  EXPECT_EQ(kOfflineProcessing, V3_OFFLINE_PROCESSING);
  EXPECT_EQ(kDistributable, V3_DISTRIBUTABLE);
  EXPECT_EQ(kSimpleModeSupported, V3_SIMPLE_MODE);
  EXPECT_EQ(PFactoryInfo::kUnicode, 0x10);
  EXPECT_EQ(PClassInfo::kManyInstances, 0x7FFFFFFF);
  EXPECT_EQ(IBStream::kIBSeekSet, V3_SEEK_SET);
  EXPECT_EQ(IBStream::kIBSeekCur, V3_SEEK_CUR);
  EXPECT_EQ(IBStream::kIBSeekEnd, V3_SEEK_END);
}

TEST(Constants, ProcessingEnumerations) {
  EXPECT_EQ(kSample32, V3_SAMPLE_32);
  EXPECT_EQ(kSample64, V3_SAMPLE_64);
  EXPECT_EQ(kRealtime, V3_REALTIME);
  EXPECT_EQ(kPrefetch, V3_PREFETCH);
  EXPECT_EQ(kOffline, V3_OFFLINE);

  EXPECT_EQ(ProcessContext::kPlaying, static_cast<uint32>(V3_PROCESS_CTX_PLAYING));
  EXPECT_EQ(ProcessContext::kCycleActive, static_cast<uint32>(V3_PROCESS_CTX_CYCLE_ACTIVE));
  EXPECT_EQ(ProcessContext::kRecording, static_cast<uint32>(V3_PROCESS_CTX_RECORDING));
  EXPECT_EQ(ProcessContext::kSystemTimeValid,
            static_cast<uint32>(V3_PROCESS_CTX_SYSTEM_TIME_VALID));
  EXPECT_EQ(ProcessContext::kProjectTimeMusicValid,
            static_cast<uint32>(V3_PROCESS_CTX_PROJECT_TIME_VALID));
  EXPECT_EQ(ProcessContext::kTempoValid, static_cast<uint32>(V3_PROCESS_CTX_TEMPO_VALID));
  EXPECT_EQ(ProcessContext::kBarPositionValid,
            static_cast<uint32>(V3_PROCESS_CTX_BAR_POSITION_VALID));
  EXPECT_EQ(ProcessContext::kCycleValid, static_cast<uint32>(V3_PROCESS_CTX_CYCLE_VALID));
  EXPECT_EQ(ProcessContext::kTimeSigValid, static_cast<uint32>(V3_PROCESS_CTX_TIME_SIG_VALID));
  EXPECT_EQ(ProcessContext::kSmpteValid, static_cast<uint32>(V3_PROCESS_CTX_SMPTE_VALID));
  EXPECT_EQ(ProcessContext::kClockValid, static_cast<uint32>(V3_PROCESS_CTX_NEXT_CLOCK_VALID));
  EXPECT_EQ(ProcessContext::kContTimeValid, static_cast<uint32>(V3_PROCESS_CTX_CONT_TIME_VALID));
  EXPECT_EQ(ProcessContext::kChordValid, static_cast<uint32>(V3_PROCESS_CTX_CHORD_VALID));
}

TEST(Constants, SpeakersAndArrangements) {
  EXPECT_EQ(kSpeakerL, static_cast<Speaker>(V3_SPEAKER_L));
  EXPECT_EQ(kSpeakerR, static_cast<Speaker>(V3_SPEAKER_R));
  EXPECT_EQ(kSpeakerC, static_cast<Speaker>(V3_SPEAKER_C));
  EXPECT_EQ(kSpeakerLfe, static_cast<Speaker>(V3_SPEAKER_LFE));
  EXPECT_EQ(kSpeakerLs, static_cast<Speaker>(V3_SPEAKER_LS));
  EXPECT_EQ(kSpeakerRs, static_cast<Speaker>(V3_SPEAKER_RS));
  EXPECT_EQ(kSpeakerS, static_cast<Speaker>(V3_SPEAKER_S));
  EXPECT_EQ(kSpeakerM, static_cast<Speaker>(V3_SPEAKER_M));
  // The arrangements the processor gives per channel count.
  EXPECT_EQ(SpeakerArr::kMono, 0x80000u);
  EXPECT_EQ(SpeakerArr::kStereo, 0x3u);
  EXPECT_EQ(SpeakerArr::k30Music, 0x103u);
  EXPECT_EQ(SpeakerArr::kBFormat, 0xF00000u);
  EXPECT_EQ(SpeakerArr::k50, 0x37u);
  EXPECT_EQ(SpeakerArr::k51, 0x3Fu);
  EXPECT_EQ(SpeakerArr::getChannelCount(SpeakerArr::k51), 6);
  EXPECT_EQ(SpeakerArr::getChannelCount(SpeakerArr::kEmpty), 0);
}

TEST(Constants, ControllerFlags) {
  EXPECT_EQ(ParameterInfo::kCanAutomate, V3_PARAM_CAN_AUTOMATE);
  EXPECT_EQ(ParameterInfo::kIsReadOnly, V3_PARAM_READ_ONLY);
  EXPECT_EQ(ParameterInfo::kIsWrapAround, V3_PARAM_WRAP_AROUND);
  EXPECT_EQ(ParameterInfo::kIsList, V3_PARAM_IS_LIST);
  EXPECT_EQ(ParameterInfo::kIsHidden, V3_PARAM_IS_HIDDEN);
  EXPECT_EQ(ParameterInfo::kIsProgramChange, V3_PARAM_PROGRAM_CHANGE);
  EXPECT_EQ(ParameterInfo::kIsBypass, V3_PARAM_IS_BYPASS);

  EXPECT_EQ(kReloadComponent, V3_RESTART_RELOAD_COMPONENT);
  EXPECT_EQ(kIoChanged, V3_RESTART_IO_CHANGED);
  EXPECT_EQ(kParamValuesChanged, V3_RESTART_PARAM_VALUES_CHANGED);
  EXPECT_EQ(kLatencyChanged, V3_RESTART_LATENCY_CHANGED);
  EXPECT_EQ(kParamTitlesChanged, V3_RESTART_PARAM_TITLES_CHANGED);
  EXPECT_EQ(kMidiCCAssignmentChanged, V3_RESTART_MIDI_CC_ASSIGNMENT_CHANGED);
  EXPECT_EQ(kNoteExpressionChanged, V3_RESTART_NOTE_EXPRESSION_CHANGED);
  EXPECT_EQ(kIoTitlesChanged, V3_RESTART_IO_TITLES_CHANGED);
  EXPECT_EQ(kPrefetchableSupportChanged, V3_RESTART_PREFETCHABLE_SUPPORT_CHANGED);
  EXPECT_EQ(kRoutingInfoChanged, V3_RESTART_ROUTING_INFO_CHANGED);

  EXPECT_EQ(IContextMenuItem::kIsSeparator, 1);
  EXPECT_EQ(IContextMenuItem::kIsDisabled, 2);
  EXPECT_EQ(IContextMenuItem::kIsChecked, 4);
  EXPECT_EQ(IContextMenuItem::kIsGroupStart, 8 | 2);
  EXPECT_EQ(IContextMenuItem::kIsGroupEnd, 16 | 1);
}

TEST(Constants, EventTypes) {
  EXPECT_EQ(Event::kNoteOnEvent, V3_EVENT_NOTE_ON);
  EXPECT_EQ(Event::kNoteOffEvent, V3_EVENT_NOTE_OFF);
  EXPECT_EQ(Event::kDataEvent, V3_EVENT_DATA);
  EXPECT_EQ(Event::kPolyPressureEvent, V3_EVENT_POLY_PRESSURE);
  EXPECT_EQ(Event::kNoteExpressionValueEvent, V3_EVENT_NOTE_EXP_VALUE);
  EXPECT_EQ(Event::kNoteExpressionTextEvent, V3_EVENT_NOTE_EXP_TEXT);
  EXPECT_EQ(Event::kChordEvent, V3_EVENT_CHORD);
  EXPECT_EQ(Event::kScaleEvent, V3_EVENT_SCALE);
  EXPECT_EQ(Event::kLegacyMIDICCOutEvent, V3_EVENT_LEGACY_MIDI_CC_OUT);
  EXPECT_EQ(Event::kIsLive, V3_EVENT_IS_LIVE);
}

TEST(Constants, ClassCategoriesAndPlatformTypes) {
  EXPECT_STREQ(kVstAudioEffectClass, "Audio Module Class");
  EXPECT_STREQ(kVstComponentControllerClass, "Component Controller Class");
  EXPECT_STREQ(kPlatformTypeX11EmbedWindowID, "X11EmbedWindowID");
  EXPECT_STREQ(ViewType::kEditor, "editor");
}

} // namespace
