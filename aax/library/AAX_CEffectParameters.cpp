#include "aax/library/AAX_CEffectParameters.h"

#include "aax/library/AAX_CatchAll.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {
const char* const kMasterBypassID = "MasterBypassID";
const char* const kPreviewParameterID = "PreviewID";
const char* const kDefaultChunkName = "Complete Controls State";
constexpr size_t kShortenedNameCapacity = 255;

// The pieces of a text between newline characters, in order.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('\n', start);
    pieces.push_back(
        text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos)
      return pieces;
    start = end + 1;
  }
}

// The getters that look a parameter up and read one value of it into out: an unknown
// identifier is reported before a missing out.
template <typename T, typename Read>
AAX_Result ReadParameter(const AAX_CParamRegistry& registry, AAX_CParamID id, T* out, Read read) {
  const AAX_IParameter* parameter = registry.GetParameterByID(id);
  if (!parameter)
    return AAX_ERROR_UNKNOWN_PARAMETER;
  if (!out)
    return AAX_ERROR_NULL_OBJECT;
  *out = read(*parameter);
  return AAX_SUCCESS;
}

// The calls that look a parameter up and act on it, with what it throws caught.
template <typename Act>
AAX_Result ActOnParameter(AAX_CParamRegistry& registry, AAX_CParamID id, Act act) {
  return AAX_CatchAll([&]() -> AAX_Result {
    AAX_IParameter* parameter = registry.GetParameterByID(id);
    if (!parameter)
      return AAX_ERROR_UNKNOWN_PARAMETER;
    act(*parameter);
    return AAX_SUCCESS;
  });
}
} // namespace

AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters() {
  // The parameters unregister from the automation delegate as they go, so they must go while
  // it still exists.
  mParameterManager.RemoveAllParameters();
  mPacketDispatcher.Initialize(nullptr, nullptr);
}

ACFRESULT AAX_CEffectParameters::InterfaceQuery(const acfIID& iid, void** out) {
  if (!out)
    return ACF_E_POINTER;
  if (iid == IID_EffectParameters || iid == IID_EffectParameters_V2) {
    *out = static_cast<AAX_IACFEffectParameters_V2*>(this);
    AddRef();
    return ACF_OK;
  }
  return CACFUnknown::InternalQueryInterface(iid, out);
}

void AAX_CEffectParameters::ReleaseHostObjects() {
  mParameterManager.RemoveAllParameters();
  mParameterManager.SetAutomationDelegate(nullptr);
  mPacketDispatcher.Initialize(nullptr, this);
  mController.reset();
  mAutomationDelegate.reset();
  mTransport.reset();
}

AAX_Result AAX_CEffectParameters::Initialize(IACFUnknown* host) {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (mController || mAutomationDelegate || mTransport)
      ReleaseHostObjects(); // initialised before: start from scratch
    mController = std::make_unique<AAX_VController>(host);
    mAutomationDelegate = std::make_unique<AAX_VAutomationDelegate>(host);
    mTransport = std::make_unique<AAX_VTransport>(host);
    // Without the host's automation the parameters apply their values at once; attached to
    // a proxy that reaches nothing they would never change.
    mParameterManager.SetAutomationDelegate(
        mAutomationDelegate->HasHostInterface() ? mAutomationDelegate.get() : nullptr);
    mPacketDispatcher.Initialize(mController.get(), this);

    const AAX_Result result = EffectInit();
    if (result != AAX_SUCCESS)
      return result;
    AAX_CString masterBypass;
    GetMasterBypassParameter(&masterBypass);
    mFilteredParameters.insert(masterBypass.StdString());
    int32_t count = 0;
    GetNumberOfParameters(&count);
    if (count > 0)
      mNumChunkedParameters = count - int32_t(mFilteredParameters.size());
    return result;
  });
}

