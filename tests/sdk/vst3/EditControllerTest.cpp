#include "FakeHost.h"

#include "base/source/fstring.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvane::test {
namespace {

// A parameter whose plain range is 20..20000 (Hz), linear, to see the controller use the
// parameter's own conversions.
class FrequencyParameter : public Parameter {
public:
  FrequencyParameter(ParamID id) : Parameter(u"Freq", id, u"Hz", 0.5) {}
  ParamValue toPlain(ParamValue v) const override { return 20.0 + v * 19980.0; }
  ParamValue toNormalized(ParamValue plain) const override { return (plain - 20.0) / 19980.0; }
  OBJ_METHODS(FrequencyParameter, Parameter)
};

TEST(ParameterContainerLookup, FindsByIndexAndById) {
  ParameterContainer container;
  container.addParameter(u"Gain", u"dB", 0, 0.5, ParameterInfo::kCanAutomate, 7);
  container.addParameter(new FrequencyParameter(0x10000));
  container.addParameter(u"Untagged"); // takes the next index as its ID
  ASSERT_EQ(container.getParameterCount(), 3);
  EXPECT_EQ(container.getParameterByIndex(0)->getInfo().id, 7u);
  EXPECT_EQ(container.getParameter(0x10000), container.getParameterByIndex(1));
  EXPECT_EQ(container.getParameter(2), container.getParameterByIndex(2));
  EXPECT_EQ(container.getParameter(8), nullptr);
  EXPECT_EQ(container.getParameterByIndex(3), nullptr);
  EXPECT_EQ(container.getParameterByIndex(-1), nullptr);
}

TEST(ParameterContainerLookup, DuplicateIdsAreRefused) {
  ParameterContainer container;
  Parameter* first = container.addParameter(u"A", nullptr, 0, 0.0, 0, 3);
  EXPECT_EQ(container.addParameter(u"B", nullptr, 0, 0.0, 0, 3), nullptr);
  EXPECT_EQ(container.addParameter(static_cast<Parameter*>(nullptr)), nullptr);
  EXPECT_EQ(container.getParameterCount(), 1);
  EXPECT_EQ(container.getParameter(3), first);
}

TEST(ParameterContainerLookup, RemovingMovesLaterIndicesDown) {
  ParameterContainer container;
  for (int32 id = 10; id < 14; ++id)
    container.addParameter(u"P", nullptr, 0, 0.0, 0, id);
  EXPECT_TRUE(container.removeParameter(11));
  EXPECT_FALSE(container.removeParameter(11));
  EXPECT_EQ(container.getParameterCount(), 3);
  EXPECT_EQ(container.getParameterByIndex(1)->getInfo().id, 12u);
  EXPECT_EQ(container.getParameter(13), container.getParameterByIndex(2));
}

TEST(ParameterValues, SetNormalizedClampsAndRefusesNaN) {
  Parameter p(u"Gain", 1, nullptr, 0.25);
  EXPECT_DOUBLE_EQ(p.getNormalized(), 0.25);
  EXPECT_TRUE(p.setNormalized(1.7));
  EXPECT_DOUBLE_EQ(p.getNormalized(), 1.0);
  EXPECT_TRUE(p.setNormalized(-3.0));
  EXPECT_DOUBLE_EQ(p.getNormalized(), 0.0);
  EXPECT_FALSE(p.setNormalized(std::nan("")));
  EXPECT_DOUBLE_EQ(p.getNormalized(), 0.0);
}

TEST(ParameterValues, TitlesAreCutToFitTheirFields) {
  const std::u16string longTitle(200, u't');
  Parameter p(longTitle.c_str(), 1);
  EXPECT_EQ(utf16Length(p.getInfo().title, 128), 127);
  EXPECT_EQ(p.getInfo().units[0], 0);
}

TEST(ParameterValues, DefaultTextsAndParsing) {
  Parameter toggle(u"Bypass", 1, nullptr, 0.0, 1);
  String128 text;
  toggle.toString(1.0, text);
  EXPECT_EQ(std::u16string(text), u"On");
  toggle.toString(0.2, text);
  EXPECT_EQ(std::u16string(text), u"Off");
  Parameter plain(u"Mix", 2);
  plain.toString(0.5, text);
  EXPECT_EQ(std::u16string(text), u"0.5000");
  ParamValue value = -1.0;
  EXPECT_TRUE(plain.fromString(u"0.75", value));
  EXPECT_DOUBLE_EQ(value, 0.75);
  value = -1.0;
  EXPECT_FALSE(plain.fromString(u"loud", value));
  EXPECT_FALSE(plain.fromString(nullptr, value));
  EXPECT_DOUBLE_EQ(value, -1.0);
}

class Controller : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(controller->initialize(host.unknownCast()), kResultOk);
    controller->parametersForTest().addParameter(u"Gain", u"dB", 0, 0.5,
                                                 ParameterInfo::kCanAutomate, 0);
    controller->parametersForTest().addParameter(new FrequencyParameter(1));
  }
  void TearDown() override {
    controller->terminate();
    controller->release();
    handler->release();
    fullHandler->release();
  }

  class TestController : public EditControllerEx1 {
  public:
    ParameterContainer& parametersForTest() { return parameters; }
  };

  FakeHostApplication host;
  TestController* controller = new TestController();
  RecordingHandler* handler = new RecordingHandler();
  FullRecordingHandler* fullHandler = new FullRecordingHandler();
};

