#include "framework/EffectVersion.h"
#include "framework/IMidiMsg.h"
#include "framework/ISysEx.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

TEST(IMidiMsg, ImageIsTheEightByteMessageData) {
  IMidiMsg m;
  m.MakeNoteOnMsg(60, 100, 0x01020304, 3);
  uint8_t bytes[8];
  std::memcpy(bytes, &m, 8);
  const uint8_t expected[8] = {0x04, 0x03, 0x02, 0x01, 0x93, 60, 100, 0};
  EXPECT_EQ(std::memcmp(bytes, expected, 8), 0);
}

struct BuildCase {
  const char* what;
  IMidiMsg msg;
  uint8_t status, data1, data2;
};

IMidiMsg Build(void (*make)(IMidiMsg&)) {
  IMidiMsg m;
  m.data2 = 99; // builders clear every field first
  make(m);
  return m;
}

TEST(IMidiMsg, BuildersSetStatusAndData) {
  const BuildCase cases[] = {
      {"note on", Build([](IMidiMsg& m) { m.MakeNoteOnMsg(64, 127, 5, 15); }), 0x9F, 64, 127},
      {"note off", Build([](IMidiMsg& m) { m.MakeNoteOffMsg(64, 5, 1); }), 0x81, 64, 0},
      {"poly AT", Build([](IMidiMsg& m) { m.MakePolyATMsg(10, 20, 0, 2); }), 0xA2, 10, 20},
      {"cc 0.5", Build([](IMidiMsg& m) { m.MakeControlChangeMsg(7, 0.5, 0, 0); }), 0xB0, 7, 64},
      {"cc 1", Build([](IMidiMsg& m) { m.MakeControlChangeMsg(1, 1.0, 4, 0); }), 0xB4, 1, 127},
      {"cc above 1", Build([](IMidiMsg& m) { m.MakeControlChangeMsg(1, 3.0); }), 0xB0, 1, 127},
      {"cc below 0", Build([](IMidiMsg& m) { m.MakeControlChangeMsg(1, -1.0); }), 0xB0, 1, 0},
      {"cc NaN", Build([](IMidiMsg& m) {
         m.MakeControlChangeMsg(1, std::numeric_limits<double>::quiet_NaN());
       }),
       0xB0, 1, 0},
      {"channel AT", Build([](IMidiMsg& m) { m.MakeChannelATMsg(33, 0, 9); }), 0xD9, 33, 0},
      {"pitch +1", Build([](IMidiMsg& m) { m.MakePitchWheelMsg(1.0); }), 0xE0, 127, 127},
      {"pitch -1", Build([](IMidiMsg& m) { m.MakePitchWheelMsg(-1.0); }), 0xE0, 0, 0},
      {"pitch 0", Build([](IMidiMsg& m) { m.MakePitchWheelMsg(0.0, 3); }), 0xE3, 0, 64},
      {"pitch huge", Build([](IMidiMsg& m) { m.MakePitchWheelMsg(1e20); }), 0xE0, 127, 127},
      // Out-of-range channels and data bytes are cut to their bits, never into the status.
      {"channel 16", Build([](IMidiMsg& m) { m.MakeNoteOnMsg(60, 1, 0, 16); }), 0x90, 60, 1},
      {"note 200", Build([](IMidiMsg& m) { m.MakeNoteOnMsg(200, 1, 0, 0); }), 0x90, 72, 1},
  };
  for (const BuildCase& c : cases) {
    EXPECT_EQ(c.msg.status, c.status) << c.what;
    EXPECT_EQ(c.msg.data1, c.data1) << c.what;
    EXPECT_EQ(c.msg.data2, c.data2) << c.what;
    EXPECT_EQ(c.msg.reserved, 0) << c.what;
  }
}

TEST(IMidiMsg, ReadersAnswerOnlyForTheirKind) {
  IMidiMsg m;
  m.MakeNoteOnMsg(60, 90, 0, 5);
  EXPECT_EQ(m.Channel(), 5);
  EXPECT_EQ(m.StatusMsg(), IMidiMsg::kNoteOn);
  EXPECT_EQ(m.NoteNumber(), 60);
  EXPECT_EQ(m.Velocity(), 90);
  EXPECT_EQ(m.PolyAfterTouch(), -1);
  EXPECT_EQ(m.Program(), -1);
  EXPECT_EQ(m.PitchWheel(), 0.0);
  EXPECT_EQ(m.ControlChange(60), -1.0);

  m.MakePolyATMsg(61, 7, 0);
  EXPECT_EQ(m.NoteNumber(), 61);
  EXPECT_EQ(m.Velocity(), -1);
  EXPECT_EQ(m.PolyAfterTouch(), 7);

  m.MakeChannelATMsg(44, 0);
  EXPECT_EQ(m.ChannelAfterTouch(), 44);
  EXPECT_EQ(m.NoteNumber(), -1);

  m.Clear();
  m.status = 0xC2;
  m.data1 = 12;
  EXPECT_EQ(m.Program(), 12);

  m.MakeControlChangeMsg(1, 0.5);
  EXPECT_EQ(m.ControlChange(7), -1.0);
  EXPECT_DOUBLE_EQ(m.ControlChange(1), 64 / 127.0);
  EXPECT_EQ(m.ControlChangeIdx(), 1);

  m.Clear();
  m.status = 0xE0;
  m.data2 = 64;
  EXPECT_EQ(m.PitchWheel(), 0.0);
  m.data1 = 127;
  m.data2 = 127;
  EXPECT_DOUBLE_EQ(m.PitchWheel(), 8191.0 / 8192.0);

  for (uint8_t s : {uint8_t(0xF0), uint8_t(0x7F), uint8_t(0xFF), uint8_t(0x00)}) {
    m.status = s;
    EXPECT_EQ(m.StatusMsg(), 0) << int(s);
  }
}

