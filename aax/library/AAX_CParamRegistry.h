// The parameters of an effect, owned, in the index order the host sees, and by identifier.
#pragma once

#include "aax/library/AAX_IParameter.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class AAX_IAutomationDelegate;

class AAX_CParamRegistry {
public:
  AAX_CParamRegistry() = default;
  ~AAX_CParamRegistry();
  AAX_CParamRegistry(const AAX_CParamRegistry&) = delete;
  AAX_CParamRegistry& operator=(const AAX_CParamRegistry&) = delete;

  // Parameters added from now on are attached to this delegate.
  void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) { mAutomationDelegate = delegate; }
  // Takes ownership. A null parameter, or one whose identifier is present, is deleted and not
  // added; the answer tells whether it was added.
  bool AddParameter(AAX_IParameter* parameter);
  AAX_IParameter* GetParameterByID(AAX_CParamID id) const;
  int32_t GetParameterIndex(AAX_CParamID id) const;
  AAX_IParameter* GetParameterByIndex(int32_t index) const;
  int32_t NumParameters() const { return int32_t(mParameters.size()); }
  void RemoveAllParameters();

private:
  AAX_IAutomationDelegate* mAutomationDelegate = nullptr;
  std::vector<std::unique_ptr<AAX_IParameter>> mParameters;
  std::map<std::string, AAX_IParameter*> mParametersByID;
};
