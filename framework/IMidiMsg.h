#pragma once

#include <cstdint>

// A three-byte MIDI channel message with its sample offset in the block. Its 8-byte image
// (offset little-endian, status, data1, data2, one zero byte) is exactly the "data" of a
// "MidiMsg" message between the plug-in halves.
struct IMidiMsg {
  int32_t offset = 0;
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
  uint8_t reserved = 0;

  enum EStatusMsg {
    kNone = 0,
    kNoteOff = 8,
    kNoteOn = 9,
    kPolyAftertouch = 10,
    kControlChange = 11,
    kProgramChange = 12,
    kChannelAftertouch = 13,
    kPitchWheel = 14
  };

  // Builders clear every field first. Channels are 0-15 and data bytes 0-127: other
  // arguments are cut to those bits so they never corrupt the status byte.
  void MakeNoteOnMsg(int noteNumber, int velocity, int offset, int channel = 0);
  void MakeNoteOffMsg(int noteNumber, int offset, int channel = 0);
  void MakePolyATMsg(int noteNumber, int pressure, int offset, int channel = 0);
  // value 0..1 (cut to that range), sent as round(value x 127).
  void MakeControlChangeMsg(int controller, double value, int channel = 0, int offset = 0);
  void MakeChannelATMsg(int pressure, int offset, int channel = 0);
  // value -1..1; 0 is the centre 8192.
  void MakePitchWheelMsg(double value, int channel = 0, int offset = 0);

  int Channel() const { return status & 0x0F; }
  int StatusMsg() const;
  int NoteNumber() const;
  int Velocity() const;
  int PolyAfterTouch() const;
  int ChannelAfterTouch() const;
  int Program() const;
  double PitchWheel() const;
  int ControlChangeIdx() const { return data1; }
  double ControlChange(int controller) const;
  void Clear() { *this = IMidiMsg(); }

  static const char* StatusMsgStr(int statusNibble);
  static const char* CCNameStr(int controller);
};

static_assert(sizeof(IMidiMsg) == 8, "IMidiMsg is exchanged as its 8-byte image");