TEST_F(Controller, ParameterQueriesGoThroughTheParameters) {
  EXPECT_EQ(controller->getParameterCount(), 2);
  ParameterInfo info{};
  ASSERT_EQ(controller->getParameterInfo(1, info), kResultTrue);
  EXPECT_EQ(info.id, 1u);
  EXPECT_EQ(std::u16string(info.units), u"Hz");
  EXPECT_EQ(controller->getParameterInfo(2, info), kResultFalse);

  EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(1, 1.0), 20000.0);
  EXPECT_DOUBLE_EQ(controller->plainParamToNormalized(1, 20.0), 0.0);
  EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(99, 0.3), 0.3);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(99), 0.0);

  EXPECT_EQ(controller->setParamNormalized(0, 0.75), kResultTrue);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(0), 0.75);
  EXPECT_EQ(controller->setParamNormalized(99, 0.75), kResultFalse);

  String128 text;
  EXPECT_EQ(controller->getParamStringByValue(0, 0.25, text), kResultTrue);
  EXPECT_EQ(std::u16string(text), u"0.2500");
  EXPECT_EQ(controller->getParamStringByValue(99, 0.25, text), kResultFalse);
  EXPECT_EQ(controller->getParamStringByValue(0, 0.25, nullptr), kInvalidArgument);
  ParamValue value = 0.0;
  char16 typed[] = u"0.125";
  EXPECT_EQ(controller->getParamValueByString(0, typed, value), kResultTrue);
  EXPECT_DOUBLE_EQ(value, 0.125);
  EXPECT_EQ(controller->getParamValueByString(99, typed, value), kResultFalse);
}

TEST_F(Controller, EditGesturesReachTheHandler) {
  EXPECT_EQ(controller->beginEdit(0), kResultFalse); // no handler yet
  ASSERT_EQ(controller->setComponentHandler(handler), kResultTrue);
  EXPECT_EQ(handler->getRefCount(), 2);
  controller->beginEdit(0);
  controller->performEdit(0, 0.5);
  controller->endEdit(0);
  controller->restartComponent(kLatencyChanged);
  EXPECT_EQ(handler->calls,
            (std::vector<std::string>{"begin 0", "perform 0 0.5", "end 0", "restart 8"}));
  // Group edits need IComponentHandler2, which this handler lacks.
  EXPECT_EQ(controller->startGroupEdit(), kNotImplemented);
  EXPECT_EQ(controller->finishGroupEdit(), kNotImplemented);
  EXPECT_EQ(handler->calls.size(), 4u);
}

