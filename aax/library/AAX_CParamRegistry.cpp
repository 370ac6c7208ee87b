#include "aax/library/AAX_CParamRegistry.h"

#include <cstring>

AAX_CParamRegistry::~AAX_CParamRegistry() {
  RemoveAllParameters();
}

bool AAX_CParamRegistry::AddParameter(AAX_IParameter* parameter) {
  std::unique_ptr<AAX_IParameter> owned(parameter);
  if (!owned || !owned->Identifier())
    return false;
  const std::string id = owned->Identifier();
  if (mParametersByID.count(id))
    return false;
  owned->SetAutomationDelegate(mAutomationDelegate);
  mParametersByID.emplace(id, owned.get());
  mParameters.push_back(std::move(owned));
  return true;
}

AAX_IParameter* AAX_CParamRegistry::GetParameterByID(AAX_CParamID id) const {
  if (!id)
    return nullptr;
  const auto found = mParametersByID.find(id);
  return found == mParametersByID.end() ? nullptr : found->second;
}

int32_t AAX_CParamRegistry::GetParameterIndex(AAX_CParamID id) const {
  if (!id)
    return -1;
  for (size_t i = 0; i < mParameters.size(); ++i) {
    if (std::strcmp(mParameters[i]->Identifier(), id) == 0)
      return int32_t(i);
  }
  return -1;
}

AAX_IParameter* AAX_CParamRegistry::GetParameterByIndex(int32_t index) const {
  if (index < 0 || index >= NumParameters())
    return nullptr;
  return mParameters[size_t(index)].get();
}

void AAX_CParamRegistry::RemoveAllParameters() {
  mParametersByID.clear();
  // Each parameter unregisters from the automation delegate as it goes, in index order.
  for (auto& parameter : mParameters)
    parameter.reset();
  mParameters.clear();
}
