#include "aax/adapter/AAXWrapper_Description.h"

#include "aax/adapter/AAXWrapper_Parameters.h"
#include "aax/adapter/AAX_WrapperGUI.h"

#include <cstdio>
#include <sstream>

namespace {

const char* const kEffectNames = "Orvane Compressor\nOrvnComp\nOVCO";
const char* const kManufacturerNames = "Quenmark";
const char* const kEffectID = "com.Quenmark.aax.OrvaneCompressor";
const char* const kChannelIO = "1-1 2-2";
constexpr uint32_t kCategoryDynamics = 2;
constexpr uint32_t kPackageVersion = 0x10100;
constexpr AAX_CTypeID kManufacturerID = AAX_FourCC('Q', 'N', 'M', 'K');
constexpr AAX_CTypeID kProductID = AAX_FourCC('o', 'v', 'C', 'P');
constexpr AAX_CTypeID kFirstTypeIDs[] = {AAX_FourCC('Q', 'N', 'C', '1'),
                                         AAX_FourCC('Q', 'N', 'C', '2')};
constexpr AAX_CTypeID kSecondTypeIDs[] = {AAX_FourCC('Q', 'N', 'C', '3'),
                                          AAX_FourCC('Q', 'N', 'C', '4')};
constexpr AAX_CProcPtrID kEffectParametersProc = 0;
constexpr AAX_CProcPtrID kEffectGUIProc = 1;
constexpr int32_t kPrivateDataSize = 8;
constexpr AAX_CFieldIndex kFieldGlobalMIDI = 4;
constexpr AAX_CFieldIndex kFieldMIDIInput = 5;
constexpr AAX_CFieldIndex kFieldMIDIOutput = 6;
constexpr AAX_CFieldIndex kFirstAuxMIDIField = 8;
constexpr AAX_CFieldIndex kLastAuxMIDIField = 22;

// The lines of a newline-separated list up to the first empty one.
std::vector<std::string> Lines(const char* text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line) && !line.empty())
    lines.push_back(line);
  return lines;
}

// The "in-out" items of a channel-I/O string; items that do not parse are skipped.
std::vector<std::pair<int, int>> ChannelConfigurations(const char* text) {
  std::vector<std::pair<int, int>> configurations;
  std::istringstream in(text);
  std::string item;
  while (in >> item) {
    int inputs = 0;
    int outputs = 0;
    if (std::sscanf(item.c_str(), "%d-%d", &inputs, &outputs) == 2)
      configurations.emplace_back(inputs, outputs);
  }
  return configurations;
}

AAX_Result AddNodeOrPlaceholder(AAX_VComponentDescriptor& component, AAX_CFieldIndex field,
                                bool present, int32_t type, const char* name, uint32_t mask) {
  return present ? component.AddMIDINode(field, type, name, mask)
                 : component.AddReservedField(field, AAX_eFieldType_MIDINode);
}

AAX_Result AddProperties(AAX_VPropertyMap& map, const AAXWrapper_ComponentRecord& r) {
  AAX_Result result = AAX_SUCCESS;
  if (r.property151)
    result |= map.AddProperty(151, 1);
  if (r.sideChainInputStem != AAXWrapper_kStemNone &&
      r.sideChainOutputStem != AAXWrapper_kStemNone) {
    result |= map.AddProperty(91, AAX_CPropertyValue(r.sideChainInputStem));
    result |= map.AddProperty(90, AAX_CPropertyValue(r.sideChainOutputStem));
  }
  result |= map.AddProperty(56, r.property56);
  result |= map.AddProperty(51, AAX_CPropertyValue(r.inputStemFormat));
  result |= map.AddProperty(52, AAX_CPropertyValue(r.outputStemFormat));
  result |= map.AddProperty(60, r.property60);
  result |= map.AddProperty(300, 1);
  result |= map.AddProperty(11, AAX_CPropertyValue(r.manufacturerID));
  result |= map.AddProperty(12, AAX_CPropertyValue(r.productID));
  result |= map.AddProperty(13, AAX_CPropertyValue(r.typeID));
  if (r.secondTypeID != AAXWrapper_kStemNone)
    result |= map.AddProperty(14, AAX_CPropertyValue(r.secondTypeID));
  if (!r.property304)
    result |= map.AddProperty(304, 0);
  return result;
}

} // namespace

uint32_t AAXWrapper_StemFormatForChannels(int32_t channels) {
  static constexpr uint32_t kStems[] = {AAXWrapper_kStemNone, 0x00000001, 0x00010002,
                                        0x00020003,           0x00040004, 0x00050005,
                                        0x00060006,           0x00080007, 0x000C0008};
  return channels >= 0 && channels < 9 ? kStems[channels] : AAXWrapper_kStemNone;
}

