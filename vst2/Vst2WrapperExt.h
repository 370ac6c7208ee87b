#pragma once

#include "framework/KIT_HeapBuf.h"

#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"

class IFxBase;
class IFxController;

// The framework's VST 2.4 face: the SDK wrapper with the framework's own creation road,
// program changes that also reach the controller, program and bank chunks in the
// framework's formats, and the framework's version number.
//
// Program chunk: framework header (8 bytes), processor chunk (int32 effect version, one
// float64 per stored parameter), controller chunk (int32 effect version, plus what a plug-in
// controller appends). Bank chunk: framework header, then the controller's preset bank.
// A chunk from the host is checked whole before anything is applied: one that does not have
// this plug-in's layout is refused and changes nothing.
class Vst2WrapperExt : public Steinberg::Vst::Vst2Wrapper {
public:
  // The effect for a factory's processor class, or null. Takes over the caller's factory
  // reference (released on every road). The host is not called before it holds the effect.
  static Vst2WrapperExt* create(Steinberg::IPluginFactory* factory,
                                const Steinberg::TUID processorClass, VstInt32 uniqueID,
                                audioMasterCallback audioMaster);

  Vst2WrapperExt(Steinberg::Vst::IComponent* processor, Steinberg::Vst::IEditController* controller,
                 audioMasterCallback audioMaster, const Steinberg::TUID processorClass,
                 VstInt32 uniqueID, Steinberg::IPluginFactory* factory);
  ~Vst2WrapperExt() override;

  void setProgram(VstInt32 program) override;
  // The returned bytes stay valid until the next getChunk or setChunk of the same kind.
  VstInt32 getChunk(void** data, bool isPreset = false) override;
  VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false) override;
  VstInt32 getVendorVersion() override;

private:
  // Chunk layouts (Vst2WrapperExtChunks.cpp).
  VstInt32 buildProgramChunk();
  VstInt32 buildBankChunk();
  bool isProgramChunk(const uint8_t* data, VstInt32 byteSize);
  bool isBankChunk(const uint8_t* data, VstInt32 byteSize);
  int32_t controllerChunkSize();
  bool loadProgramChunk(int pos);
  bool copyProgramChunk(const uint8_t* data, VstInt32 byteSize);
  bool loadBankChunk(int pos);
  void loadProcessorFromController();

  KIT_HeapBuf mProgramChunk{4096};
  KIT_HeapBuf mBankChunk{4096};

  IFxController* mFxController = nullptr; // the controller when it is the framework's
  IFxBase* mFxProcessor = nullptr;        // the processor when it is the framework's
};
