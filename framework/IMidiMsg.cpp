#include "framework/IMidiMsg.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const kStatusNames[] = {
    "none",       "unknown",       "unknown",       "unknown",           "unknown",
    "unknown",    "unknown",       "unknown",       "noteoff",           "noteon",
    "aftertouch", "controlchange", "programchange", "channelaftertouch", "pitchwheel"};

// Titles of the MIDI controller parameters the controller half publishes.
const char* const kControllerNames[128] = {
    "BankSel.MSB", "Modulation",   "BreathCtrl",  "Contr. 3",    "Foot Ctrl",   "Porta.Time",
    "DataEntMSB",  "MainVolume",   "Balance",     "Contr. 9",    "Pan",         "Expression",
    "FXControl1",  "FXControl2",   "Contr. 14",   "Contr. 15",   "Gen.Purp.1",  "Gen.Purp.2",
    "Gen.Purp.3",  "Gen.Purp.4",   "Contr. 20",   "Contr. 21",   "Contr. 22",   "Contr. 23",
    "Contr. 24",   "Contr. 25",    "Contr. 26",   "Contr. 27",   "Contr. 28",   "Contr. 29",
    "Contr. 30",   "Contr. 31",    "BankSel.LSB", "Modul. LSB",  "BrthCt LSB",  "Contr. 35",
    "FootCt LSB",  "Port.T LSB",   "DataEntLSB",  "MainVolLSB",  "BalanceLSB",  "Contr. 41",
    "Pan LSB",     "Expr. LSB",    "Contr. 44",   "Contr. 45",   "Contr. 46",   "Contr. 47",
    "Gen.P.1LSB",  "Gen.P.2LSB",   "Gen.P.3LSB",  "Gen.P.4LSB",  "Contr. 52",   "Contr. 53",
    "Contr. 54",   "Contr. 55",    "Contr. 56",   "Contr. 57",   "Contr. 58",   "Contr. 59",
    "Contr. 60",   "Contr. 61",    "Contr. 62",   "Contr. 63",   "Damper Ped",  "Porta. Ped",
    "Sostenuto ",  "Soft Pedal",   "Legato Sw",   "Hold 2",      "SoundCont 1", "SoundCont 2",
    "SoundCont 3", "SoundCont 4",  "SoundCont 5", "SoundCont 6", "SoundCont 7", "SoundCont 8",
    "SoundCont 9", "SoundCont 10", "Gen.Purp.5",  "Gen.Purp.6",  "Gen.Purp.7",  "Gen.Purp.8",
    "Portamento",  "Contr. 85",    "Contr. 86",   "Contr. 87",   "Contr. 88",   "Contr. 89",
    "Contr. 90",   "FX 1 Depth",   "FX 2 Depth",  "FX 3 Depth",  "FX 4 Depth",  "FX 5 Depth",
    "Data Incr",   "Data Decr",    "Non-RegLSB",  "Non-RegMSB",  "Reg LSB",     "Reg MSB",
    "Contr. 102",  "Contr. 103",   "Contr. 104",  "Contr. 105",  "Contr. 106",  "Contr. 107",
    "Contr. 108",  "Contr. 109",   "Contr. 110",  "Contr. 111",  "Contr. 112",  "Contr. 113",
    "Contr. 114",  "Contr. 115",   "Contr. 116",  "Contr. 117",  "Contr. 118",  "Contr. 119",
    "Contr. 120",  "Reset Ctrl",   "Local Ctrl",  "AllNoteOff",  "OmniModOff",  "OmniModeOn",
    "MonoModeOn",  "PolyModeOn"};

uint8_t ChannelStatus(int kind, int channel) {
  return uint8_t((kind << 4) | (channel & 0x0F));
}
uint8_t DataByte(int v) {
  return uint8_t(v & 0x7F);
}

} // namespace

void IMidiMsg::MakeNoteOnMsg(int noteNumber, int velocity, int offset_, int channel) {
  Clear();
  status = ChannelStatus(kNoteOn, channel);
  data1 = DataByte(noteNumber);
  data2 = DataByte(velocity);
  offset = offset_;
}

void IMidiMsg::MakeNoteOffMsg(int noteNumber, int offset_, int channel) {
  Clear();
  status = ChannelStatus(kNoteOff, channel);
  data1 = DataByte(noteNumber);
  offset = offset_;
}

void IMidiMsg::MakePolyATMsg(int noteNumber, int pressure, int offset_, int channel) {
  Clear();
  status = ChannelStatus(kPolyAftertouch, channel);
  data1 = DataByte(noteNumber);
  data2 = DataByte(pressure);
  offset = offset_;
}

void IMidiMsg::MakeControlChangeMsg(int controller, double value, int channel, int offset_) {
  Clear();
  status = ChannelStatus(kControlChange, channel);
  data1 = DataByte(controller);
  const double v = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
  data2 = uint8_t(std::round(v * 127.0));
  offset = offset_;
}

void IMidiMsg::MakeChannelATMsg(int pressure, int offset_, int channel) {
  Clear();
  status = ChannelStatus(kChannelAftertouch, channel);
  data1 = DataByte(pressure);
  offset = offset_;
}

void IMidiMsg::MakePitchWheelMsg(double value, int channel, int offset_) {
  Clear();
  status = ChannelStatus(kPitchWheel, channel);
  // Limited before the conversion so that no host value can overflow the int.
  const double v = std::isnan(value) ? 0.0 : std::clamp(value, -2.0, 2.0);
  const int i = std::clamp(int(v * 8192.0) + 8192, 0, 16383);
  data1 = uint8_t(i & 0x7F);
  data2 = uint8_t(i >> 7);
  offset = offset_;
}

int IMidiMsg::StatusMsg() const {
  const int nibble = status >> 4;
  return (status & 0x80) && nibble < 15 ? nibble : kNone;
}

int IMidiMsg::NoteNumber() const {
  const int s = StatusMsg();
  return s == kNoteOn || s == kNoteOff || s == kPolyAftertouch ? data1 : -1;
}

int IMidiMsg::Velocity() const {
  const int s = StatusMsg();
  return s == kNoteOn || s == kNoteOff ? data2 : -1;
}

int IMidiMsg::PolyAfterTouch() const {
  return StatusMsg() == kPolyAftertouch ? data2 : -1;
}
int IMidiMsg::ChannelAfterTouch() const {
  return StatusMsg() == kChannelAftertouch ? data1 : -1;
}
int IMidiMsg::Program() const {
  return StatusMsg() == kProgramChange ? data1 : -1;
}

double IMidiMsg::PitchWheel() const {
  if (StatusMsg() != kPitchWheel)
    return 0.0;
  return (data1 + data2 * 128 - 8192) * 0.0001220703125;
}

double IMidiMsg::ControlChange(int controller) const {
  if (StatusMsg() == kControlChange && data1 == controller)
    return data2 / 127.0;
  return -1.0;
}

const char* IMidiMsg::StatusMsgStr(int statusNibble) {
  return statusNibble >= 0 && statusNibble <= 14 ? kStatusNames[statusNibble] : "unknown";
}

const char* IMidiMsg::CCNameStr(int controller) {
  return controller >= 0 && controller < 128 ? kControllerNames[controller] : "unknown";
}
