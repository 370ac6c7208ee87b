// The wrapper object with a plug-in's classes, factory and module hooks linked into the test:
// registered in the recording AAX host, one instance made on stems of the host's choice.
// Tests play the plug-in's part and read what its halves received, which no host can see.
#pragma once

#include "FakeEffectInstance.h"
#include "FakeInstanceBlock.h"
#include "aax/adapter/AAXWrapper_Description.h"
#include "aax/adapter/AAXWrapper_Parameters.h"
#include "aax/library/AAX_ACFEntries.h"

#include <gtest/gtest.h>

#include <memory>

class WrapperSession : public ::testing::Test {
protected:
  void SetUp() override {
    IACFUnknown* registered = nullptr;
    ASSERT_EQ(AAX_ACFRegisterPlugin(&host, &registered, &AAXWrapper_DescribeEffects), AAX_SUCCESS);
    registered->Release();
    effect = host.factory.Collections()[0]->effects[0].second;
  }

  void TearDown() override {
    instance.reset();
    EXPECT_EQ(host.OutstandingReferences(), 0);
  }

  // An initialised instance on input and output stems of this format (stereo by default).
  void Make(uint32_t stem = 0x00010002) {
    host.controller.inputStemFormat = stem;
    host.controller.outputStemFormat = stem;
    instance = std::make_unique<aaxhost::FakeEffectInstance>(host, *effect);
    ASSERT_EQ(instance->InitializeResult(), AAX_SUCCESS);
    wrapper = dynamic_cast<AAXWrapper_Parameters*>(instance->Parameters());
    ASSERT_NE(wrapper, nullptr);
  }

  aaxhost::FakeAAXHost host;
  aaxhost::FakeEffectDescriptor* effect = nullptr;
  std::unique_ptr<aaxhost::FakeEffectInstance> instance;
  AAXWrapper_Parameters* wrapper = nullptr;
};