AAX_Result AAX_CEffectParameters::Uninitialize() {
  return AAX_CatchAll([&] {
    ReleaseHostObjects();
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::NotificationReceived(AAX_CTypeID type, const void* data,
                                                       uint32_t size) {
  return AAX_CatchAll([&] {
    AAX_IParameter* preview = mParameterManager.GetParameterByID(kPreviewParameterID);
    // The switch is the first 32-bit word of the data; shorter data switches nothing.
    if (type == kPreviewNotification && preview && data && size >= sizeof(int32_t)) {
      int32_t word = 0;
      std::memcpy(&word, data, sizeof word);
      preview->SetValueWithBool(word != 0);
    }
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::GetNumberOfParameters(int32_t* count) const {
  if (!count)
    return AAX_ERROR_NULL_OBJECT;
  *count = mParameterManager.NumParameters();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter(AAX_IString* id) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (!id)
      return AAX_ERROR_NULL_OBJECT;
    id->Set(mParameterManager.GetParameterByID(kMasterBypassID) ? kMasterBypassID : "");
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::GetParameterIsAutomatable(AAX_CParamID id,
                                                            AAX_CBoolean* automatable) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (!automatable)
      return AAX_ERROR_NULL_OBJECT;
    *automatable = false;
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(id);
    if (!parameter)
      return AAX_ERROR_UNKNOWN_PARAMETER;
    *automatable = parameter->Automatable();
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::GetParameterNumberOfSteps(AAX_CParamID id, int32_t* steps) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(id);
    if (!parameter)
      return AAX_ERROR_UNKNOWN_PARAMETER;
    const int32_t count = parameter->GetNumberOfSteps();
    if (count < 0)
      return AAX_ERROR_NEGATIVE_STEP_COUNT;
    if (!steps)
      return AAX_ERROR_NULL_OBJECT;
    *steps = count;
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::GetParameterName(AAX_CParamID id, AAX_IString* name) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (!name)
      return AAX_ERROR_NULL_OBJECT;
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(id);
    name->Set(parameter ? parameter->Name().Get() : "");
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name,
                                                           int32_t length) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (!name)
      return AAX_ERROR_STRING_CONVERSION;
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(id);
    if (!parameter) {
      name->Set("");
      return AAX_SUCCESS;
    }
    const std::string& shortened = parameter->ShortenedName(length).StdString();
    const std::string kept = shortened.substr(0, kShortenedNameCapacity);
    if (kept.empty())
      return AAX_SUCCESS;
    // The longest newline-separated piece that fits; the first of each length wins.
    size_t best = 0;
    for (const std::string& piece : SplitLines(kept)) {
      if (piece.size() > best && int64_t(piece.size()) <= int64_t(length)) {
        name->Set(piece.c_str());
        best = piece.size();
      }
    }
    if (best > 0)
      return AAX_SUCCESS;
    name->Set(length < 1 ? "" : shortened.substr(0, size_t(length)).c_str());
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue(AAX_CParamID id,
                                                                     double* value) const {
  return AAX_CatchAll([&] {
    return ReadParameter(mParameterManager, id, value,
                         [](const AAX_IParameter& p) { return p.GetNormalizedDefaultValue(); });
  });
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue(AAX_CParamID id,
                                                                     double value) {
  return ActOnParameter(mParameterManager, id,
                        [&](AAX_IParameter& p) { p.SetNormalizedDefaultValue(value); });
}

AAX_Result AAX_CEffectParameters::GetParameterType(AAX_CParamID id, int32_t* type) const {
  return ReadParameter(mParameterManager, id, type,
                       [](const AAX_IParameter& p) { return p.GetType(); });
}

AAX_Result AAX_CEffectParameters::GetParameterHostAttribute(AAX_CParamID id,
                                                            int32_t* attribute) const {
  return ReadParameter(mParameterManager, id, attribute,
                       [](const AAX_IParameter& p) { return p.GetHostAttribute(); });
}

AAX_Result AAX_CEffectParameters::GetParameter(AAX_CParamID id, AAX_IParameter** parameter) {
  if (!parameter)
    return AAX_ERROR_NULL_OBJECT;
  *parameter = mParameterManager.GetParameterByID(id);
  return *parameter ? AAX_SUCCESS : AAX_ERROR_UNKNOWN_PARAMETER;
}

AAX_Result AAX_CEffectParameters::GetParameterIndex(AAX_CParamID id, int32_t* index) const {
  if (!index)
    return AAX_ERROR_NULL_OBJECT;
  *index = mParameterManager.GetParameterIndex(id);
  return *index >= 0 ? AAX_SUCCESS : AAX_ERROR_UNKNOWN_PARAMETER;
}

AAX_Result AAX_CEffectParameters::GetParameterIDFromIndex(int32_t index, AAX_IString* id) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (!id)
      return AAX_ERROR_NULL_OBJECT;
    const AAX_IParameter* parameter = mParameterManager.GetParameterByIndex(index);
    id->Set(parameter ? parameter->Identifier() : "");
    return parameter ? AAX_SUCCESS : AAX_ERROR_UNKNOWN_PARAMETER;
  });
}

AAX_Result AAX_CEffectParameters::QueryParameterInfo(AAX_CParamID, int32_t, int32_t* value) const {
  if (value)
    *value = 0;
  return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetParameterValueFromString(AAX_CParamID id, double* value,
                                                              const AAX_IString& text) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(id);
    if (!parameter)
      return AAX_ERROR_UNKNOWN_PARAMETER;
    double normalized = 0.0;
    if (!parameter->GetNormalizedValueFromString(AAX_CString(text), &normalized))
      return AAX_ERROR_STRING_CONVERSION;
    if (!value)
      return AAX_ERROR_NULL_OBJECT;
    *value = normalized;
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::GetParameterStringFromValue(AAX_CParamID id, double value,
                                                              AAX_IString* text,
                                                              int32_t maxLength) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(id);
    if (!parameter)
      return AAX_ERROR_UNKNOWN_PARAMETER;
    AAX_CString converted;
    if (!parameter->GetStringFromNormalizedValueOfLength(value, maxLength, converted))
      return AAX_ERROR_STRING_CONVERSION;
    if (!text)
      return AAX_ERROR_NULL_OBJECT;
    text->Set(converted.Get());
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::GetParameterValueString(AAX_CParamID id, AAX_IString* text,
                                                          int32_t maxLength) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    const AAX_IParameter* parameter = mParameterManager.GetParameterByID(id);
    if (!parameter)
      return AAX_ERROR_UNKNOWN_PARAMETER;
    if (!text)
      return AAX_ERROR_NULL_OBJECT;
    AAX_CString converted;
    parameter->GetValueStringOfLength(maxLength, &converted);
    text->Set(converted.Get());
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue(AAX_CParamID id,
                                                              double* value) const {
  return AAX_CatchAll([&] {
    return ReadParameter(mParameterManager, id, value,
                         [](const AAX_IParameter& p) { return p.GetNormalizedValue(); });
  });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue(AAX_CParamID id, double value) {
  return ActOnParameter(mParameterManager, id,
                        [&](AAX_IParameter& p) { p.SetNormalizedValue(value); });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedRelative(AAX_CParamID id, double delta) {
  return AAX_CatchAll([&]() -> AAX_Result {
    double current = 0.0;
    const AAX_Result result = GetParameterNormalizedValue(id, &current);
    if (result != AAX_SUCCESS)
      return result;
    return SetParameterNormalizedValue(id, std::clamp(current + delta, 0.0, 1.0));
  });
}

AAX_Result AAX_CEffectParameters::TouchParameter(AAX_CParamID id) {
  return ActOnParameter(mParameterManager, id, [&](AAX_IParameter& p) { p.Touch(); });
}

AAX_Result AAX_CEffectParameters::ReleaseParameter(AAX_CParamID id) {
  return ActOnParameter(mParameterManager, id, [&](AAX_IParameter& p) { p.Release(); });
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue(AAX_CParamID id, double value,
                                                                 int32_t) {
  return AAX_CatchAll([&]() -> AAX_Result {
    AAX_IParameter* parameter = mParameterManager.GetParameterByID(id);
    if (!parameter)
      return AAX_ERROR_UNKNOWN_PARAMETER;
    parameter->UpdateNormalizedValue(value);
    const AAX_Result result = mPacketDispatcher.SetDirty(id, true);
    IncrementUpdateCounter();
    return result;
  });
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedRelative(AAX_CParamID id, double delta) {
  return AAX_CatchAll([&]() -> AAX_Result {
    double current = 0.0;
    const AAX_Result result = GetParameterNormalizedValue(id, &current);
    if (result != AAX_SUCCESS)
      return result;
    return UpdateParameterNormalizedValue(id, std::clamp(current + delta, 0.0, 1.0), 0);
  });
}

AAX_Result AAX_CEffectParameters::DispatchParameterPackets() {
  return AAX_CatchAll([&] { return mPacketDispatcher.Dispatch(); });
}

AAX_Result AAX_CEffectParameters::ResetFieldData(AAX_CFieldIndex, void* data, uint32_t size) const {
  if (data)
    std::memset(data, 0, size);
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChunks(int32_t* count) const {
  if (!count)
    return AAX_ERROR_NULL_OBJECT;
  *count = 1;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const {
  if (!chunkID)
    return AAX_ERROR_NULL_OBJECT;
  if (index != 0) {
    *chunkID = 0;
    return AAX_ERROR_CHUNK_INDEX;
  }
  *chunkID = kDefaultChunkID;
  return AAX_SUCCESS;
}

void AAX_CEffectParameters::AddChunkExcludedParameter(AAX_CParamID id) {
  if (id)
    mFilteredParameters.insert(id);
}

bool AAX_CEffectParameters::IsChunkExcluded(AAX_CParamID id) const {
  return mFilteredParameters.count(id) != 0;
}

// Every parameter not excluded, by the first typed getter that answers.
void AAX_CEffectParameters::BuildChunkData() const {
  mChunkParser.Clear();
  for (int32_t i = 0; i < mParameterManager.NumParameters(); ++i) {
    const AAX_IParameter* parameter = mParameterManager.GetParameterByIndex(i);
    const char* id = parameter->Identifier();
    if (IsChunkExcluded(id))
      continue;
    float floatValue = 0;
    int32_t intValue = 0;
    bool boolValue = false;
    double doubleValue = 0;
    AAX_CString stringValue;
    if (parameter->GetValueAsFloat(&floatValue))
      mChunkParser.AddDouble(id, floatValue);
    else if (parameter->GetValueAsInt32(&intValue))
      mChunkParser.AddInt32(id, intValue);
    else if (parameter->GetValueAsBool(&boolValue))
      mChunkParser.AddInt32(id, boolValue ? 1 : 0);
    else if (parameter->GetValueAsDouble(&doubleValue))
      mChunkParser.AddDouble(id, doubleValue);
    else if (parameter->GetValueAsString(&stringValue))
      mChunkParser.AddString(id, stringValue);
  }
}

AAX_Result AAX_CEffectParameters::GetChunkSize(AAX_CTypeID chunkID, int32_t* size) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (!size)
      return AAX_ERROR_NULL_OBJECT;
    if (chunkID != kDefaultChunkID) {
      *size = 0;
      return AAX_ERROR_CHUNK_ID;
    }
    BuildChunkData();
    mChunkSize = mChunkParser.GetChunkDataSize();
    if (mChunkSize < 0)
      return AAX_ERROR_CHUNK_SIZE;
    *size = mChunkSize;
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (chunkID != kDefaultChunkID)
      return AAX_ERROR_CHUNK_ID;
    if (!chunk)
      return AAX_ERROR_NULL_OBJECT;
    BuildChunkData();
    // The host sized the record by GetChunkSize: a state that changed since does not fit.
    const int32_t size = mChunkParser.GetChunkDataSize();
    if (size != mChunkSize || size == 0)
      return AAX_ERROR_CHUNK_SIZE;
    chunk->fVersion = mChunkParser.ChunkVersion();
    std::memset(chunk->fName, 0, sizeof chunk->fName);
    std::strncpy(chunk->fName, kDefaultChunkName, sizeof chunk->fName - 1);
    return mChunkParser.GetChunkData(chunk);
  });
}

AAX_Result AAX_CEffectParameters::SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (chunkID != kDefaultChunkID)
      return AAX_ERROR_CHUNK_ID;
    if (!chunk)
      return AAX_ERROR_NULL_OBJECT;
    const AAX_Result loaded = mChunkParser.LoadChunk(chunk);
    if (loaded != AAX_SUCCESS)
      return loaded; // a damaged chunk changes nothing
    for (int32_t i = 0; i < mParameterManager.NumParameters(); ++i) {
      AAX_IParameter* parameter = mParameterManager.GetParameterByIndex(i);
      const char* id = parameter->Identifier();
      if (IsChunkExcluded(id))
        continue;
      float floatValue = 0;
      int32_t intValue = 0;
      bool boolValue = false;
      double doubleValue = 0;
      AAX_CString stringValue;
      if (parameter->GetValueAsFloat(&floatValue)) {
        if (mChunkParser.FindDouble(id, &doubleValue))
          parameter->SetValueWithFloat(float(doubleValue));
      } else if (parameter->GetValueAsInt32(&intValue)) {
        if (mChunkParser.FindInt32(id, &intValue))
          parameter->SetValueWithInt32(intValue);
      } else if (parameter->GetValueAsBool(&boolValue)) {
        if (mChunkParser.FindInt32(id, &intValue))
          parameter->SetValueWithBool(intValue != 0);
      } else if (parameter->GetValueAsDouble(&doubleValue)) {
        if (mChunkParser.FindDouble(id, &doubleValue))
          parameter->SetValueWithDouble(doubleValue);
      } else if (parameter->GetValueAsString(&stringValue)) {
        if (mChunkParser.FindString(id, &stringValue))
          parameter->SetValueWithString(stringValue);
      }
    }
    return AAX_SUCCESS;
  });
}

// Values compare exactly: the chunk stores each value in its own type (floats as doubles,
// which hold them exactly), so a chunk made from the current state matches it bit for bit.
// A value stored under another type, or missing, does not match.
bool AAX_CEffectParameters::ParameterMatchesChunk(const AAX_IParameter& parameter) const {
  const char* id = parameter.Identifier();
  float floatValue = 0;
  int32_t intValue = 0;
  bool boolValue = false;
  double doubleValue = 0;
  AAX_CString stringValue;
  double storedDouble = 0;
  int32_t storedInt = 0;
  AAX_CString storedString;
  if (parameter.GetValueAsFloat(&floatValue))
    return mChunkParser.FindDouble(id, &storedDouble) && storedDouble == double(floatValue);
  if (parameter.GetValueAsInt32(&intValue))
    return mChunkParser.FindInt32(id, &storedInt) && storedInt == intValue;
  if (parameter.GetValueAsBool(&boolValue))
    return mChunkParser.FindInt32(id, &storedInt) && (storedInt != 0) == boolValue;
  if (parameter.GetValueAsDouble(&doubleValue))
    return mChunkParser.FindDouble(id, &storedDouble) && storedDouble == doubleValue;
  if (parameter.GetValueAsString(&stringValue))
    return mChunkParser.FindString(id, &storedString) && storedString == stringValue;
  return true; // a parameter of no storable type is not part of the chunk
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk(const AAX_SPlugInChunk* chunk,
                                                     AAX_CBoolean* equal) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (!chunk || !equal)
      return AAX_ERROR_NULL_OBJECT;
    if (chunk->fChunkID != kDefaultChunkID) {
      *equal = true;
      return AAX_SUCCESS;
    }
    if (mChunkParser.LoadChunk(chunk) != AAX_SUCCESS) {
      *equal = false;
      return AAX_SUCCESS;
    }
    bool allMatch = true;
    for (int32_t i = 0; i < mParameterManager.NumParameters() && allMatch; ++i) {
      const AAX_IParameter* parameter = mParameterManager.GetParameterByIndex(i);
      if (!IsChunkExcluded(parameter->Identifier()))
        allMatch = ParameterMatchesChunk(*parameter);
    }
    *equal = allMatch;
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_CEffectParameters::GetUpdateCounter(int32_t* counter) const {
  if (counter && mNumPlugInChanges >= 0)
    *counter = mNumPlugInChanges;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::EffectHook3(uint32_t, void*, uint32_t, uint32_t* written) const {
  if (written)
    *written = 0;
  return AAX_SUCCESS;
}