AAX_Result AAXWrapper_DescribeComponent(AAX_VEffectDescriptor& effect,
                                        const AAXWrapper_ComponentRecord& r) {
  AAX_VComponentDescriptor* component = effect.NewComponentDescriptor();
  if (!component)
    return AAX_ERROR_NULL_OBJECT;
  AAX_Result result = AAX_SUCCESS;
  result |= AddNodeOrPlaceholder(*component, kFieldGlobalMIDI, r.hasGlobalMIDI,
                                 AAX_eMIDINodeType_Global, r.globalMIDIName, r.globalMIDIMask);
  result |= AddNodeOrPlaceholder(*component, kFieldMIDIInput, r.hasMIDIInput,
                                 AAX_eMIDINodeType_LocalInput, r.midiInputName, r.midiInputMask);
  result |= AddNodeOrPlaceholder(*component, kFieldMIDIOutput, r.hasMIDIOutput,
                                 AAX_eMIDINodeType_LocalOutput, r.midiOutputName, r.midiOutputMask);
  result |= AddNodeOrPlaceholder(*component, AAXWrapper_Parameters::kFieldTransport, r.hasTransport,
                                 AAX_eMIDINodeType_Transport, "Transport", 65535);
  size_t aux = 0;
  for (AAX_CFieldIndex field = kFirstAuxMIDIField; field <= kLastAuxMIDIField; ++field, ++aux) {
    const bool present = aux < r.auxMIDIInputNames.size();
    result |= AddNodeOrPlaceholder(*component, field, present, AAX_eMIDINodeType_LocalInput,
                                   present ? r.auxMIDIInputNames[aux].c_str() : "", 1);
  }
  result |= component->AddAudioIn(AAXWrapper_Parameters::kFieldAudioIn);
  result |= component->AddAudioOut(AAXWrapper_Parameters::kFieldAudioOut);
  result |= component->AddAudioBufferLength(AAXWrapper_Parameters::kFieldBufferLength);
  result |= component->AddSampleRate(AAXWrapper_Parameters::kFieldSampleRate);
  if (r.meterIDs.empty())
    result |=
        component->AddReservedField(AAXWrapper_Parameters::kFieldMeters, AAX_eFieldType_Meters);
  else
    result |= component->AddMeters(AAXWrapper_Parameters::kFieldMeters, r.meterIDs.data(),
                                   uint32_t(r.meterIDs.size()));
  result |= component->AddPrivateData(AAXWrapper_Parameters::kFieldPrivateData, kPrivateDataSize);
  AAX_VPropertyMap* properties = component->NewPropertyMap();
  if (!properties)
    return result | AAX_ERROR_NULL_OBJECT;
  result |= AddProperties(*properties, r);
  result |= component->AddProcessProc(&AAXWrapper_ProcessProc, properties);
  result |= effect.AddComponent(component);
  return result;
}

AAX_Result AAXWrapper_DescribeEffects(AAX_VCollection& collection) {
  AAX_VEffectDescriptor* effect = collection.NewDescriptor();
  if (!effect)
    return AAX_ERROR_NULL_OBJECT;
  AAX_Result result = AAX_SUCCESS;
  for (const std::string& name : Lines(kEffectNames)) {
    result |= effect->AddName(name.c_str());
    result |= collection.AddPackageName(name.c_str());
  }
  result |= effect->AddCategory(kCategoryDynamics);
  int k = 0;
  for (const auto& [inputs, outputs] : ChannelConfigurations(kChannelIO)) {
    AAXWrapper_ComponentRecord record;
    record.inputChannels = inputs;
    record.outputChannels = outputs;
    record.inputStemFormat = AAXWrapper_StemFormatForChannels(inputs);
    record.outputStemFormat = AAXWrapper_StemFormatForChannels(outputs);
    record.manufacturerID = kManufacturerID;
    record.productID = kProductID;
    // Only two pairs of type IDs exist; a further configuration would have none.
    record.typeID = k < 2 ? kFirstTypeIDs[k] : AAXWrapper_kStemNone;
    record.secondTypeID = k < 2 ? kSecondTypeIDs[k] : AAXWrapper_kStemNone;
    result |= AAXWrapper_DescribeComponent(*effect, record);
    ++k;
  }
  result |= effect->AddProcPtr(reinterpret_cast<void*>(&AAXWrapper_Parameters::Create),
                               kEffectParametersProc);
  result |= effect->AddProcPtr(reinterpret_cast<void*>(&AAX_WrapperGUI::Create), kEffectGUIProc);
  if (result == AAX_SUCCESS)
    result |= collection.AddEffect(kEffectID, effect);
  const AAX_Result described = result;
  for (const std::string& name : Lines(kManufacturerNames))
    collection.AddManufacturerName(name.c_str());
  collection.SetPackageVersion(kPackageVersion);
  return described;
}