TEST(IMidiMsg, NameTables) {
  const std::pair<int, const char*> statuses[] = {
      {0, "none"},        {3, "unknown"},        {8, "noteoff"},        {9, "noteon"},
      {10, "aftertouch"}, {11, "controlchange"}, {12, "programchange"}, {13, "channelaftertouch"},
      {14, "pitchwheel"}, {15, "unknown"},       {-1, "unknown"}};
  for (auto [n, name] : statuses)
    EXPECT_STREQ(IMidiMsg::StatusMsgStr(n), name) << n;

  const std::pair<int, const char*> named[] = {
      {0, "BankSel.MSB"},  {4, "Foot Ctrl"},     {32, "BankSel.LSB"}, {66, "Sostenuto "},
      {70, "SoundCont 1"}, {79, "SoundCont 10"}, {91, "FX 1 Depth"},  {95, "FX 5 Depth"},
      {101, "Reg MSB"},    {121, "Reset Ctrl"},  {127, "PolyModeOn"}};
  for (auto [n, name] : named)
    EXPECT_STREQ(IMidiMsg::CCNameStr(n), name) << n;
  for (int n : {3, 9, 14, 15, 20, 31, 35, 41, 44, 47, 52, 63, 85, 90, 102, 120})
    EXPECT_EQ(std::string(IMidiMsg::CCNameStr(n)), "Contr. " + std::to_string(n));
  EXPECT_STREQ(IMidiMsg::CCNameStr(128), "unknown");
  EXPECT_STREQ(IMidiMsg::CCNameStr(-1), "unknown");
}

TEST(ISysEx, TextStaysInsideTheBuffer) {
  const uint8_t data[5] = {0xF0, 0x7E, 0x0a, 0x01, 0xF7};
  struct Case {
    int maxLen;
    const char* text;
  } cases[] = {{9, "F0 7E 0A"}, {15, "F0 7E 0A 01 F7"}, {100, "F0 7E 0A 01 F7"}, {3, "F0"}, {2, ""},
               {1, ""}};
  for (const Case& c : cases) {
    // Guard bytes on both sides of the maxLen bytes the call may use.
    char buf[128];
    std::memset(buf, '#', sizeof buf);
    ISysEx::SysExStr(buf + 8, c.maxLen, data, 5);
    EXPECT_STREQ(buf + 8, c.text) << c.maxLen;
    for (int i = 0; i < 8; ++i)
      EXPECT_EQ(buf[i], '#') << c.maxLen;
    for (int i = 8 + c.maxLen; i < int(sizeof buf); ++i)
      EXPECT_EQ(buf[i], '#') << c.maxLen << " at " << i;
  }
  char buf[4] = "xyz";
  ISysEx::SysExStr(buf, 4, nullptr, 5);
  EXPECT_STREQ(buf, "");
  std::strcpy(buf, "xyz");
  ISysEx::SysExStr(buf, 0, data, 5);
  EXPECT_STREQ(buf, "xyz"); // no room: nothing written
  ISysEx s{1, 2, data};
  s.Clear();
  EXPECT_EQ(s.size, 0);
  EXPECT_EQ(s.data, nullptr);
}

TEST(EffectVersion, PartsDecimalAndText) {
  int major = 0, minor = 0, patch = 0;
  GetVersionParts(0x010203, &major, &minor, &patch);
  EXPECT_EQ(major, 1);
  EXPECT_EQ(minor, 2);
  EXPECT_EQ(patch, 3);
  EXPECT_EQ(GetDecimalVersion(0x010203), 10203);
  EXPECT_EQ(GetDecimalVersion(0x10100), 10100);
  char text[kVersionStrSize];
  GetVersionStr(0x010203, text);
  EXPECT_STREQ(text, "v1.2.3");
  GetVersionStr(int(0x80FFFFFF), text);
  EXPECT_STREQ(text, "v-32513.255.255");
}

} // namespace