TEST_F(Controller, GroupEditsWithASecondHandlerInterface) {
  controller->setComponentHandler(handler);
  ASSERT_EQ(controller->setComponentHandler(fullHandler), kResultTrue);
  EXPECT_EQ(handler->getRefCount(), 1); // the old handler was let go
  controller->startGroupEdit();
  controller->performEdit(1, 0.25);
  controller->finishGroupEdit();
  controller->setDirty(true);
  EXPECT_EQ(fullHandler->calls,
            (std::vector<std::string>{"startGroup", "perform 1 0.25", "finishGroup", "dirty 1"}));
  EXPECT_TRUE(handler->calls.empty());
  controller->setComponentHandler(nullptr);
  EXPECT_EQ(fullHandler->getRefCount(), 1);
  EXPECT_EQ(controller->startGroupEdit(), kResultFalse);
}

TEST_F(Controller, TerminateLetsGoOfHandlerAndParameters) {
  controller->setComponentHandler(fullHandler);
  controller->terminate();
  EXPECT_EQ(fullHandler->getRefCount(), 1);
  EXPECT_EQ(controller->getParameterCount(), 0);
  EXPECT_EQ(controller->initialize(host.unknownCast()), kResultOk); // may start again
}

TEST_F(Controller, KnobModeIsCheckedAndKept) {
  EXPECT_EQ(controller->setKnobMode(kLinearMode), kResultTrue);
  EXPECT_EQ(EditController::getHostKnobMode(), kLinearMode);
  EXPECT_EQ(controller->setKnobMode(7), kInvalidArgument);
  EXPECT_EQ(EditController::getHostKnobMode(), kLinearMode);
  controller->setKnobMode(kCircularMode);
}

// Units and program lists as a host reads them: through the IUnitInfo it asks for.
class Units : public Controller {
protected:
  void SetUp() override {
    Controller::SetUp();
    ASSERT_TRUE(controller->addUnit(new Unit(u"Root", kRootUnitId, kNoParentUnitId, 0x10001)));
    ASSERT_TRUE(controller->addUnit(new Unit(u"Filters", 1)));
    auto* list = new ProgramListWithPitchNames(u"Factory Presets", 0x10001, kRootUnitId);
    list->addProgram(u"Default");
    list->addProgram(u"Bright");
    ASSERT_TRUE(controller->addProgramList(list));
    void* obj = nullptr;
    ASSERT_EQ(static_cast<IEditController*>(controller)->queryInterface(IUnitInfo::iid, &obj),
              kResultOk);
    unitInfo = owned(static_cast<IUnitInfo*>(obj));
  }
  void TearDown() override {
    unitInfo = nullptr;
    Controller::TearDown();
  }
  IPtr<IUnitInfo> unitInfo;
};

TEST_F(Units, HostReadsUnitsAndLists) {
  ASSERT_EQ(unitInfo->getUnitCount(), 2);
  UnitInfo unit{};
  ASSERT_EQ(unitInfo->getUnitInfo(1, unit), kResultTrue);
  EXPECT_EQ(unit.id, 1);
  EXPECT_EQ(unit.parentUnitId, kRootUnitId);
  EXPECT_EQ(unit.programListId, kNoProgramListId);
  EXPECT_EQ(std::u16string(unit.name), u"Filters");
  EXPECT_EQ(unitInfo->getUnitInfo(2, unit), kResultFalse);
  EXPECT_EQ(unitInfo->getUnitInfo(-1, unit), kResultFalse);

  ASSERT_EQ(unitInfo->getProgramListCount(), 1);
  ProgramListInfo list{};
  ASSERT_EQ(unitInfo->getProgramListInfo(0, list), kResultTrue);
  EXPECT_EQ(list.id, 0x10001);
  EXPECT_EQ(list.programCount, 2);
  EXPECT_EQ(std::u16string(list.name), u"Factory Presets");
  EXPECT_EQ(unitInfo->getProgramListInfo(1, list), kResultFalse);

  String128 name;
  ASSERT_EQ(unitInfo->getProgramName(0x10001, 1, name), kResultTrue);
  EXPECT_EQ(std::u16string(name), u"Bright");
  EXPECT_EQ(unitInfo->getProgramName(0x10001, 2, name), kResultFalse);
  EXPECT_EQ(unitInfo->getProgramName(0x10002, 0, name), kResultFalse);
  EXPECT_EQ(unitInfo->getProgramName(0x10001, 0, nullptr), kInvalidArgument);
}

