// AEffEditor: the editor of a VST 2.4 effect, answering the dispatcher's editor opcodes.
// The base has no window: it reports no size and refuses to open, which hosts handle.
#pragma once

#include "pluginterfaces/vst2.x/aeffectx.h"

class AudioEffect;

class AEffEditor {
public:
  explicit AEffEditor(AudioEffect* effect = nullptr) : effect(effect) {}
  virtual ~AEffEditor() = default;

  AEffEditor(const AEffEditor&) = delete;
  AEffEditor& operator=(const AEffEditor&) = delete;

  // effEditGetRect: the editor's size in *rect (owned by the editor), or false with null.
  virtual bool getRect(ERect** rect) {
    if (rect)
      *rect = nullptr;
    return false;
  }
  // effEditOpen: build the editor inside the host's parent window.
  virtual bool open(void* parentWindow) {
    systemWindow = parentWindow;
    return false;
  }
  // effEditClose.
  virtual void close() { systemWindow = nullptr; }
  virtual bool isOpen() const { return systemWindow != nullptr; }
  // effEditIdle.
  virtual void idle() {}
  virtual bool onKeyDown(VstKeyCode& /*key*/) { return false; }
  virtual bool onKeyUp(VstKeyCode& /*key*/) { return false; }
  virtual bool setKnobMode(VstInt32 /*mode*/) { return false; }

  AudioEffect* getEffect() const { return effect; }

protected:
  AudioEffect* effect;
  void* systemWindow = nullptr;
};