TEST_F(Units, DuplicateUnitAndListIdsAreRefused) {
  EXPECT_FALSE(controller->addUnit(new Unit(u"Again", 1)));
  EXPECT_FALSE(controller->addProgramList(new ProgramList(u"Again", 0x10001, kRootUnitId)));
  EXPECT_FALSE(controller->addUnit(nullptr));
  EXPECT_EQ(unitInfo->getUnitCount(), 2);
  EXPECT_EQ(unitInfo->getProgramListCount(), 1);
}

TEST_F(Units, RenamingAProgramTellsTheHostsUnitHandler) {
  controller->setComponentHandler(fullHandler);
  EXPECT_EQ(controller->setProgramName(0x10001, 0, u"Warm"), kResultTrue);
  String128 name;
  unitInfo->getProgramName(0x10001, 0, name);
  EXPECT_EQ(std::u16string(name), u"Warm");
  EXPECT_EQ(fullHandler->calls, std::vector<std::string>{"programList 65537 -1"});
  EXPECT_EQ(controller->setProgramName(0x10001, 5, u"Nope"), kResultFalse);
  EXPECT_EQ(controller->notifyProgramListChange(0x10001, 1), kResultOk);
  EXPECT_EQ(fullHandler->calls.back(), "programList 65537 1");
}

TEST_F(Units, NotifyWithoutUnitHandlerFails) {
  controller->setComponentHandler(handler);
  EXPECT_EQ(controller->notifyProgramListChange(0x10001), kResultFalse);
  EXPECT_EQ(controller->setProgramName(0x10001, 0, u"Still renamed"), kResultTrue);
}

TEST_F(Units, PitchNamesOfAProgram) {
  EXPECT_EQ(unitInfo->hasProgramPitchNames(0x10001, 0), kResultFalse);
  EXPECT_EQ(controller->setProgramPitchName(0x10001, 0, 60, u"Middle C"), kResultTrue);
  EXPECT_EQ(controller->setProgramPitchName(0x10001, 0, 128, u"Too high"), kResultFalse);
  EXPECT_EQ(controller->setProgramPitchName(0x10001, 9, 60, u"No program"), kResultFalse);
  EXPECT_EQ(unitInfo->hasProgramPitchNames(0x10001, 0), kResultTrue);
  EXPECT_EQ(unitInfo->hasProgramPitchNames(0x10001, 1), kResultFalse);
  String128 name;
  ASSERT_EQ(unitInfo->getProgramPitchName(0x10001, 0, 60, name), kResultTrue);
  EXPECT_EQ(std::u16string(name), u"Middle C");
  EXPECT_EQ(unitInfo->getProgramPitchName(0x10001, 0, 61, name), kResultFalse);
}

TEST_F(Units, SelectingOnlyExistingUnits) {
  EXPECT_EQ(unitInfo->selectUnit(1), kResultTrue);
  EXPECT_EQ(unitInfo->getSelectedUnit(), 1);
  EXPECT_EQ(unitInfo->selectUnit(5), kResultFalse);
  EXPECT_EQ(unitInfo->getSelectedUnit(), 1);
}

TEST(ProgramListAttributes, PerProgramTexts) {
  ProgramList list(u"List", 1, kRootUnitId);
  list.addProgram(u"One");
  EXPECT_TRUE(list.setProgramInfo(0, "MediaType", u"VstPreset"));
  EXPECT_FALSE(list.setProgramInfo(1, "MediaType", u"VstPreset"));
  String128 value;
  EXPECT_EQ(list.getProgramInfo(0, "MediaType", value), kResultTrue);
  EXPECT_EQ(std::u16string(value), u"VstPreset");
  EXPECT_EQ(list.getProgramInfo(0, "Other", value), kResultFalse);
}

} // namespace
} // namespace orvane::test
